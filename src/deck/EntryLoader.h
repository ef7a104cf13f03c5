#pragma once

#include "common/Decks.h"
#include "deck/EntrySearch.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

namespace velmor {

struct WindowContext;
struct DeckState;

// Puts a playlist entry into a deck's player, stepping over the entries it cannot open:
// each is marked in the list (greyed, the reason as its tooltip) and the deck takes the
// next one in the same direction. Whatever was stepped over is told once, in one notice,
// and the deck's TrackNumber and highlighted entry follow what opened.
//
// The player opens a file after the call has returned: the entry counts as loaded at once,
// and when the player reports it could not open it, the deck goes on from there.
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

    // Deck d's player opened its file: what was stepped over on the way is told.
    void Opened(int d);
    // Deck d's player could not open `path`: its entry is marked and the deck goes on to the
    // next playable entry the same way, started when `play`; with none, the deck keeps what
    // it had, its TrackNumber too.
    void OpenFailed(int d, const QString& path, const QString& reason, bool play);

private:
    // Opens from `start` on for the pass under way; the entry, none when none would open.
    std::optional<int> continuePass(int d, int start, bool retryStart = false);
    void endPass(int d);

    // Each deck's walk over its list until an entry opens.
    struct Pass {
        int entry = -1; // the entry whose file the player is opening; -1 when none
        int step = +1;
        SteppedOver steppedOver;
        int16_t trackNumberBefore = 1;
    };
    WindowContext& w_;
    DeckState& decks_;
    std::array<Pass, kDecks> passes_;
};

} // namespace velmor
