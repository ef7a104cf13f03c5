#pragma once

namespace velmor {

class Main;

// A deck's reaction to its player's notifications, with the automatic advance.
class PlayerEvents {
public:
    explicit PlayerEvents(Main& window) : w_(window) {}
    // Connects the controls' events to the handlers below.
    void wire();

private:
    Main& w_;
};

} // namespace velmor
