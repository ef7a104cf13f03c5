#pragma once

#include "analysis/TrackFacts.h"
#include "audio/TrackPlan.h"

#include <optional>

namespace velmor {

// How the evening evens its tracks out: each at one loudness, and without the silence at
// their ends. Kept with the audio set-up.
struct Levelling {
    static constexpr double kMinTarget = -23, kMaxTarget = -14, kDefaultTarget = -18;
    bool enabled = true;            // every track brought to `target`
    double target = kDefaultTarget; // LUFS
    bool skipSilence = true; // an automatic advance starts at the first sound, ends at the last
    bool operator==(const Levelling&) const = default;
};

// A track whose loudness is not known at all plays this much below full level, about where
// a track mastered loud lands at the default target.
inline constexpr double kUnknownLoudnessGainDb = -6;
// No track is raised by more than this: a near-silent recording is not made a loud one.
inline constexpr double kMaxRaiseDb = 12;
// The breath left after a track's last sound before the deck moves on.
inline constexpr double kTailSeconds = 0.2;

// The plan a deck plays a track by: the gain from its measured loudness where known, from the
// loudness its gain tags imply until then, and kUnknownLoudnessGainDb with neither; where its
// sound starts and ends, once a look has found them.
audio::TrackPlan PlanTrack(const Levelling& levelling, const TrackFacts* measured,
                           std::optional<double> taggedLoudness);

// The gain, in decibels, that brings a track of `loudness` LUFS to `target`.
double LevellingGainDb(double loudness, double target);

} // namespace velmor
