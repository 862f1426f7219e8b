#!/usr/bin/env bash
# ./qx bench ppd [DIR]: the PPD reader against libcups and the byte-loop floor
# over every PPD under DIR (default: build/ppd-corpus, about 6,500 real files,
# built on first use and kept out of git), then the Windows build of the same
# reader (qx-ppd.exe, as the plug-in opens and reads files) under Wine over
# the same files, timed inside the process.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/tools/qx-lib.sh"
dir=${1:-$ROOT/build/ppd-corpus}
if [ $# -eq 0 ] && [ ! -d "$dir" ]; then
  echo "bench ppd: building the corpus in $dir"
  bash "$ROOT/../shared/ppd/build-corpus.sh" "$dir"
fi
dir=$(cd "$dir" && pwd)
cmake --build "$ROOT/build/native" --target qx-ppd-bench -- -j2 >/dev/null
native=$("$ROOT/build/native/qx-ppd-bench" "$dir")
printf '%s\n' "$native"

qx_build_preset x64-nt60 >/dev/null
qx_wine_start
windows=$("$ROOT/tools/wine-run" "$ROOT/build/x64-nt60/qx-ppd.exe" time "Z:$dir" 3 | tr -d '\r')
dll_ms=$(sed -n 's/^ms_total: //p' <<<"$windows")
ours_s=$(sed -n 's/^ours_s: //p' <<<"$native")
echo "dll_ms_largest: $(sed -n 's/^ms_largest: //p' <<<"$windows")"
echo "dll_ms_total: $dll_ms"
echo "dll_ms_open_read_close: $(sed -n 's/^ms_open_read_close: //p' <<<"$windows")"
awk -v d="$dll_ms" -v n="$ours_s" 'BEGIN { printf "dll_vs_native: %.2f\n", d / (n * 1000) }'
