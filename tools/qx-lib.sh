# Functions behind ./qx. Sourced, never run on its own.

QX_PACKAGES=(mingw-w64 g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64
  cmake ninja-build googletest libgtest-dev g++ clang libclang-rt-14-dev libcups2-dev libcairo2-dev
  imagemagick binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 python3 ccache
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 osslsigncode openssl
  fonts-wine fonts-ipafont-gothic)
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
  echo "== install ${missing[*]}"
  local sudo=; [ "$(id -u)" -ne 0 ] && sudo=sudo
  # apt's own lines (fetching, unpacking, setting up each package) show the
  # progress of what takes minutes on a fresh machine.
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Builds one preset; a failed configure or build is reported with the preset's
# name and fails the command. CMake's configure lines and ninja's own [n/m]
# lines show the progress.
qx_build_preset() {
  local preset=$1
  echo "== build $preset"
  if [ ! -f "build/$preset/build.ninja" ]; then
    cmake --preset "$preset" || { echo "qx: configure of $preset failed" >&2; return 1; }
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
  [ -f "$WINEPREFIX/.qx-ready" ] && { qx_wine_fonts; return 0; }
  echo "qx: preparing Wine prefix in $WINEPREFIX"
  rm -rf "$WINEPREFIX"; mkdir -p "$WINEPREFIX"
  "$QX_WINE64" wineboot -i >/dev/null 2>&1 </dev/null
  "$QX_WINE64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1 </dev/null
  "$QX_WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  qx_wine_fonts
  wineserver -w
  touch "$WINEPREFIX/.qx-ready"
}

# Fonts with real metrics for the dialogs' fonts: Wine's own Tahoma (package
# fonts-wine; Wine maps "MS Shell Dlg" to Tahoma but does not look in that
# package's folder, so the prefix lists the files) and IPA P Gothic
# (fonts-ipafont-gothic), proportional like the original, for "MS UI Gothic".
# Done once per prefix.
qx_wine_fonts() {
  [ -f "$WINEPREFIX/.qx-fonts" ] && return 0
  local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
  "$QX_WINE64" reg add "$key\Fonts" /v "Tahoma (TrueType)" /d 'Z:\usr\share\wine\fonts\tahoma.ttf' /f \
    >/dev/null 2>&1 </dev/null
  "$QX_WINE64" reg add "$key\Fonts" /v "Tahoma Bold (TrueType)" /d 'Z:\usr\share\wine\fonts\tahomabd.ttf' /f \
    >/dev/null 2>&1 </dev/null
  "$QX_WINE64" reg add "$key\FontSubstitutes" /v "MS UI Gothic" /d "IPAPGothic" /f >/dev/null 2>&1 </dev/null
  touch "$WINEPREFIX/.qx-fonts"
}

# A warm Wine session: a wineserver and one idle process keep every test's
# start cheap and keep ctest from waiting on the server's inherited pipes.
# A session already running in the prefix is used as it is; one started here
# is recorded (QX_WINE_PIDS) so that qx_wine_stop ends exactly that.
QX_WINE_PIDS=()
qx_wine_start() { qx_wine_prefix; qx_wine_session; }

# The session itself, in the prefix WINEPREFIX names (the demo has its own).
qx_wine_session() {
  local idle="$ROOT/build/x64-nt60/qx-idle.exe"
  local pidfile="$WINEPREFIX/.qx-idle.pid" pid
  pid=$(cat "$pidfile" 2>/dev/null) && [ "$({ tr -d '\0' <"/proc/$pid/cmdline"; } 2>/dev/null)" = "$idle" ] && return 0
  # -f keeps the server in the foreground, so its process id is its own; it
  # ends at once when a server already runs in the prefix. The idle program
  # keeps it running; once that ends, the server closes Wine's services and
  # ends a second later.
  setsid wineserver -f -p1 >/dev/null 2>&1 </dev/null &
  local server=$! i
  # Ready once its socket exists in its own folder (its working directory);
  # a program started before that would start a server of its own.
  for i in $(seq 50); do
    [ -S "/proc/$server/cwd/socket" ] || ! kill -0 "$server" 2>/dev/null && break
    sleep 0.1
  done
  "$QX_WINE64" cmd /c exit >/dev/null 2>&1 </dev/null || true
  # The idle program brings up the session's desktop before any test starts
  # (two tests racing to start it lose a window or die at start-up); it says
  # so by creating the ready file.
  local ready="$WINEPREFIX/.qx-idle.ready"; rm -f "$ready"
  QX_IDLE_READY="Z:${ready//\//\\}" setsid "$QX_WINE64" "$idle" >/dev/null 2>&1 </dev/null &
  QX_WINE_PIDS=($!)
  echo $! >"$pidfile"
  kill -0 "$server" 2>/dev/null && QX_WINE_PIDS+=("$server")
  for i in $(seq 300); do [ -e "$ready" ] && return 0; sleep 0.1; done
  echo "qx: the Wine session's desktop did not come up in 30 s" >&2
  return 1
}

# Ends the session qx_wine_start started: the idle program first; the server
# then closes Wine's services and ends by itself (stopped by signal only when
# it does not, which would leave the services behind).
qx_wine_stop() {
  [ ${#QX_WINE_PIDS[@]} -gt 0 ] || return 0
  local idle=${QX_WINE_PIDS[0]} server=${QX_WINE_PIDS[1]:-} i
  kill "$idle" 2>/dev/null || true
  if [ -n "$server" ]; then
    for i in $(seq 100); do kill -0 "$server" 2>/dev/null || break; sleep 0.1; done
    kill "$server" 2>/dev/null || true
  fi
  QX_WINE_PIDS=()
}

qx_wine() { "$QX_WINE64" "$@"; }

# Runs every suite. Each test's line shows as it finishes (failures with
# their output), each suite ends with CTest's own summary, and the last line
# adds them up. Arguments go to every ctest run (-R pattern, -L label).
qx_run_tests() {
  local passed=0 failed=0 rc=0
  local log; log=$(mktemp)
  for p in native native-asan x64-nt60 x64-nt52 fuzz; do
    echo "== test $p"
    # Through a file, not a pipe: a Wine service a test starts may inherit the
    # output and hold a pipe open after ctest ends.
    (cd "build/$p" && exec ctest --output-on-failure --no-tests=ignore -j2 "$@") >"$log" 2>&1 </dev/null &
    local ctest=$!
    tail -n +1 -f --pid="$ctest" "$log" | grep --line-buffered -v -E '^ *Start +[0-9]+: ' || true
    wait "$ctest" || rc=1
    local line; line=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" | tail -1) || true
    if [ -n "$line" ]; then
      local total f
      total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line"); f=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
      passed=$((passed + total - f)); failed=$((failed + f))
    fi
  done
  rm -f "$log"
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
