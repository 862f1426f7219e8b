#!/usr/bin/env bash
# qx-ppd on the command line: formats, installed options, exit codes.
# Usage: qx_ppd_tool_test.sh QX_PPD SAMPLE_DIR VERSION
set -u
tool=$1; samples=$2
failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"; echo "  expected: $2"; echo "  actual:   $3"; failures=$((failures + 1))
  fi
}
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT

cat > "$tmp/trays.ppd" <<'PPD'
*PPD-Adobe: "4.3"
*ModelName: "Quill 5"
*OpenGroup: InstallableOptions/Installed Options
*OpenUI *QXTrayUnit/Lower Cassette Unit: PickOne
*DefaultQXTrayUnit: None
*QXTrayUnit None/Not Installed: ""
*QXTrayUnit LCU1/Installed: ""
*CloseUI: *QXTrayUnit
*CloseGroup: InstallableOptions
*OpenUI *InputSlot/Input Slot: PickOne
*DefaultInputSlot: LC1
*InputSlot LC1/Cassette 1: "1"
*InputSlot LC2/Cassette 2: "2"
*CloseUI: *InputSlot
*UIConstraints: *QXTrayUnit None *InputSlot LC2
PPD

out=$("$tool" dump "$tmp/trays.ppd"); rc=$?
check "dump exit code" 0 "$rc"
check "dump lines" "$(printf '%s\n' \
  $'header\tModelName\tQuill 5' $'header\tProduct\t' $'header\tManufacturer\t' \
  $'header\tLanguageEncoding\t' $'header\tLanguageVersion\t' \
  $'feature\t*QXTrayUnit\tLower Cassette Unit\tNone\t1\t0\tInstallableOptions\tInstalled Options' \
  $'option\t*QXTrayUnit\tNone\tNot Installed\t0' $'option\t*QXTrayUnit\tLCU1\tInstalled\t0' \
  $'feature\t*InputSlot\tInput Slot\tLC1\t1\t0\t\t' \
  $'option\t*InputSlot\tLC1\tCassette 1\t0' $'option\t*InputSlot\tLC2\tCassette 2\t1' \
  $'constraint\t*QXTrayUnit\tNone\t*InputSlot\tLC2' $'installed\t*QXTrayUnit\tNone')" "$out"

check "excluded" "Input Slot: Cassette 2 — excluded by Lower Cassette Unit = Not Installed" \
  "$("$tool" excluded "$tmp/trays.ppd")"
check "installed without asterisk" "" "$("$tool" excluded "$tmp/trays.ppd" --installed QXTrayUnit=LCU1)"
check "installed with asterisk" $'installed\t*QXTrayUnit\tLCU1' \
  "$("$tool" dump "$tmp/trays.ppd" --installed '*QXTrayUnit=LCU1' | grep ^installed)"
check "marks follow installed" $'option\t*InputSlot\tLC2\tCassette 2\t0' \
  "$("$tool" dump "$tmp/trays.ppd" --installed QXTrayUnit=LCU1 | grep LC2 | grep ^option)"

: > "$tmp/empty.ppd"
check "empty file is an empty model" 5 "$("$tool" dump "$tmp/empty.ppd" | wc -l)"
head -c 3000 /dev/urandom > "$tmp/garbage.ppd"
"$tool" dump "$tmp/garbage.ppd" > /dev/null; check "garbage exit code" 0 $?

"$tool" dump "$tmp/missing.ppd" > "$tmp/out" 2> "$tmp/err"; rc=$?
check "missing file fails" 1 "$rc"
check "missing file says so" 1 "$(grep -c 'cannot open' "$tmp/err")"
check "missing file prints nothing" "" "$(cat "$tmp/out")"
"$tool" dump "$tmp" > /dev/null 2> "$tmp/err"; check "directory fails" 1 $?
# A typo in --installed is refused, naming the keyword and what comes close,
# instead of quietly dropping the exclusions.
"$tool" excluded "$tmp/trays.ppd" --installed QXTrayUnit=lcu1 > "$tmp/out" 2> "$tmp/err"; rc=$?
check "unknown installed option fails" "2 " "$rc $(cat "$tmp/out")"
check "unknown installed option named" 'qx-ppd: installed option *QXTrayUnit has no option "lcu1" (did you mean LCU1?)' "$(cat "$tmp/err")"
"$tool" dump "$tmp/trays.ppd" --installed InputSlot=LC1 2> "$tmp/err"; rc=$?
check "a feature that is not installable is refused" "2 1" "$rc $(grep -c 'no installed option \*InputSlot (did you mean \*QXTrayUnit' "$tmp/err")"

check "why names the installed option and the line" \
  "$(printf '%s\n' 'Input Slot: Cassette 2 (LC2) is excluded by' \
    '  Lower Cassette Unit = Not Installed (None): *UIConstraints: *QXTrayUnit None *InputSlot LC2')" \
  "$("$tool" why "$tmp/trays.ppd" InputSlot LC2)"
check "why after installing" "Input Slot: Cassette 2 (LC2) is not excluded by the installed options" \
  "$("$tool" why "$tmp/trays.ppd" '*InputSlot' LC2 --installed QXTrayUnit=LCU1)"
"$tool" why "$tmp/trays.ppd" InputSlot LC9 2> "$tmp/err"; check "why of an unknown option" "2 1" "$? $(grep -c LC9 "$tmp/err")"

"$tool" --help > "$tmp/out" 2> "$tmp/err"; rc=$?
check "help on standard output" "0 1 0" "$rc $(grep -c '^usage: qx-ppd dump' "$tmp/out") $(wc -c < "$tmp/err")"
"$tool" dump "$tmp/garbage.ppd" > /dev/null 2> "$tmp/err"; rc=$?
check "a file that is no PPD dumps with a warning" "0 1" "$rc $(grep -c 'does not start with \*PPD-Adobe' "$tmp/err")"
check "a PPD gives no warning" "" "$("$tool" dump "$tmp/trays.ppd" 2>&1 >/dev/null)"
check "version" "qx-ppd $3.0" "$("$tool" --version)"

"$tool" frobnicate "$tmp/trays.ppd" 2> /dev/null; check "unknown command" 2 $?
"$tool" dump "$tmp/trays.ppd" --installed NoEquals 2> /dev/null; check "bad --installed" 2 $?

# Every sample dumps, and its features match its *OpenUI lines.
for f in "$samples"/*.ppd; do
  n=$("$tool" dump "$f" | grep -c '^feature'); want=$(grep -c '^\*OpenUI' "$f")
  check "features of $(basename "$f")" "$want" "$n"
done

[ "$failures" -eq 0 ] && echo "all qx-ppd checks passed"
exit $((failures > 0))
