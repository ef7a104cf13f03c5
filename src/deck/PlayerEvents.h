#pragma once

namespace velmor {

struct WindowContext;
struct DeckState;
class EntryLoader;
class PositionDisplay;

// A deck's reaction to its player's notifications: the title and length when a file opens,
// the buttons, colours and timer for every play state, and the moving on through the
// playlist when a track ends or the previous track was asked for.
class PlayerEvents {
public:
    PlayerEvents(WindowContext& window, DeckState& decks, EntryLoader& loader,
                 PositionDisplay& position)
        : w_(window), decks_(decks), loader_(loader), position_(position) {}
    // Connects the players' notifications to the handlers below.
    void wire();

    // Both read the player's state afresh; the notification's own arguments are not used.
    void pla_OpenStateChange(int d);
    void pla_PlayStateChange(int d);

private:
    void stopped(int d);
    void playing(int d);
    void paused(int d);
    // Loads the first playable entry from `index` on, going `step`, and starts it.
    void playEntry(int d, int index, int step);
    WindowContext& w_;
    DeckState& decks_;
    EntryLoader& loader_;
    PositionDisplay& position_;
};

} // namespace velmor
