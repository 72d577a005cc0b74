#!/bin/bash
# Start-up benchmark: time from starting launcher.exe under wine64 until its
# window is on the X display, and the process's resident memory once up.
# Usage: bench/startup.sh [runs]   (after tools/build.sh)
set -e
cd "$(dirname "$0")/.."
. tools/wine-env.sh
trap orvanta_wine_down EXIT
orvanta_wine_up
runs=${1:-5}
exe=build/test64/launcher.exe
for i in $(seq "$runs"); do
  start=$(date +%s%N)
  "$ORVANTA_WINE64" "$exe" >/dev/null 2>&1 &
  until xwininfo -root -tree 2>/dev/null | grep -q '"Orvanta"'; do sleep 0.01; done
  end=$(date +%s%N)
  # The front panel: the launcher's other large window, once viewable.
  while :; do
    id=$(xwininfo -root -tree 2>/dev/null | awk '/launcher.exe/ && !/Orvanta/ && !/Default IME/ && $0 ~ /[0-9][0-9][0-9]x[0-9][0-9][0-9]/ {print $1; exit}')
    [ -n "$id" ] && xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && break
    sleep 0.01
  done
  both=$(date +%s%N)
  sleep 1
  pid=$(pgrep -f "$exe" | head -1)
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
  echo "run $i: background after $(( (end - start) / 1000000 )) ms, both layers after $(( (both - start) / 1000000 )) ms, resident $(( rss / 1024 )) MiB"
  kill "$pid"
  while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
done
ls -l build/release32/launcher.exe build/test64/launcher.exe | awk '{print $9 ": " $5 " bytes"}'
