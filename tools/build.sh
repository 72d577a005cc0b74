#!/bin/sh
# Builds the 32-bit release launcher and the 64-bit test build.
set -e
cd "$(dirname "$0")/.."
cmake --preset release32 >/dev/null
cmake --build --preset release32
cmake --preset test64 >/dev/null
cmake --build --preset test64
