#!/usr/bin/env bash
# The real program, started as a user starts it, driven by real clicks and keys.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$("$root/tools/release-build.sh")
/usr/bin/python3 "$root/tests/e2e/evening.py" "$build/src/velmor" "$root/build-test/e2e"
/usr/bin/python3 "$root/tests/e2e/loud_and_lost.py" "$build/src/velmor" "$root/build-test/e2e"
/usr/bin/python3 "$root/tests/e2e/broken_entry.py" "$build/src/velmor" "$root/build-test/e2e"
/usr/bin/python3 "$root/tests/e2e/lists_from_anywhere.py" "$build/src/velmor" "$root/build-test/e2e"
/usr/bin/python3 "$root/tests/e2e/even_evening.py" "$build/src/velmor" "$root/build-test/e2e"
