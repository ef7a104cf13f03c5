#pragma once

#include "audio/SpscRing.h"

#include <cstdint>

namespace velmor::audio {

// A stretch of a deck's rendered audio at the output rate, with the track time it came from.
struct AudioBlock {
    static constexpr int kMaxFrames = 512;

    uint64_t generation = 0; // the seek/open/rate request it belongs to
    uint64_t track = 0;      // the file it came from, numbered by the engine
    bool joined = false;     // the first block of a file gone on into from the one before
    bool endOfTrack = false; // no frames: the track has been played to its end
    int frames = 0;
    double startSeconds = 0;    // track time of the first frame
    double secondsPerFrame = 0; // track time per output frame (the rate over the output rate)
    float samples[2 * kMaxFrames];

    double secondsAt(int frame) const { return startSeconds + frame * secondsPerFrame; }
};

// The ring a deck's reader fills ahead of time and the audio callback drains, block by block
// in place.
using BlockRing = SpscRing<AudioBlock>;

} // namespace velmor::audio
