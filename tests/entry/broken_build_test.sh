#!/usr/bin/env bash
# The entry script fails, naming the preset, when a build breaks: on a fresh
# build folder and again on a warm one whose previous binaries still exist.
set -u
root=$1
scratch=$(mktemp -d); trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/tools"
cp "$root/qx" "$scratch/"; cp "$root/tools/qx-lib.sh" "$scratch/tools/"
cat >"$scratch/CMakeLists.txt" <<'CM'
cmake_minimum_required(VERSION 3.20)
project(scratch CXX)
add_executable(scratch main.cpp)
CM
cat >"$scratch/CMakePresets.json" <<'JS'
{ "version": 3, "configurePresets": [
  { "name": "native", "generator": "Ninja", "binaryDir": "${sourceDir}/build/${presetName}" } ] }
JS
failed=0
expect_failure() {
  local what=$1 out rc
  out=$(cd "$scratch" && QX_NO_APT=1 ./qx build native 2>&1); rc=$?
  if [ $rc -eq 0 ] || ! grep -q 'qx: build of native failed' <<<"$out"; then
    echo "FAIL ($what): exit $rc"; printf '%s\n' "$out" | tail -5; failed=1
  else
    echo "ok ($what): exit $rc"
  fi
}
echo 'int main() { return 0; }' >"$scratch/main.cpp"
(cd "$scratch" && QX_NO_APT=1 ./qx build native >/dev/null 2>&1) || { echo "FAIL: the sound scratch project did not build"; exit 1; }
echo 'int main() { return missing; }' >"$scratch/main.cpp"
expect_failure "warm build folder"
rm -rf "$scratch/build"
expect_failure "fresh build folder"
exit $failed
