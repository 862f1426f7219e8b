#!/usr/bin/env bash
# ./qx bench ppd [DIR]: the PPD reader against libcups and the byte-loop floor
# over every PPD under DIR (default: build/ppd-corpus, about 6,500 real files,
# built on first use and kept out of git), then the Windows build of the same
# reader (qx-ppd.exe, as the plug-in opens and reads files) under Wine over
# the same files, timed inside the process; then the floor each side's file
# system sets (opening, reading and closing the files, and opening and
# closing them alone) and the reading alone, that floor taken off.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$ROOT/tools/qx-lib.sh"
dir=${1:-$ROOT/build/ppd-corpus}
if [ $# -eq 0 ] && [ ! -d "$dir" ]; then
  echo "bench ppd: building the corpus in $dir"
  bash "$ROOT/../shared/ppd/build-corpus.sh" "$dir"
fi
dir=$(cd "$dir" && pwd)
cmake --build "$ROOT/build/native" --target qx-ppd-bench qx-ppd -- -j2 >/dev/null
native=$("$ROOT/build/native/qx-ppd-bench" "$dir")
printf '%s\n' "$native"

qx_build_preset x64-nt60 >/dev/null
trap qx_wine_stop EXIT
qx_wine_start
# The program and this prefix's Wine server on one processor: each file's
# open, read and close are requests to the server, and a wake-up across
# processors costs more than the request in a virtual machine (unpinned, the
# figures swing by almost 2x between runs). Windows does that work in the
# calling thread.
for pid in $(pgrep -x wineserver64; pgrep -x wineserver); do
  if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
    taskset -a -p -c 0 "$pid" >/dev/null
  fi
done
windows=$(taskset -c 0 "$ROOT/tools/wine-run" "$ROOT/build/x64-nt60/qx-ppd.exe" time "Z:$dir" 3 | tr -d '\r')
# The native build of the same command: the same files opened, read and
# closed the same way, so that each side's floor can be taken off its total.
native_time=$("$ROOT/build/native/qx-ppd" time "$dir" 3)
field() { sed -n "s/^$1: //p" <<<"$2"; }
dll_ms=$(field ms_total "$windows")
ours_s=$(field ours_s "$native")
files=$(field files "$windows")
echo "dll_ms_largest: $(field ms_largest "$windows")"
echo "dll_ms_total: $dll_ms"
echo "dll_ms_open_read_close: $(field ms_open_read_close "$windows")"
echo "dll_ms_open_close: $(field ms_open_close "$windows")"
echo "native_ms_total: $(field ms_total "$native_time")"
echo "native_ms_open_read_close: $(field ms_open_read_close "$native_time")"
echo "native_ms_open_close: $(field ms_open_close "$native_time")"
awk -v w="$(field ms_open_close "$windows")" -v n="$(field ms_open_close "$native_time")" -v f="$files" \
  'BEGIN { printf "us_open_close_per_file: dll %.1f native %.1f\n", w * 1000 / f, n * 1000 / f }'
awk -v d="$dll_ms" -v n="$ours_s" 'BEGIN { printf "dll_vs_native: %.2f\n", d / (n * 1000) }'
# Reading alone: each side's total less its own open, read and close floor.
awk -v dt="$dll_ms" -v df="$(field ms_open_read_close "$windows")" \
  -v nt="$(field ms_total "$native_time")" -v nf="$(field ms_open_read_close "$native_time")" \
  'BEGIN { printf "dll_vs_native_reading: %.2f\n", (dt - df) / (nt - nf) }'
