#pragma once

namespace velmor {

class Main;

// The drive, folder and file lists, and adding tracks to the active deck.
class FileBrowser {
public:
    explicit FileBrowser(Main& window) : w_(window) {}
    // Connects the controls' events to the handlers below.
    void wire();

private:
    Main& w_;
};

} // namespace velmor
