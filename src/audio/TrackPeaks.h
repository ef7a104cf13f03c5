#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace velmor::audio {

class Decoder;

// A track's overview: the loudest sample of each of `bins` equal stretches of the track.
struct TrackPeaks {
    std::vector<float> peaks;
    int64_t framesRead = 0; // short of the track's length where it could be read no further
};

// Reads `decoder` from its start to its end. A decoder that stops early (damage) or fails
// leaves the rest of the stretches at 0, and so does `cancelled` being set: what was read
// is kept. For a worker thread; it takes its time off nobody's audio.
TrackPeaks ScanPeaks(Decoder& decoder, int bins, const std::atomic<bool>& cancelled);

} // namespace velmor::audio
