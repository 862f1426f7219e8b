# Functions behind ./qx. Sourced, never run on its own.

QX_PACKAGES=(mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64
  cmake ninja-build googletest g++ clang libclang-rt-14-dev libcups2-dev libcairo2-dev
  imagemagick binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 python3 ccache
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 osslsigncode openssl)
QX_PRESETS=(native native-asan x64-nt60 x64-nt52 x86-nt60 x86-nt52 fuzz)
QX_WINE64=/usr/lib/wine/wine64
export WINEPREFIX="$ROOT/build/wine"
export WINEDEBUG=-all
export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=1
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d;winedbg.exe=d"

# QX_NO_APT=1 skips this step (packagers, machines without root).
qx_ensure_packages() {
  [ "${QX_NO_APT:-0}" = 1 ] && return 0
  local missing=()
  for p in "${QX_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "qx: installing ${missing[*]}"
  local sudo=; [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Builds one preset; a failed configure or build is reported with the preset's
# name and fails the command. Ninja's own [n/m] lines show the progress.
qx_build_preset() {
  local preset=$1
  echo "== build $preset"
  if [ ! -f "build/$preset/build.ninja" ]; then
    local out
    out=$(cmake --preset "$preset" 2>&1) \
      || { printf '%s\n' "$out" >&2; echo "qx: configure of $preset failed" >&2; return 1; }
  fi
  cmake --build "build/$preset" -- -j"$(nproc)" || { echo "qx: build of $preset failed" >&2; return 1; }
}

# Builds the presets named, or every preset.
qx_build_all() {
  local presets=("$@"); [ ${#presets[@]} -gt 0 ] || presets=("${QX_PRESETS[@]}")
  for p in "${presets[@]}"; do qx_build_preset "$p" || return 1; done
}

# One Wine prefix for the project, with the null display driver so that
# windows, dialogs and painting work without a display.
qx_wine_prefix() {
  [ -f "$WINEPREFIX/.qx-ready" ] && return 0
  echo "qx: preparing Wine prefix in $WINEPREFIX"
  rm -rf "$WINEPREFIX"; mkdir -p "$WINEPREFIX"
  "$QX_WINE64" wineboot -i >/dev/null 2>&1 </dev/null
  "$QX_WINE64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
  "$QX_WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  wineserver -w
  touch "$WINEPREFIX/.qx-ready"
}

# A persistent wineserver with one idle process keeps every test's start
# cheap and keeps ctest from waiting on the server's inherited pipes.
qx_wine_start() {
  qx_wine_prefix
  local idle="$ROOT/build/x64-nt60/qx-idle.exe"
  if ! pgrep -f -x "$idle" >/dev/null 2>&1; then
    wineserver -p >/dev/null 2>&1 </dev/null || true
    "$QX_WINE64" cmd /c exit >/dev/null 2>&1 </dev/null || true
    (setsid "$QX_WINE64" "$idle" >/dev/null 2>&1 </dev/null &)
    # Let the idle program bring up the session's desktop before any test.
    sleep 2
  fi
}

qx_wine_stop() { wineserver -k >/dev/null 2>&1 || true; }

qx_wine() { "$QX_WINE64" "$@"; }

# Runs every suite; each suite prints CTest's own summary, and the last line
# adds them up.
qx_run_tests() {
  local passed=0 failed=0 rc=0 out
  for p in native native-asan x64-nt60 x64-nt52 fuzz; do
    echo "== $p"
    # A Wine test program occasionally dies at start-up (0.01 s, no output)
    # while another starts beside it; such a test gets one more run.
    local retry=(); case $p in x64-*) retry=(--repeat until-pass:2) ;; esac
    out=$(cd "build/$p" && ctest --output-on-failure -j2 "${retry[@]}" "$@" 2>&1) || rc=1
    printf '%s\n' "$out" | grep -v -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' || true
    local line; line=$(printf '%s\n' "$out" | grep -E 'tests passed, [0-9]+ tests failed out of' | tail -1)
    if [ -n "$line" ]; then
      local total f
      total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line"); f=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
      passed=$((passed + total - f)); failed=$((failed + f))
    fi
  done
  echo "== total"
  echo "qx: $passed passed, $failed failed"
  return $rc
}

# Lays out the driver packages from the four Windows builds in build/package
# (or $QX_PACKAGE_OUT) and archives them with CPack. With --sign CERT KEY (or
# QX_SIGN_CERT and QX_SIGN_KEY; QX_SIGN_PASS holds the key's password) every
# DLL and program is signed before the archive is made.
qx_package() {
  local cert=${QX_SIGN_CERT:-} key=${QX_SIGN_KEY:-}
  while [ $# -gt 0 ]; do
    case $1 in
      --sign) [ $# -ge 3 ] || { echo "qx: --sign needs CERT and KEY" >&2; return 2; }; cert=$2; key=$3; shift 3 ;;
      *) echo "usage: ./qx package [--sign CERT KEY]" >&2; return 2 ;;
    esac
  done
  if [ -n "$cert$key" ]; then
    local f; for f in "$cert" "$key"; do
      [ -n "$f" ] && [ -r "$f" ] || { echo "qx: cannot read the signing certificate or key '$f'" >&2; return 1; }
    done
  fi
  local out=${QX_PACKAGE_OUT:-$ROOT/build/package} log
  log=$(cmake -S "$ROOT" -B "$out-tree" -G Ninja -DQX_PACKAGE=ON -DQX_PACKAGE_DIR="$out" 2>&1) \
    || { printf '%s\n' "$log" | grep -v '^--' >&2; echo "qx: the package could not be laid out" >&2; return 1; }
  printf '%s\n' "$log" | grep 'qx package' || true
  if [ -n "$cert" ]; then
    local file
    while IFS= read -r file; do
      qx_sign_file "$cert" "$key" "$file" || { echo "qx: signing $file failed (wrong password for the key?)" >&2; return 1; }
    done < <(find "$out" -name '*.dll' -o -name '*.exe' | sort)
  fi
  log=$(cd "$out-tree" && cpack 2>&1) || { printf '%s\n' "$log" >&2; echo "qx: the archive could not be made" >&2; return 1; }
  echo "qx: packages in $out, archive $(sed -n -E 's/^CPack: - package: (.*) generated\./\1/p' <<<"$log")"
}

# Authenticode with SHA-256 in place; no time stamp (no server reachable here).
# The key's password goes through a pipe, never the command line.
qx_sign_file() {
  local cert=$1 key=$2 file=$3 pass=()
  [ -n "${QX_SIGN_PASS:-}" ] && pass=(-readpass /dev/stdin)
  printf '%s' "${QX_SIGN_PASS:-}" | osslsigncode sign -certs "$cert" -key "$key" "${pass[@]}" -h sha256 -n quillex \
    -in "$file" -out "$file.signed" >/dev/null 2>&1 || { rm -f "$file.signed"; return 1; }
  mv "$file.signed" "$file"
}

qx_demo() { bash "$ROOT/tools/demo.sh" "$@"; }
qx_bench() { bash "$ROOT/tools/bench.sh" "$@"; }
