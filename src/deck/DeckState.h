#pragma once

#include <array>
#include <cstdint>

namespace velmor {

constexpr int kDecks = 4;

// What the window remembers of each deck between events.
struct DeckState {
    // 1-based playlist position of the entry in the deck; the deck moves on from here.
    std::array<int16_t, kDecks> TrackNumber{1, 1, 1, 1};
    // The deck's own Stop ordered the last stop, so it is not an end of track.
    std::array<bool, kDecks> StoppedByUser{};
    // The previous-track button asked for the entry before the loaded one.
    std::array<bool, kDecks> PreviousRequested{};
    // Length in seconds of the deck's open file, read when it opened.
    std::array<double, kDecks> TrackLength{};
};

} // namespace velmor
