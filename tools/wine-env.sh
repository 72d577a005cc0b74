# Sourced by the scripts that run Windows programs: one Xvfb display and one
# Wine prefix for everything, and a helper process that keeps Wine's desktop
# alive (it exits about a second after the last program, and two programs
# started at that moment can stall for tens of seconds).

orvanta_root=$(cd "$(dirname "${BASH_SOURCE:-$0}")/.." 2>/dev/null && pwd)
[ -d "$orvanta_root/tools" ] || orvanta_root=$(pwd)

ORVANTA_WINE64=$(command -v wine64 2>/dev/null || echo /usr/lib/wine/wine64)
export ORVANTA_WINE64
export WINEPREFIX="${WINEPREFIX:-$orvanta_root/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win64

orvanta_wineserver() {
  if command -v wineserver >/dev/null 2>&1; then wineserver "$@"; else /usr/lib/wine/wineserver "$@"; fi
}

# Starts Xvfb unless DISPLAY already answers.
orvanta_display_up() {
  if [ -n "$DISPLAY" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  for n in 91 92 93 94 95 96 97 98 99; do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
    ORVANTA_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.1; done
  done
  echo "could not start Xvfb" >&2
  return 1
}

orvanta_wine_up() {
  orvanta_display_up || return 1
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    # No prompts to download the .NET or HTML engines.
    WINEDLLOVERRIDES="mscoree,mshtml=" "$ORVANTA_WINE64" wineboot -i >/dev/null 2>&1
    orvanta_wineserver -w
  fi
  orvanta_wineserver -p >/dev/null 2>&1
  # Wake the desktop and keep it up for the whole run.
  "$ORVANTA_WINE64" cmd.exe /c "ping -n 100000 127.0.0.1 >nul" >/dev/null 2>&1 &
  ORVANTA_KEEPALIVE_PID=$!
  "$ORVANTA_WINE64" cmd.exe /c "exit" >/dev/null 2>&1
  export ORVANTA_WINE_READY=1
}

orvanta_wine_down() {
  [ -n "$ORVANTA_KEEPALIVE_PID" ] && kill "$ORVANTA_KEEPALIVE_PID" 2>/dev/null
  orvanta_wineserver -k >/dev/null 2>&1
  [ -n "$ORVANTA_XVFB_PID" ] && kill "$ORVANTA_XVFB_PID" 2>/dev/null
  return 0
}
