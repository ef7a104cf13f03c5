#pragma once

#include "analysis/TrackFacts.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace velmor {

namespace audio {
class Decoder;
}

// A track's overview: the loudest sample of each of `bins` equal stretches of the track.
struct TrackPeaks {
    std::vector<float> peaks;
    int64_t framesRead = 0; // short of the track's length where it could be read no further
    bool operator==(const TrackPeaks&) const = default;
};

// All that one decode of a track finds: its overview and its facts.
struct TrackLook {
    TrackPeaks peaks;
    TrackFacts facts;
    bool operator==(const TrackLook&) const = default;
};

// The level a sample must pass to be sound rather than silence: -60 dBFS.
constexpr float kSoundLevel = 0.001f;

// Reads `decoder` from its start to its end for the overview alone. A decoder that stops
// early (damage) or fails leaves the rest of the stretches at 0, and so does `cancelled`
// being set: what was read is kept. For a worker thread; it takes its time off nobody's audio.
TrackPeaks ScanPeaks(audio::Decoder& decoder, int bins, const std::atomic<bool>& cancelled);

// The same read, finding the track's facts too: its loudness and true peak, where its sound
// starts and ends, and its tempo, each from what could be read. A figure not found is none.
TrackLook LookAtTrack(audio::Decoder& decoder, int bins, const std::atomic<bool>& cancelled);

} // namespace velmor
