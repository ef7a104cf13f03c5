#!/usr/bin/env bash
# Starts the real Velmor under a virtual display and saves a picture of its window.
# Usage: tools/screenshot.sh [output.png]   (default: docs/screenshot.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/docs/screenshot.png}")
"$root/tools/install-deps.sh" run dev
build=$("$root/tools/release-build.sh")

music="$build/demo-music"
[ -d "$music" ] || music="$root"
cd "$music"
# No window manager: the window sits at the top left corner without a frame.
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  "$0" & app=$!
  sleep 3
  import -window root -crop 749x496+0+0 +repage "$1"
  kill $app' "$build/src/velmor" "$out"
echo "Saved $out"
