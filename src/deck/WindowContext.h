#pragma once

#include "common/Controls.h"
#include "common/Decks.h"

#include <QString>
#include <array>

namespace velmor {

class Deck;
class MediaPlayer;
class Reporter;

using Players = std::array<MediaPlayer*, kDecks>;
using Decks = std::array<Deck*, kDecks>;

// What a deck asks of its playlist: the entries by position, their marks and which one is
// loaded. The playlists keep the entries; the decks only read and mark them.
class DeckEntries {
public:
    virtual int count() const = 0;
    virtual QString name(int i) const = 0;
    virtual QString fullPath(int i) const = 0;
    virtual bool isUnplayable(int i) const = 0;
    virtual void markUnplayable(int i, const QString& reason) = 0;
    virtual void clearUnplayable(int i) = 0;
    virtual void setLoaded(int i) = 0; // -1 shows none
    // The entry marked loaded; -1 when none is, also once that entry was deleted.
    virtual int loaded() const = 0;

protected:
    ~DeckEntries() = default;
};

// Each deck's playlist, as the decks see it.
class DeckLists {
public:
    virtual DeckEntries& list(int d) = 0;

protected:
    ~DeckLists() = default;
};

// The commands that rooms give one another, by deck index: the deck's stop, the stop that
// does not move the deck on, and which deck is active.
class DeckCommands {
public:
    virtual void cmdStop_Click(int d) = 0;
    // The player stops and rewinds, and the deck does not move on; a failure goes to the
    // caller.
    virtual void StopWithoutMovingOn(int d) = 0;
    virtual int ActiveDeck() const = 0;

protected:
    ~DeckCommands() = default;
};

// What every room needs of the main window: its controls, the players, the decks, the
// reporter, and the doors to the other rooms.
struct WindowContext {
    Controls& ui;
    Players& pla;
    Decks& decks;
    Reporter& reporter;
    DeckCommands& commands;
    DeckLists& playlists;
};

} // namespace velmor
