#!/usr/bin/env bash
# ./qx bench ppd [DIR]: the PPD reader against libcups and the byte-loop floor
# over every PPD under DIR (default: build/ppd-corpus, about 6,500 real files,
# built on first use and kept out of git).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dir=${1:-$ROOT/build/ppd-corpus}
if [ $# -eq 0 ] && [ ! -d "$dir" ]; then
  echo "bench ppd: building the corpus in $dir"
  bash "$ROOT/../shared/ppd/build-corpus.sh" "$dir"
fi
cmake --build "$ROOT/build/native" --target qx-ppd-bench -- -j2 >/dev/null
exec "$ROOT/build/native/qx-ppd-bench" "$dir"
