#pragma once

namespace velmor {

class Main;

// The previous-track and next-track buttons of each deck.
class TrackNavigation {
public:
    explicit TrackNavigation(Main& window) : w_(window) {}
    // Connects the controls' events to the handlers below.
    void wire();

private:
    Main& w_;
};

} // namespace velmor
