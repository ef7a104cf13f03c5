#pragma once

namespace velmor {

struct WindowContext;
class PositionDisplay;

// How a deck's frame shows what its deck does: the title and length when a file opens, and
// the buttons, colours and timer for every play state.
class PlayerEvents {
public:
    PlayerEvents(WindowContext& window, PositionDisplay& position)
        : w_(window), position_(position) {}
    // Connects the decks' signals to the handlers below.
    void wire();

    void opened(int d);
    void closed(int d);
    void stopped(int d);
    void playing(int d);
    void paused(int d);

private:
    WindowContext& w_;
    PositionDisplay& position_;
};

} // namespace velmor
