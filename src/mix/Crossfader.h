#pragma once

namespace velmor {

class Main;

// The crossfader between the active deck and the deck after it.
class Crossfader {
public:
    explicit Crossfader(Main& window) : w_(window) {}
    // Connects the controls' events to the handlers below.
    void wire();

private:
    Main& w_;
};

} // namespace velmor
