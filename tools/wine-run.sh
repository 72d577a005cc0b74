#!/bin/sh
# Runs a Windows program under wine64 in the test suite's prefix and display.
# tools/test.sh sets the environment up once for the whole suite; started on
# its own, this sets it up first.
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "$ORVANTA_WINE_READY" ]; then
  . "$here/wine-env.sh"
  orvanta_wine_up
fi
exec "$ORVANTA_WINE64" "$@"
