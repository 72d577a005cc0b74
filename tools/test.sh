#!/bin/bash
# The whole test suite: installs what is missing, builds both configurations,
# then runs every test under one Xvfb display and one Wine prefix.
set -e
cd "$(dirname "$0")/.."
tools/deps.sh
tools/build.sh
. tools/wine-env.sh
trap orvanta_wine_down EXIT
orvanta_wine_up
set +e
ctest --preset test64 "$@"
