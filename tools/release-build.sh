#!/usr/bin/env bash
# Builds the release binary that is packaged and that the end-to-end tests start; prints
# the build folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMOR_TESTS=OFF \
  -DVELMOR_BENCH=OFF >/dev/null
cmake --build "$build" >/dev/null
echo "$build"
