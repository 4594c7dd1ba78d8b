# Shared by the run and test commands: packages, build, private Wine prefix,
# display and the persistent wineserver. Source it; do not run it.
TV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TV_BUILD=${TV_BUILD:-$TV_ROOT/build}
export WINEPREFIX=${WINEPREFIX:-$TV_BUILD/wineprefix}
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono/Gecko prompts; a crashing program exits instead of waiting in the debugger.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINELOADER=$WINE64
export WINESERVER

tv_log() { printf '[tv] %s\n' "$*" >&2; }

tv_sudo() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

# The ImageMagick converter. Some machines have another "convert" first on
# the PATH, so a candidate counts only when its version line names ImageMagick.
tv_imagemagick() {
  local c
  for c in magick convert-im6.q16 convert-im7.q16 /usr/bin/convert convert; do
    command -v "$c" >/dev/null || continue
    if "$c" -version 2>/dev/null | grep -q '^Version: ImageMagick'; then
      command -v "$c"
      return 0
    fi
  done
  return 1
}

# Installs the Debian packages the build and the tests need, once.
tv_install_deps() {
  local need=()
  command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64-posix)
  command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686-posix)
  command -v x86_64-w64-mingw32-windres >/dev/null || need+=(binutils-mingw-w64-x86-64)
  command -v i686-w64-mingw32-windres >/dev/null || need+=(binutils-mingw-w64-i686)
  command -v cmake >/dev/null || need+=(cmake)
  command -v make >/dev/null || need+=(make)
  command -v gcc >/dev/null || need+=(gcc libc6-dev)
  [ -x "$WINE64" ] || need+=(wine wine64)
  command -v Xvfb >/dev/null || need+=(xvfb)
  command -v xwd >/dev/null || need+=(x11-apps)
  tv_imagemagick >/dev/null || need+=(imagemagick)
  command -v socat >/dev/null || need+=(socat)
  command -v xdotool >/dev/null || need+=(xdotool)
  command -v python3 >/dev/null || need+=(python3)
  [ -d /usr/src/googletest ] || need+=(googletest)
  if [ ${#need[@]} -gt 0 ]; then
    tv_log "installing: ${need[*]}"
    tv_sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive tv_sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
  fi
}

# tv_build <x64|x86> [tests ON|OFF] [target...]: all targets unless named.
tv_build() {
  local arch=$1 tests=${2:-ON} toolchain
  shift; [ $# -gt 0 ] && shift
  case $arch in
    x64) toolchain=$TV_ROOT/cmake/toolchain-x86_64.cmake ;;
    x86) toolchain=$TV_ROOT/cmake/toolchain-i686.cmake ;;
  esac
  cmake -S "$TV_ROOT" -B "$TV_BUILD/$arch" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DTV_BUILD_TESTS="$tests" -DCMAKE_CROSSCOMPILING_EMULATOR="$TV_ROOT/scripts/wine-test.sh" >/dev/null &&
    cmake --build "$TV_BUILD/$arch" ${1:+--target "$@"} -j"$(nproc)" -- --no-print-directory
}

# Whether the build folder of <x64|x86> makes the tests: ON, OFF, or empty
# for a folder not configured yet.
tv_builds_tests() { sed -n 's/^TV_BUILD_TESTS:BOOL=//p' "$TV_BUILD/$1/CMakeCache.txt" 2>/dev/null; }

# A display: the user's, or a private Xvfb when there is none.
tv_display() {
  if [ -n "${DISPLAY:-}" ] && [ -z "${TV_FORCE_XVFB:-}" ]; then return 0; fi
  local n
  for n in $(seq 91 120); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    TV_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && return 0; sleep 0.1; done
  done
  tv_log "no display could be started"
  return 1
}

tv_reg() { "$WINE64" reg add "$@" /f >/dev/null 2>&1; }

# The private prefix with the settings the tests rely on.
tv_prefix() {
  if [ ! -f "$WINEPREFIX/.tv-ready" ]; then
    tv_log "creating Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$WINE64" wineboot -i >/dev/null 2>&1
    "$WINESERVER" -w
    # Without a window manager every hide of a managed window stalls.
    tv_reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
    # Drive n: reports itself as a network drive (read at wineserver start).
    tv_reg 'HKLM\Software\Wine\Drives' /v 'n:' /t REG_SZ /d network
    "$WINESERVER" -k 2>/dev/null; "$WINESERVER" -w
    touch "$WINEPREFIX/.tv-ready"
  fi
  # The network drive holds a copy of the program, so the real program can be
  # started from it. A folder of its own: were it the build folder, Wine would
  # name every program in there by n:, and they would all count as remote.
  local share=$TV_BUILD/network-share
  mkdir -p "$share"
  [ -f "$TV_BUILD/x64/bin/TV-SERKEY.exe" ] && cp -f "$TV_BUILD/x64/bin/TV-SERKEY.exe" "$share/"
  ln -sfn "$share" "$WINEPREFIX/dosdevices/n:"
}

# One wineserver for the whole run.
tv_wineserver() {
  "$WINESERVER" -p >/dev/null 2>&1
  "$WINE64" cmd /c exit >/dev/null 2>&1
}

tv_shutdown() {
  "$WINESERVER" -k 2>/dev/null
  [ -n "${TV_XVFB_PID:-}" ] && kill "$TV_XVFB_PID" 2>/dev/null
  return 0
}

# Windows path of a Linux path, through drive Z:.
tv_winpath() { printf 'Z:%s' "$(printf '%s' "$1" | sed 's#/#\\#g')"; }
