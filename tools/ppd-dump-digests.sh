#!/usr/bin/env bash
# tools/ppd-dump-digests.sh [--windows] [DIR]: one line per PPD under DIR
# (default: the benchmark corpus, build/ppd-corpus) with the md5 of `qx-ppd
# dump` and the file's path; --windows runs the x64-nt60 build's qx-ppd.exe
# under Wine instead of the native one. Kept before and after a change to the
# reader, the two lists show every file whose model changed:
#   tools/ppd-dump-digests.sh > before.txt; ...; tools/ppd-dump-digests.sh | diff before.txt -
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
windows=0
if [ "${1:-}" = --windows ]; then windows=1; shift; fi
dir=${1:-$ROOT/build/ppd-corpus}
if [ $windows = 1 ]; then
  cmake --build "$ROOT/build/x64-nt60" --target qx-ppd -- -j2 >/dev/null
  dump() { "$ROOT/tools/wine-run" "$ROOT/build/x64-nt60/qx-ppd.exe" dump "Z:$PWD/$1"; }
else
  cmake --build "$ROOT/build/native" --target qx-ppd -- -j2 >/dev/null
  dump() { "$ROOT/build/native/qx-ppd" dump "$1"; }
fi
cd "$dir"
find . -iname '*.ppd' -print0 | sort -z | while IFS= read -r -d '' f; do
  printf '%s %s\n' "$(dump "$f" 2>&1 | md5sum | cut -c1-32)" "$f"
done
