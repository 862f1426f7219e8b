#!/usr/bin/env bash
# ./qx bench ppd-worst [DIR]: the PPD reader on generated worst-case files of
# 1, 4 and 16 MB against the real corpus under DIR (default: build/ppd-corpus,
# built on first use as for ./qx bench ppd).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${1:-$ROOT/build/ppd-corpus}
if [ $# -eq 0 ] && [ ! -d "$dir" ]; then
  echo "bench ppd-worst: building the corpus in $dir"
  bash /work/shared/ppd/build-corpus.sh "$dir"
fi
cmake --build "$ROOT/build/native" --target qx-ppd-worst-bench -- -j2 >/dev/null
find "$dir" -iname '*.ppd' -type f | sort | "$ROOT/build/native/qx-ppd-worst-bench"
