#pragma once

namespace velmor {

struct WindowContext;
struct DeckState;
class EntryLoader;
class MediaPlayer;

// The previous-track and next-track buttons of each deck. A stopped deck only loads the
// neighbouring entry; a playing or paused one is stopped through its player, and the
// stopped notification loads and plays the neighbour. Entries that cannot be played are
// stepped over: the neighbour is the nearest playable entry that way.
class TrackNavigation {
public:
    TrackNavigation(WindowContext& window, DeckState& decks, EntryLoader& loader)
        : w_(window), decks_(decks), loader_(loader) {}
    // Connects the controls' events to the handlers below.
    void wire();

    void cmdAvanceTema_Click(int d);
    void cmdRetroceso_Click(int d);

private:
    static bool loadsOnly(const MediaPlayer& player);
    WindowContext& w_;
    DeckState& decks_;
    EntryLoader& loader_;
};

} // namespace velmor
