#!/usr/bin/env bash
# Checks each built quillex.dll: exactly the two named exports, none of the
# libraries that must load at run time among its imports, and the manifest
# and version resources present (manifest 712 or 708 bytes), the version block
# saying the project's version everywhere.
set -u
build=$1; version=$2.0; failed=0; checked=0
fail() { echo "FAIL $1: $2"; failed=1; }
for preset in x64-nt60 x64-nt52 x86-nt60 x86-nt52; do
  dll="$build/$preset/quillex.dll"
  case $preset in x64*) tool=x86_64-w64-mingw32; size=712 ;; *) tool=i686-w64-mingw32; size=708 ;; esac
  [ -f "$dll" ] || { fail "$preset" "missing $dll"; continue; }
  checked=$((checked + 1))
  dump=$("$tool-objdump" -p "$dll")
  exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{f=1;next} f&&/^[ \t]*\[/{print $NF} f&&/^$/{f=0}' <<<"$dump" | sort | tr '\n' ' ')
  [ "$exports" = "DllCanUnloadNow DllGetClassObject " ] || fail "$preset" "exports are '$exports'"
  if grep -i -E 'DLL Name: (comctl32|msimg32|wtsapi32)' <<<"$dump" >/dev/null; then
    fail "$preset" "imports a library that must load at run time"
  fi
  res=$("$tool-objdump" -s -j .rsrc "$dll" 2>/dev/null | wc -l)
  [ "$res" -gt 0 ] || fail "$preset" "no resources"
  python3 "$(dirname "$0")/rsrc_list.py" "$dll" > /tmp/qx-rsrc-$$.txt || fail "$preset" "resource table unreadable"
  grep -q "^24 2 1033 $size$" /tmp/qx-rsrc-$$.txt || fail "$preset" "manifest 2 of $size bytes missing: $(grep '^24 ' /tmp/qx-rsrc-$$.txt)"
  grep -q "^16 1 " /tmp/qx-rsrc-$$.txt || fail "$preset" "version block missing"
  block=$(python3 "$(dirname "$0")/version_block.py" "$dll")
  [ "$block" = "$version $version $version $version" ] || fail "$preset" "version block says '$block', the project is $version"
  rm -f /tmp/qx-rsrc-$$.txt
done
echo "checked $checked DLLs"
exit $failed
