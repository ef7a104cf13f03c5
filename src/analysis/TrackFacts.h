#pragma once

#include <optional>

namespace velmor {

// What one look at a track found: its loudness, where its sound starts and ends, its tempo.
// A figure the look could not find (a silent track, one too short to measure) is none.
struct TrackFacts {
    double lengthSeconds = 0;
    std::optional<double> loudness;   // integrated loudness, LUFS (EBU R128)
    std::optional<double> truePeak;   // dBTP
    std::optional<double> soundStart; // seconds to the first sample above -60 dBFS
    std::optional<double> soundEnd;   // seconds to the last such sample
    std::optional<double> bpm;        // beats per minute
    bool operator==(const TrackFacts&) const = default;
};

} // namespace velmor
