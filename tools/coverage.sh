#!/usr/bin/env bash
# Line coverage of src/ by the CTest suite: builds build-coverage with gcov, runs every CTest
# test once and prints gcovr's summary (the figure to quote is "lines").
#   tools/coverage.sh [build folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-coverage"}
"$root/tools/install-deps.sh" run test dev
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMOR_COVERAGE=ON \
    -DVELMOR_BENCH=OFF >/dev/null
cmake --build "$build" -- -j2
# Objects of targets the build no longer has (their line notes would disagree with today's).
ninja -C "$build" -t cleandead >/dev/null
find "$build" -name '*.gcno' | while read -r notes; do
  [ -e "${notes%.gcno}.o" ] || rm -f "$notes"
done
find "$build" -name '*.gcda' -delete
QT_QPA_PLATFORM=offscreen ctest --test-dir "$build" -j2 >"$build/coverage-ctest.log" ||
    { tail -30 "$build/coverage-ctest.log"; exit 1; }
gcovr --root "$root" --filter "$root/src/" --object-directory "$build" --print-summary \
    --txt "$build/coverage.txt" | tail -3
