#!/usr/bin/env bash
# Builds the release binary that is packaged and that the end-to-end tests start; prints
# the build folder. With --progress the build's progress shows on standard error.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-release"
progress=/dev/null
[ "${1:-}" = "--progress" ] && progress=/dev/stderr
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMOR_TESTS=OFF \
  -DVELMOR_BENCH=OFF >/dev/null
cmake --build "$build" >"$progress"
echo "$build"
