#pragma once

#include "common/Decks.h"

#include <array>
#include <cstdint>

namespace velmor {

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

    // A deck as the evening starts: at the first entry, nothing asked of it yet.
    void StartOver(int d) {
        TrackNumber[d] = 1;
        StoppedByUser[d] = false;
        PreviousRequested[d] = false;
    }
};

} // namespace velmor
