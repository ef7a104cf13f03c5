#pragma once

#include "deck/Deck.h"

#include <optional>

namespace velmor {

struct WindowContext;

// The playlists' and the session's way into a deck's loading: a playlist entry into the
// deck's player, stepping over the entries it cannot open (see Deck::load).
class EntryLoader {
public:
    explicit EntryLoader(WindowContext& window) : w_(window) {}

    using Start = Deck::Start;
    // Opens in deck d's player the first playable entry from `start` on, going `step`
    // (+1 or -1), without starting it. Returns the entry the player opens, none when no entry
    // is left to try; the player then keeps the file it had.
    std::optional<int> LoadPlayableEntry(int d, int start, int step,
                                         Start from = Start::PassMarked);

private:
    WindowContext& w_;
};

} // namespace velmor
