#pragma once

namespace velmor {

class Main;

// The single-key shortcuts of a live mix, and the controls that hand typed keys to them.
class Shortcuts {
public:
    explicit Shortcuts(Main& window) : w_(window) {}
    void wire();
    void HandleShortcutKey(int keyAscii);

private:
    Main& w_;
};

} // namespace velmor
