# Shared by the scripts: the Wine prefix, a persistent wineserver and a private Xvfb.
# Source it, then call the functions; twk_teardown undoes what was started.

TWK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
TWK_BUILD="${TWK_BUILD:-$TWK_ROOT/build}"
TWK_WINE="${TWK_WINE:-$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)}"
TWK_WINESERVER="${TWK_WINESERVER:-$(command -v wineserver || echo /usr/lib/wine/wineserver)}"
[[ -x $TWK_WINE ]] || TWK_WINE=/usr/lib/wine/wine64
[[ -x $TWK_WINESERVER ]] || TWK_WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko: nothing here needs them and their installers would ask.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=d;mshtml=d}"

TWK_XVFB_PID=""
TWK_STARTED_WINESERVER=""

twk_configure_and_build() {
  cmake -S "$TWK_ROOT" -B "$TWK_BUILD" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$TWK_ROOT/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$TWK_BUILD"
}

# twk_use_prefix <folder>: a private prefix, booted once and reused afterwards.
twk_use_prefix() {
  export WINEPREFIX="$1"
  if [[ ! -f "$WINEPREFIX/.twk-booted" ]]; then
    echo "wine: preparing prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$TWK_WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
    "$TWK_WINESERVER" -w
    touch "$WINEPREFIX/.twk-booted"
  fi
}

# A persistent wineserver, warmed so that Wine's own services are not started by a
# process whose output is a pipe that someone waits on.
twk_start_wineserver() {
  "$TWK_WINESERVER" -p
  TWK_STARTED_WINESERVER=1
  "$TWK_WINE" cmd /c echo warm </dev/null >/dev/null 2>&1 || true
}

# twk_start_xvfb: an X display of our own, whatever DISPLAY says.
twk_start_xvfb() {
  local n
  for n in $(seq 91 140); do
    if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then
      Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
      TWK_XVFB_PID=$!
      local i
      for i in $(seq 1 100); do
        [[ -e /tmp/.X11-unix/X$n ]] && break
        if ! kill -0 "$TWK_XVFB_PID" 2>/dev/null; then TWK_XVFB_PID=""; break; fi
        sleep 0.05
      done
      if [[ -n $TWK_XVFB_PID && -e /tmp/.X11-unix/X$n ]]; then
        export DISPLAY=":$n"
        return 0
      fi
    fi
  done
  echo "xvfb: no free display" >&2
  return 1
}

twk_teardown() {
  if [[ -n $TWK_STARTED_WINESERVER ]]; then
    "$TWK_WINESERVER" -k >/dev/null 2>&1 || true
    TWK_STARTED_WINESERVER=""
  fi
  if [[ -n $TWK_XVFB_PID ]]; then
    kill "$TWK_XVFB_PID" >/dev/null 2>&1 || true
    wait "$TWK_XVFB_PID" 2>/dev/null || true
    TWK_XVFB_PID=""
  fi
}

# Converts a Unix path to the Windows path Wine gives it.
twk_winpath() {
  local p
  p="$(readlink -f "$1")"
  echo "Z:${p//\//\\}"
}
