#pragma once

namespace velmor {

struct WindowContext;

// A deck's position display: the two bars, the position slider and the elapsed and
// remaining labels, refreshed by the deck's timer while it plays; and seeking with the
// position slider.
class PositionDisplay {
public:
    explicit PositionDisplay(WindowContext& window) : w_(window) {}
    // Connects the controls' events to the handlers below.
    void wire();

    void timer_Timer(int d);
    // The user moved the slider (drag, click on the track, keys): the player goes there.
    void Tracker_Scroll(int d);

    // Sets both bars of deck d for a position; a deck without a track length keeps them.
    void SetBars(int d, double position);
    // A deck that is not playing shows the place it will play from: the bars and both times;
    // after every seek. A playing deck's display is the timer's.
    void ShowStandingPosition(int d);

private:
    WindowContext& w_;
};

} // namespace velmor
