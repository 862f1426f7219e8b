#!/usr/bin/env bash
# tools/ppd-dump-digests.sh [DIR]: one line per PPD under DIR (default: the
# benchmark corpus, build/ppd-corpus) with the md5 of `qx-ppd dump` and the
# file's path. Kept before and after a change to the reader, the two lists
# show every file whose model changed:
#   tools/ppd-dump-digests.sh > before.txt; ...; tools/ppd-dump-digests.sh | diff before.txt -
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${1:-$ROOT/build/ppd-corpus}
cmake --build "$ROOT/build/native" --target qx-ppd -- -j2 >/dev/null
tool=$ROOT/build/native/qx-ppd
cd "$dir"
find . -iname '*.ppd' -print0 | sort -z | while IFS= read -r -d '' f; do
  printf '%s %s\n' "$("$tool" dump "$f" 2>&1 | md5sum | cut -c1-32)" "$f"
done
