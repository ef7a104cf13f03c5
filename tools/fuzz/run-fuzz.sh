#!/bin/sh
# Builds a libFuzzer target per decoder and one for the playlist reader with clang, and runs
# each for a bounded time.
#   tools/fuzz/run-fuzz.sh [seconds per target, default 60] [--merge] [targets, default all]
# New inputs go to build-fuzz/corpus-*; --merge adds the ones that reach new code to the
# corpus kept in the repository (tests/audio/corpus/ for the decoders, which the tests
# replay; tools/fuzz/corpus-m3u/ for the reader), kept small.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
merge=${2:-}
targets=${3:-"mp3 wav m3u"}
out="$root/build-fuzz"
mkdir -p "$out"
flags="-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -I$root/src"
for kind in $targets; do
    case $kind in
    mp3 | wav)
        define=FUZZ_MP3
        [ "$kind" = wav ] && define=FUZZ_SNDFILE
        clang++ $flags -D$define "$root/tools/fuzz/FuzzDecoder.cpp" "$root/src/audio/Mp3Decoder.cpp" \
            "$root/src/audio/SndfileDecoder.cpp" "$root/src/audio/MpegFrameScan.cpp" \
            "$root/src/audio/MpegStreamGuard.cpp" \
            $(pkg-config --cflags --libs libmpg123 sndfile) -o "$out/fuzz-$kind"
        kept="$root/tests/audio/corpus/$kind"
        ;;
    m3u)
        clang++ $flags -fPIC "$root/tools/fuzz/FuzzPlaylist.cpp" "$root/src/playlist/M3u.cpp" \
            "$root/src/playlist/Paths.cpp" "$root/src/playlist/FileUris.cpp" \
            "$root/src/common/FileNames.cpp" $(pkg-config --cflags --libs Qt6Core) -o "$out/fuzz-$kind"
        kept="$root/tools/fuzz/corpus-m3u"
        ;;
    esac
    mkdir -p "$out/corpus-$kind"
    "$out/fuzz-$kind" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=1024 \
        -artifact_prefix="$out/" "$out/corpus-$kind" "$kept"
    if [ "$merge" = "--merge" ]; then
        "$out/fuzz-$kind" -merge=1 -max_len=4096 "$kept" "$out/corpus-$kind"
    fi
done
echo "fuzz: no crash in ${seconds}s per target ($targets)"
