#!/usr/bin/env bash
# The activation-context functions: the x64 DLLs import them, the x86 DLLs
# must not (they look them up by name at first use, so they still load on a
# system without them) and carry their names for the lookup.
set -u
build=$1; failed=0
functions="QueryActCtxW GetModuleHandleExW CreateActCtxW ActivateActCtx DeactivateActCtx FindActCtxSectionStringW ReleaseActCtx"
for preset in x64-nt60 x64-nt52 x86-nt60 x86-nt52; do
  dll="$build/$preset/quillex.dll"
  [ -f "$dll" ] || { echo "FAIL $preset: missing $dll"; failed=1; continue; }
  case $preset in x64*) tool=x86_64-w64-mingw32 ;; *) tool=i686-w64-mingw32 ;; esac
  imports=$("$tool-objdump" -p "$dll" | awk '/The Import Tables/{f=1} /The Export Tables/{f=0} f')
  for fn in $functions; do
    imported=no; grep -q -w "$fn" <<<"$imports" && imported=yes
    case $preset in
      x64*) [ $imported = yes ] || { echo "FAIL $preset: $fn not imported"; failed=1; } ;;
      *) [ $imported = no ] || { echo "FAIL $preset: $fn imported"; failed=1; }
         grep -q -a "$fn" "$dll" || { echo "FAIL $preset: no name $fn to look up"; failed=1; } ;;
    esac
  done
done
echo "checked activation-context binding"
exit $failed
