#!/bin/sh
# The audio engine's tests, and the playlist entries looked up on a worker, under
# ThreadSanitizer, in a build directory of their own.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build="$root/build-tsan"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMOR_TSAN=ON \
    -DVELMOR_BENCH=OFF >/dev/null
cmake --build "$build" --target test_audio test_deck test_playlist
export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/tests/extra/tsan.supp"
# The clock bridge's own tests drive it from one thread; the engine's tests cover its two.
# PortAudio's look at the sound system starts PulseAudio's client thread, whose locks are not
# built for the sanitizer: the tests of that look run in the other builds.
"$build/tests/test_audio" --gtest_filter='-ClockBridgeTest.*:AlsaPcmListTest.*'
"$build/tests/test_deck" --gtest_filter='EnginePlayer*:PlayerContract*'
"$build/tests/test_playlist" --gtest_filter='ListsFromAnywhere.ALongList*'
echo "tsan: engine tests pass under ThreadSanitizer"
