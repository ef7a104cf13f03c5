#pragma once

#include "common/Decks.h"

#include <array>
#include <optional>
#include <vector>

namespace velmor {

// Finds a deck that plays but is not heard: the main output has stayed below -60 dBFS for
// five seconds while the deck was meant to be heard (playing, not muted, its level above the
// bottom, no fade under way). A deck is told of once, and again only after it was heard or
// stopped being meant to be.
class SilenceWatch {
public:
    static constexpr float kSilentPeak = 0.001f; // -60 dBFS
    static constexpr double kSeconds = 5;

    // At `now` (seconds), the master's loudest sample since the last look and which decks are
    // meant to be heard. Returns the decks to tell of now.
    std::vector<int> look(double now, float masterPeak, const std::array<bool, kDecks>& meant);

private:
    std::array<std::optional<double>, kDecks> silentSince_;
    std::array<bool, kDecks> told_{};
};

} // namespace velmor
