#!/bin/sh
# Builds a libFuzzer target per decoder with clang and runs each for a bounded time.
#   tools/fuzz/run-fuzz.sh [seconds per target, default 60] [--merge]
# New inputs go to build-fuzz/corpus-*; --merge adds the ones that reach new code to the
# corpus the tests replay (tests/audio/corpus/), kept small.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
merge=${2:-}
out="$root/build-fuzz"
mkdir -p "$out"
flags="-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I$root/src"
libs=$(pkg-config --cflags --libs libmpg123 sndfile)
for kind in mp3 wav; do
    case $kind in
    mp3) define=FUZZ_MP3 ;;
    wav) define=FUZZ_SNDFILE ;;
    esac
    clang++ $flags -D$define "$root/tools/fuzz/FuzzDecoder.cpp" "$root/src/audio/Mp3Decoder.cpp" \
        "$root/src/audio/SndfileDecoder.cpp" "$root/src/audio/MpegFrameScan.cpp" $libs -o "$out/fuzz-$kind"
    mkdir -p "$out/corpus-$kind"
    "$out/fuzz-$kind" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=1024 \
        "$out/corpus-$kind" "$root/tests/audio/corpus/$kind"
    if [ "$merge" = "--merge" ]; then
        "$out/fuzz-$kind" -merge=1 -max_len=8192 "$root/tests/audio/corpus/$kind" "$out/corpus-$kind"
    fi
done
echo "fuzz: no crash in ${seconds}s per decoder"
