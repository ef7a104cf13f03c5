#pragma once

namespace velmor {

class Main;

// The key-assignments window and the About box.
class Help {
public:
    explicit Help(Main& window) : w_(window) {}
    // Connects the controls' events to the handlers below.
    void wire();

private:
    Main& w_;
};

} // namespace velmor
