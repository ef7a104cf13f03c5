#pragma once

namespace velmor {

struct WindowContext;

// A deck's volume slider: every change of its value, by the user or the program, sets the
// deck's level (the player's through the volume law); the label shows the deck's level.
class DeckVolume {
public:
    explicit DeckVolume(WindowContext& window) : w_(window) {}
    void wire();

    // The slider tracks while dragged: every move of the user arrives as a change.
    void Volumen_Change(int d);

private:
    WindowContext& w_;
};

} // namespace velmor
