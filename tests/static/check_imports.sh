#!/usr/bin/env bash
# Every function each quillex.dll build imports is on the reviewed list, and
# exists on the oldest Windows the build is for: XP / Server 2003 for the NT 5.2
# builds, Vista / Server 2008 for the NT 6.0 builds.
set -u
build=$1; here=$(dirname "$0"); failed=0
declare -A oldest
while read -r dll fn since; do oldest["$dll $fn"]=$since
done < <(grep -v '^#' "$here/imports.txt")
rank() { case $1 in 2000) echo 0 ;; xp) echo 1 ;; vista) echo 2 ;; *) echo 9 ;; esac; }
for preset in x64-nt60 x64-nt52 x86-nt60 x86-nt52; do
  dll="$build/$preset/quillex.dll"
  case $preset in x64*) tool=x86_64-w64-mingw32-objdump ;; *) tool=i686-w64-mingw32-objdump ;; esac
  case $preset in *nt52) limit=xp ;; *) limit=vista ;; esac
  [ -f "$dll" ] || { echo "FAIL $preset: missing $dll"; failed=1; continue; }
  count=0
  while read -r imp; do
    count=$((count + 1))
    since=${oldest["$imp"]:-}
    if [ -z "$since" ]; then
      echo "FAIL $preset: imports $imp, which is not on the reviewed list tests/static/imports.txt"; failed=1
    elif [ "$(rank "$since")" -gt "$(rank "$limit")" ]; then
      echo "FAIL $preset: imports $imp, which Windows has only from $since (this build is for $limit)"; failed=1
    fi
  done < <("$here/imports.sh" "$tool" "$dll")
  echo "$preset: $count imports checked against $limit"
done
exit $failed
