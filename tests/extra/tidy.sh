#!/usr/bin/env bash
# The static checks of .clang-tidy over the project's own sources (src/ and tools/), from a
# compilation database of a build folder of their own that is configured, never built. Any
# finding fails the check. A folder given (tests/extra/tidy.sh src/audio) limits it to that.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build-tidy"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMOR_TESTS=OFF \
  -DVELMOR_BENCH=OFF -DVELMOR_WERROR=OFF -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
# The sources in the database that are the project's own: not Qt's generated ones.
sources="^$root/(${1:-src|tools})/.*\\.cpp\$"
log="$build/tidy.log"
started=$(date +%s)
if ! run-clang-tidy -quiet -j 2 -p "$build" "$sources" >"$log" 2>&1; then
  # Each finding once (a header's findings come with every file that includes it).
  sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E "(warning|error):" | sort -u >&2 || cat "$log" >&2
  echo "tidy: findings above (the whole output is in $log)" >&2
  exit 1
fi
files=$(grep -cE "\"file\": \"$root/(${1:-src|tools})/" "$build/compile_commands.json" || true)
echo "tidy: $files files clean in $(($(date +%s) - started)) s"
