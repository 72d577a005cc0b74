#!/bin/bash
# Builds the launcher and runs it under wine64 on a display (a virtual one
# when none is set). Pass --screenshot FILE to save a picture of the screen
# once it is up (then the launcher is closed).
set -e
cd "$(dirname "$0")/.."
tools/deps.sh
tools/build.sh
. tools/wine-env.sh
trap orvanta_wine_down EXIT
orvanta_wine_up
if [ "$1" = "--screenshot" ]; then
  "$ORVANTA_WINE64" build/test64/launcher.exe &
  sleep 6
  /usr/bin/python3 tools/screenshot.py "$2"
  kill $! 2>/dev/null || true
else
  "$ORVANTA_WINE64" build/test64/launcher.exe
fi
