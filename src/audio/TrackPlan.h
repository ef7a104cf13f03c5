#pragma once

#include <limits>

namespace velmor::audio {

// How a deck plays one track: the gain that brings it to the evening's loudness, fixed for as
// long as it plays, and the stretch between its first and last sound. The engine applies the
// gain before the deck's level, mute, fades and crossfader; the track ends at `endSeconds`,
// and a track gone on into from the one before (an automatic advance) starts at
// `startSeconds`. A track asked to play from a place of the user's own starts there.
struct TrackPlan {
    float gain = 1.0f;
    double startSeconds = 0;
    double endSeconds = std::numeric_limits<double>::infinity();
    bool operator==(const TrackPlan&) const = default;
};

} // namespace velmor::audio
