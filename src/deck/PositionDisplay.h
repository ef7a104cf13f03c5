#pragma once

namespace velmor {

class Main;

// A deck's position display: the time texts, the bars and the seeking position slider.
class PositionDisplay {
public:
    explicit PositionDisplay(Main& window) : w_(window) {}
    // Connects the controls' events to the handlers below.
    void wire();

private:
    Main& w_;
};

} // namespace velmor
