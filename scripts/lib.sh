# Shared by the project's scripts (run, test, release, measure, screenshot,
# check-shipped) and the CLI's end-to-end table: installs what is missing,
# builds, and runs Windows programs under Wine on a private X display.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# Package lists, each installed only by the scripts that use it.
# Building: the native and both mingw-w64 toolchains.
BUILD_PACKAGES=(cmake ninja-build clang g++-mingw-w64-i686 g++-mingw-w64-x86-64)
# Running Windows programs: Wine on a private X display.
WINE_PACKAGES=(wine wine32 wine64 fonts-wine xvfb x11-utils)
# The tests beyond those: sanitizer runtimes, GoogleTest (built for the
# native tests, sources for the Windows ones), lld (the Windows test trees'
# linker), the benchmark library, namespaces for the resolver tests, and
# bash-completion for the packaged completion's test.
TEST_PACKAGES=(libclang-rt-dev googletest libgtest-dev lld libbenchmark-dev iproute2 util-linux bash-completion)
# The downloads and their checks: zips, the package, its man page and lintian.
RELEASE_PACKAGES=(zip help2man dpkg-dev lintian man-db)

# Each line with the seconds since the script started, so slow steps show.
log() { printf '== %s [%ds]\n' "$*" "$SECONDS" >&2; }

# The project version as the version records and file names write it
# ("1.00" for CMake's 1.0), from the one place it is set.
project_version() {
  sed -n 's/^project(Quadsum VERSION \([0-9]*\)\.\([0-9]*\).*/\1 \2/p' "$ROOT/CMakeLists.txt" |
    { read -r major minor && printf '%d.%02d\n' "$major" "$minor"; }
}

# One apt-get run for every list given: never two installs at once.
install_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [[ ${#missing[@]} -eq 0 ]] && return 0
  log "installing: ${missing[*]}"
  # wine32 is an i386 package.
  [[ " ${missing[*]} " != *" wine32 "* ]] || dpkg --print-foreign-architectures | grep -qx i386 ||
    dpkg --add-architecture i386
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Which Windows build runs here. Debian's Wine starts 32-bit programs only
# through its 32-bit loader, which some kernels refuse (no IA-32 emulation):
# there every Windows program runs as the x86-64 build of the same sources.
# Sets WINDOWS_ARCHES, the architectures whose Windows tests run here, the
# first of them the one scripts/run starts. QUADSUM_WINDOWS_ARCH=x86_64 (or
# i686) forces one.
choose_windows_arch() {
  local why
  case "${QUADSUM_WINDOWS_ARCH:-}" in
    i686 | x86_64) WINDOWS_ARCHES=("$QUADSUM_WINDOWS_ARCH"); why="QUADSUM_WINDOWS_ARCH=$QUADSUM_WINDOWS_ARCH" ;;
    "")
      if /usr/lib/wine/wine --version >/dev/null 2>&1; then
        WINDOWS_ARCHES=(i686 x86_64); why="this host runs 32-bit programs; i686 is what ships"
      else
        WINDOWS_ARCHES=(x86_64); why="this host refuses 32-bit programs: the 32-bit Wine loader does not start"
      fi ;;
    *) log "QUADSUM_WINDOWS_ARCH must be i686 or x86_64, not $QUADSUM_WINDOWS_ARCH"; return 1 ;;
  esac
  log "Windows programs run as ${WINDOWS_ARCHES[*]} ($why)"
}

# The preset names of an architecture: ship and windows for i686,
# ship-x64 and windows-x64 for x86_64.
arch_suffix() { [[ "$1" == x86_64 ]] && echo -x64 || true; }

# Every wine command of this shell and its children runs programs of the
# given architecture. For x86_64 that is the 64-bit loader: Debian's wine
# wrapper prefers the 32-bit one whenever it is installed, even where it
# cannot start, so shims named like the wrapper go first on PATH. They are
# scripts, not links: the loader finds its preloader by its own name.
use_wine_arch() {
  [[ "$1" == x86_64 ]] || return 0
  local shims="$ROOT/build/wine64-bin" name
  mkdir -p "$shims"
  for name in wine wine64 wine-stable; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$shims/$name"
    chmod +x "$shims/$name"
  done
  export PATH="$shims:$PATH" WINELOADER=/usr/lib/wine/wine64
}

build_preset() {  # <preset> [build arguments...], e.g. build_preset ship --target Quadsum
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$@"
}

# The shipped programs (and the start-up benchmark) of an architecture:
# build/ship for i686, build/ship-x64 for x86_64.
build_ship() {  # <arch> [build arguments...]
  build_preset "ship$(arch_suffix "$1")" "${@:2}"
}

build_windows() {  # <arch> [build arguments...]
  build_preset "windows$(arch_suffix "$1")" "${@:2}"
}

build_native() { build_preset native; }

# A private X display, on the first number free: Xvfb picks it itself, so
# two started at once never share one.
STARTED_XVFB=""
start_display() {
  local number i
  number="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
  STARTED_XVFB=$!
  for i in $(seq 100); do
    if [[ -s "$number" ]]; then
      export DISPLAY=":$(<"$number")"
      xdpyinfo >/dev/null 2>&1 && { rm -f "$number"; return 0; }
    fi
    kill -0 "$STARTED_XVFB" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$number"
  log "Xvfb did not start"; return 1
}

# Both stop functions run from exit traps under `set -e`, and run twice when
# a step stopped the server already: what they end may be gone, which is
# not a failure.
stop_display() {
  if [[ -n "$STARTED_XVFB" ]]; then
    kill "$STARTED_XVFB" 2>/dev/null || true
    wait "$STARTED_XVFB" 2>/dev/null || true
  fi
  STARTED_XVFB=""
}

# A Wine prefix of the project's own, made and set up, its server stopped
# again: scripts/test makes it while the builds run. With "desktop" as
# second argument its windows live in a virtual desktop and need no window
# manager.
prepare_wine_prefix() {
  WINEPREFIX="$(realpath -m "$1")"  # Wine takes absolute paths only
  export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  local desktop="${2:-desktop}"
  wineserver -k 2>/dev/null || true
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    log "creating Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    if [[ "$desktop" == desktop ]]; then
      wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
      wineserver -w
    fi
  fi
  # A crashing program ends at once instead of waiting behind the crash dialog.
  if ! grep -q '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w  # the server the edit started must be gone before ours starts
  fi
  link_wine_fonts
}

# The prefix as above, with its server started first and detached, so no
# test process inherits it and keeps a pipe open.
start_wine() {
  prepare_wine_prefix "$@"
  wineserver -p >/dev/null 2>&1 </dev/null
  wineboot >/dev/null 2>&1 </dev/null
}

# This Wine looks for its own fonts (package fonts-wine) at a path it cannot
# resolve, which leaves caption buttons without Marlett glyphs and the
# controls without Tahoma. Linked into the prefix they are found, and windows
# look as on Windows.
link_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
  mkdir -p "$fonts"
  for font in /usr/share/wine/fonts/*; do
    [[ -e "$font" ]] || continue  # no fonts-wine: an unmatched pattern, not a font
    [[ -e "$fonts/$(basename "$font")" ]] || ln -s "$font" "$fonts/"
  done
  [[ -L "$fonts/*" ]] && rm -f "$fonts/*"  # left by an empty font directory
  return 0
}

# Runs a command in the background and waits for it, so that a signal runs
# the caller's traps at once rather than after the command; kill_children
# then ends what is still running.
CHILDREN=()
run_child() {
  "$@" &
  CHILDREN+=($!)
  wait $!
}

kill_tree() {
  local child
  for child in $(pgrep -P "$1"); do kill_tree "$child"; done
  kill "$1" 2>/dev/null || true
}

kill_children() {
  local pid
  for pid in "${CHILDREN[@]}"; do kill_tree "$pid"; done
  CHILDREN=()
}

# Only the server of a prefix start_wine set up: never the default prefix's.
stop_wine() {
  [[ -z "${WINEPREFIX:-}" ]] || wineserver -k 2>/dev/null || true
}

# scripts/probe.cpp for an architecture, built into the given directory
# when missing or older than its source; `probe` runs it.
PROBE=""
build_probe() {  # <directory> <arch>
  PROBE="$1/probe.exe"
  [[ "$PROBE" -nt "$ROOT/scripts/probe.cpp" ]] && return 0
  "$2-w64-mingw32-g++-posix" -std=c++20 -O2 -static -municode -o "$PROBE" "$ROOT/scripts/probe.cpp"
}

probe() { wine "$PROBE" "$@" | tr -d '\r'; }

# Quadsum.exe in the background of a Wine desktop; returns once its window
# shows.
QUADSUM_PID=""
start_quadsum() {
  wine "$1" >/dev/null 2>&1 &
  QUADSUM_PID=$!
  probe rect Quadsum >/dev/null || { log "Quadsum's window did not appear"; return 1; }
}

# Asks Quadsum to close as a user would; stop_wine ends it if it will not.
close_quadsum() {
  [[ -n "$QUADSUM_PID" ]] || return 0
  probe close Quadsum >/dev/null 2>&1 || true
  for _ in $(seq 50); do
    kill -0 "$QUADSUM_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$QUADSUM_PID" 2>/dev/null && log "Quadsum did not close"
  wait "$QUADSUM_PID" 2>/dev/null || true
  QUADSUM_PID=""
}

# Where the Wine desktop sits on the X screen: desktop coordinates are
# relative to it.
desktop_origin() {
  local id
  id="$(xwininfo -root -tree | awk '/Wine desktop/ {print $1; exit}')"
  [[ -n "$id" ]] || { log "no Wine desktop window"; return 1; }
  xwininfo -id "$id" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'
}

# A window of the Wine desktop as the screen shows it, frame and title bar
# included, written to a PNG file (ImageMagick's import).
capture_window() {  # <caption> <file>
  local dx dy x y w h
  read -r dx dy < <(desktop_origin)
  read -r x y w h < <(probe rect "$1")
  sleep 1  # Wine copies window surfaces to X on its own schedule
  mkdir -p "$(dirname "$2")"
  import -window root -crop "${w}x${h}+$((dx + x))+$((dy + y))" +repage -strip "$2"
}
