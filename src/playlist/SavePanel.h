#pragma once

namespace velmor {

class Main;

// The list-save panel that writes the active deck's playlist as an M3U file.
class SavePanel {
public:
    explicit SavePanel(Main& window) : w_(window) {}
    // Connects the controls' events to the handlers below.
    void wire();

private:
    Main& w_;
};

} // namespace velmor
