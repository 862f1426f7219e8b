#!/usr/bin/env bash
# The plug-in's main job, run in the driver host under Wine: installs the
# sample printers in a Wine prefix of the demo's own, opens printing
# preferences and printer properties, shows the warning overlays before and
# after the optional hardware is installed and the Layout page for several
# settings, prints an accepted and a refused job, and writes screenshots
# (PNG) and a report to build/demo/.
#   ./qx demo                 headless (Wine's null display driver)
#   ./qx demo --interactive   on the display in $DISPLAY: click through the pages
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
OUT="$ROOT/build/demo"
HOST_EXE="$ROOT/build/x64-nt60/qxhost.exe"
WINE64=/usr/lib/wine/wine64

INTERACTIVE=0
for arg in "$@"; do
  case "$arg" in
    --interactive) INTERACTIVE=1 ;;
    *) echo "usage: ./qx demo [--interactive]" >&2; exit 2 ;;
  esac
done
if [ "$INTERACTIVE" = 1 ] && [ -z "${DISPLAY:-}" ]; then
  echo "qx demo: --interactive needs a display (DISPLAY is not set)" >&2; exit 2
fi
[ -f "$HOST_EXE" ] || { echo "qx demo: $HOST_EXE is missing; run ./qx build" >&2; exit 1; }

# A fresh prefix of the demo's own, so that the tests' prefix stays clean.
source "$ROOT/tools/qx-lib.sh"
export WINEPREFIX="$OUT/wine"
rm -rf "$OUT"
mkdir -p "$OUT/shots"
echo "qx demo: preparing a Wine prefix in $WINEPREFIX"
"$WINE64" wineboot -i >/dev/null 2>&1 </dev/null
if [ "$INTERACTIVE" = 0 ]; then
  "$WINE64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
fi
qx_wine_fonts
wineserver -w  # the next program starts with the display driver chosen above
# A session of the demo's own (Wine's services started here, their output on
# /dev/null, so that capturing a program's output never waits for them),
# ended with the demo.
trap qx_wine_stop EXIT
qx_wine_session

winpath() { printf 'Z:%s' "${1//\//\\}"; }
SHOTS=$(winpath "$OUT/shots")
COLOUR="Orvanta QL-C5200"
MONO="Orvanta QL-M4100"
INTER=(); [ "$INTERACTIVE" = 1 ] && INTER=(--interactive)

REPORT="$OUT/report.md"
LOG="$OUT/log.txt"
: >"$LOG"
{
  echo "# quillex demo"
  echo
  echo "Run on $(date -u '+%Y-%m-%d %H:%M UTC') with \`$(git -C "$ROOT" describe --always --dirty 2>/dev/null || echo unknown)\`."
  echo "The driver host \`qxhost.exe\` plays the PostScript driver around \`quillex.dll\` under Wine;"
  echo "each step shows what the host asked the plug-in and what it answered."
  echo
} >"$REPORT"

FAILED=0
# step TITLE EXPECT -- qxhost arguments...: runs one host command, keeps its
# output for the log and the report, and notes whether it did what was meant.
# EXPECT is an extended regular expression some output line must match, or,
# after a "!", one no line may match; empty: no expectation.
step() {
  local title=$1 expect=$2; shift 3
  echo "== $title"
  local out rc=0
  # Output goes through a file, not a pipe: Wine services that the command
  # starts (rpcss for the console-user lookup) inherit its handles and would
  # keep a pipe open long after the command ended.
  local capture="$OUT/step-output.txt"
  (cd "$ROOT/build/x64-nt60" && "$WINE64" "$HOST_EXE" "$@" >"$capture" 2>&1 </dev/null) || rc=$?
  out=$(tr -d '\r' <"$capture"); rm -f "$capture"
  printf '%s\n' "$out" | sed 's/^/  /'
  { echo "== $title (exit $rc)"; printf '%s\n' "$out"; echo; } >>"$LOG"
  local verdict="done" met=1
  case "$expect" in
    "") ;;
    !*) ! grep -qE -- "${expect#!}" <<<"$out" || met=0 ;;
    *) grep -qE -- "$expect" <<<"$out" || met=0 ;;
  esac
  if [ "$rc" -ne 0 ]; then verdict="failed (exit $rc)"; FAILED=1
  elif [ "$met" = 0 ]; then verdict="answered differently (see below)"; FAILED=1; fi
  {
    echo "## $title"
    echo
    echo "\`qxhost$(for a in "$@"; do case "$a" in *" "*) printf ' "%s"' "$a" ;; *) printf ' %s' "$a" ;; esac; done)\` — $verdict"
    echo
    echo '```'
    printf '%s\n' "$out"
    echo '```'
    echo
    # The step's screenshots, as PNG once converted below.
    sed -n 's/^  screenshot .*\\\(.*\)\.bmp$/\1/p' <<<"$out" | while read -r shot; do
      echo "![$shot](shots/$shot.png)"
      echo
    done
  } >>"$REPORT"
}

# shot_args NAME PAGE...: the host arguments that capture only the named
# pages, as files named after the page and NAME; one argument a line.
shot_args() {
  local name=$1; shift
  printf '%s\n' --shots "$SHOTS" --shot-name "$name"
  for page in "$@"; do printf '%s\n' --shot-page "$page"; done
}

step "Install the colour printer (nation 94: password form selectable)" "^  QXRegion: 3 " -- \
  install --name "$COLOUR" --ppd "$(winpath "$ROOT/examples/orvanta-ql-c5200.ppd")" --nation 94
step "Install the monochrome printer (nation 244: four-digit passwords)" "^  QXRegion: 5 " -- \
  install --name "$MONO" --ppd "$(winpath "$ROOT/examples/orvanta-ql-m4100.ppd")" --nation 244
step "Upgrade the monochrome printer's driver" "" -- upgrade --name "$MONO"
step "Printing preferences: every page" "" -- \
  prefs --printer "$COLOUR" --set InputSlot=LC1 --set QXToner=True --shots "$SHOTS" "${INTER[@]}"
step "Printer properties: numeric passwords" "" -- \
  props --printer "$COLOUR" --select PasswordMode=ON --shots "$SHOTS" "${INTER[@]}"

# Warning overlays that follow the installed hardware: cassettes 2 and 3
# need the lower cassette unit, two-sided printing the duplex unit.
mapfile -t A < <(shot_args units-not-installed advanced layout)
step "Preferences without the lower cassette unit and the duplex unit: warnings" \
  '"Input Slot"/"Cassette 2".*"Two-Sided Printing"/"Flip on Long Edge"|"Two-Sided Printing"/"Flip on Long Edge".*"Input Slot"/"Cassette 2"' -- \
  prefs --printer "$COLOUR" --set InputSlot=LC2 --set Duplex=DuplexNoTumble "${A[@]}" "${INTER[@]}"
mapfile -t A < <(shot_args units-installed device-settings)
step "Printer properties: install the lower cassette unit and the duplex unit" "" -- \
  props --printer "$COLOUR" --select QXTrayUnit=Tray3 --select QXDuplexOption=True "${A[@]}" "${INTER[@]}"
mapfile -t A < <(shot_args units-installed advanced)
step "Preferences with both units installed: the warnings are gone" \
  '!"Input Slot"/"Cassette 2"|"Two-Sided Printing"/"Flip on Long Edge"' -- \
  prefs --printer "$COLOUR" --set InputSlot=LC2 --set Duplex=DuplexNoTumble "${A[@]}" "${INTER[@]}"

# The Layout page and its preview for a few settings.
mapfile -t A < <(shot_args two-sided-long-edge layout)
step "Layout: two-sided, flip on long edge" "" -- \
  prefs --printer "$COLOUR" --set Duplex=DuplexNoTumble --layout orientation=portrait,pages=1 "${A[@]}" "${INTER[@]}"
mapfile -t A < <(shot_args portrait-1up layout)
step "Layout: portrait, 1 page per sheet" "" -- \
  prefs --printer "$COLOUR" --set Duplex=None --layout orientation=portrait,pages=1 "${A[@]}" "${INTER[@]}"
mapfile -t A < <(shot_args landscape-4up-down-then-left layout)
step "Layout: landscape, 4 pages per sheet, down then left" "" -- \
  prefs --printer "$COLOUR" --layout orientation=landscape,pages=4,direction=down-then-left "${A[@]}" "${INTER[@]}"
mapfile -t A < <(shot_args booklet-right-edge layout)
# A booklet is printed on both sides: choosing it on the page turns "None"
# into "Flip on Short Edge", so the scene starts from that state.
step "Layout: booklet bound on the right edge" "" -- \
  prefs --printer "$COLOUR" --set Duplex=DuplexTumble \
  --layout orientation=portrait,pages=booklet,booklet-edge=right "${A[@]}" "${INTER[@]}"
mapfile -t A < <(shot_args monochrome layout advanced)
step "The monochrome printer: Layout and the driver's items" "" -- prefs --printer "$MONO" "${A[@]}" "${INTER[@]}"

step "Print an ordinary job" "^  printed$" -- print --printer "$COLOUR" "${INTER[@]}"
step "Print a confidential job whose password has the wrong form" "^  refused$" -- \
  print --printer "$COLOUR" --confidential 12ab "${INTER[@]}"

# Screenshots: the host writes BMP, ImageMagick turns them into PNG.
shots=()
for bmp in "$OUT"/shots/*.bmp; do
  [ -e "$bmp" ] || continue
  # Without metadata, so that a run whose pixels did not change writes the same file.
  convert "$bmp" -strip -define png:exclude-chunks=date,time "${bmp%.bmp}.png" && rm -f "$bmp"
  shots+=("${bmp%.bmp}.png")
done
{
  echo "## Screenshots"
  echo
  if [ ${#shots[@]} -eq 0 ]; then echo "None were taken."; fi
  for png in "${shots[@]}"; do
    name=$(basename "$png")
    echo "- [$name](shots/$name)"
  done
} >>"$REPORT"

echo "qx demo: report in $REPORT, ${#shots[@]} screenshots in $OUT/shots"
exit $FAILED
