# Shared by scripts/run and scripts/test: installs what is missing, builds,
# and runs Windows programs under Wine on a private X display.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACKAGES=(cmake ninja-build clang libclang-rt-dev googletest libbenchmark-dev
          g++-mingw-w64-i686 wine wine32 wine64 xvfb x11-utils iproute2 util-linux)

log() { printf '== %s\n' "$*" >&2; }

install_deps() {
  local missing=() p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [[ ${#missing[@]} -eq 0 ]] && return 0
  log "installing: ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

build_windows() {  # extra arguments go to the build, e.g. --target Quadsum
  cmake --preset windows >/dev/null
  cmake --build --preset windows "$@"
}

# The shipped Quadsum.exe (and the start-up benchmark), in build/ship.
build_ship() {
  cmake --preset ship >/dev/null
  cmake --build --preset ship "$@"
}

build_native() {
  cmake --preset native >/dev/null
  cmake --build --preset native
}

STARTED_XVFB=""
start_display() {
  local n=90
  while [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  STARTED_XVFB=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  log "Xvfb did not start"; return 1
}

stop_display() {
  [[ -n "$STARTED_XVFB" ]] && kill "$STARTED_XVFB" 2>/dev/null && wait "$STARTED_XVFB" 2>/dev/null
  STARTED_XVFB=""
}

# A Wine prefix of the project's own. With "desktop" as second argument its
# windows live in a virtual desktop and need no window manager. The server
# is started first and detached, so no test process inherits it and keeps a
# pipe open.
start_wine() {
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
  link_wine_fonts
  wineserver -p >/dev/null 2>&1 </dev/null
  wineboot >/dev/null 2>&1 </dev/null
}

# This Wine looks for its own fonts at a path it cannot resolve, which leaves
# caption buttons without Marlett glyphs and dialogs without Tahoma. Linked
# into the prefix they are found, and windows look as on Windows.
link_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
  mkdir -p "$fonts"
  for font in /usr/share/wine/fonts/*; do
    [[ -e "$fonts/$(basename "$font")" ]] || ln -s "$font" "$fonts/"
  done
}

stop_wine() {
  wineserver -k 2>/dev/null || true
}
