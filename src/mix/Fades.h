#pragma once

namespace velmor {

class Main;

// Timed fades of each deck, with their per-deck fade state.
class Fades {
public:
    explicit Fades(Main& window) : w_(window) {}
    // Connects the controls' events to the handlers below.
    void wire();

private:
    Main& w_;
};

} // namespace velmor
