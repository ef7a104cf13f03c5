#pragma once

#include <optional>

namespace velmor {

struct WindowContext;
struct DeckState;

// Puts a playlist entry into a deck's player, stepping over the entries it cannot open:
// each is marked in the list (greyed, the reason as its tooltip) and the deck takes the
// next one in the same direction. Whatever was stepped over is told once, in one notice,
// and the deck's TrackNumber and highlighted entry follow what opened.
class EntryLoader {
public:
    EntryLoader(WindowContext& window, DeckState& decks) : w_(window), decks_(decks) {}

    enum class Start {
        PassMarked, // the deck moves by itself: entries known bad are not tried again
        Retry,      // the user chose the starting entry: it is tried even when marked
    };
    // Opens in deck d's player the first playable entry from `start` on, going `step`
    // (+1 or -1), without starting it. Returns the entry, none when no entry would open; the
    // player then keeps the file it had.
    std::optional<int> LoadPlayableEntry(int d, int start, int step,
                                         Start from = Start::PassMarked);

    // Whether an entry from `start` on, going `step`, is not yet known to be unplayable.
    bool HasPlayableEntry(int d, int start, int step) const;

    // Tells deck d's player the file the deck would play next were its track to end now
    // (none after the last entry), so that it can go on into it without a gap.
    void QueueNextEntry(int d);

private:
    WindowContext& w_;
    DeckState& decks_;
};

} // namespace velmor
