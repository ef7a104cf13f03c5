#!/usr/bin/env bash
# Builds the release binary that is packaged and that the end-to-end tests start; prints
# the build folder. With --progress the build's progress shows on standard error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-release"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMOR_TESTS=OFF \
  -DVELMOR_BENCH=OFF -DVELMOR_WERROR=ON >/dev/null
if [ "${1:-}" = "--progress" ]; then
  cmake --build "$build" >&2 # standard error as it is: reopening it would start a log afresh
else
  cmake --build "$build" >/dev/null
fi
echo "$build"
