#!/usr/bin/env bash
# The x86 builds run on processors without SSE2 (NT 5.2 does not require it):
# the PPD reader's x86 objects hold no SSE or MMX instruction.
set -u
build=$1; failed=0
for preset in x86-nt60 x86-nt52; do
  objects=("$build/$preset"/CMakeFiles/qx_core.dir/src/ppd/*.obj)
  [ -f "${objects[0]}" ] || { echo "FAIL $preset: no PPD reader objects"; failed=1; continue; }
  for o in "${objects[@]}"; do
    n=$(i686-w64-mingw32-objdump -d "$o" | grep -cE '%xmm|%mm[0-7]')
    [ "$n" -eq 0 ] || { echo "FAIL $preset: $(basename "$o") has $n SSE/MMX instructions"; failed=1; }
  done
  echo "$preset: ${#objects[@]} objects checked"
done
exit $failed
