#!/usr/bin/env bash
# Refreshes the README's picture of the real window: runs the end-to-end evening (the real
# program under a virtual display, driven by real clicks and keys) and keeps its picture of
# two decks playing.
# Usage: tools/screenshot.sh [output.png]   (default: docs/screenshot.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/screenshot.png}")
"$root/tools/install-deps.sh" run test
build=$("$root/tools/release-build.sh")
artefacts=$(mktemp -d)
/usr/bin/python3 "$root/tests/e2e/evening.py" "$build/src/velmor" "$artefacts"
cp "$artefacts/playing.png" "$out"
rm -rf "$artefacts"
echo "Saved $out"
