#!/usr/bin/env bash
# Each built quillex.dll (the x86 ones cannot run here, so all four are read
# as files) carries the 106 preview bitmaps of 102,042 bytes and 17 icon groups.
set -u
build=$1; failed=0; checked=0
lister="$(dirname "$0")/../static/rsrc_list.py"
for preset in x64-nt60 x64-nt52 x86-nt60 x86-nt52; do
  dll="$build/$preset/quillex.dll"
  [ -f "$dll" ] || { echo "FAIL $preset: missing $dll"; failed=1; continue; }
  list=$(python3 "$lister" "$dll") || { echo "FAIL $preset: resource table unreadable"; failed=1; continue; }
  bitmaps=$(awk '$1 == 2' <<<"$list" | wc -l)
  sized=$(awk '$1 == 2 && $4 == 102042' <<<"$list" | wc -l)
  groups=$(awk '$1 == 14' <<<"$list" | wc -l)
  first=$(awk '$1 == 2 {print $2}' <<<"$list" | sort -n | head -1)
  last=$(awk '$1 == 2 {print $2}' <<<"$list" | sort -n | tail -1)
  if [ "$bitmaps" -ne 106 ] || [ "$sized" -ne 106 ] || [ "$groups" -ne 17 ] || [ "$first" != 12101 ] || [ "$last" != 12337 ]; then
    echo "FAIL $preset: $bitmaps bitmaps ($sized of 102042 bytes, ids $first..$last), $groups icon groups"
    failed=1
  fi
  checked=$((checked + 1))
done
echo "checked $checked DLLs"
exit $failed
