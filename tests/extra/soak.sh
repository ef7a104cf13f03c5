#!/usr/bin/env bash
# A short soak of the release build: four decks play their lists of fifty tracks through
# while a fixed sequence of random presses goes on for 40 seconds (under a minute in all).
# tools/soak/README says how to run it for an hour.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$("$root/tools/release-build.sh")
QT_QPA_PLATFORM=offscreen "$build/tools/soak/velmor-soak" --seconds 40 --seed 1
