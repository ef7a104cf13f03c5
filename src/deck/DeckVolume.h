#pragma once

namespace velmor {

struct WindowContext;

// A deck's volume slider: every change of its value, by the user or the program, sets the
// player's level through the volume law and shows the value.
class DeckVolume {
public:
    explicit DeckVolume(WindowContext& window) : w_(window) {}
    void wire();

    void Volumen_Change(int d);
    // The slider tracks while dragged, so every move of the user already arrives as a change;
    // the scroll handling does the same steps and needs no connection of its own.
    void Volumen_Scroll(int d) { Volumen_Change(d); }

private:
    WindowContext& w_;
};

} // namespace velmor
