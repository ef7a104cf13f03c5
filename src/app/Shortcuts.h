#pragma once

#include <functional>

class QWidget;

namespace velmor {

class Main;

// The single-key shortcuts of a live mix, and the controls that hand typed keys to them.
class Shortcuts {
public:
    explicit Shortcuts(Main& window) : w_(window) {}
    // Makes every forwarding control hand the characters typed into it to HandleShortcutKey.
    void wire();
    // Runs the action of a typed character; any other character does nothing. The character
    // still reaches the control that received it.
    void HandleShortcutKey(int keyAscii);

private:
    void forwardKeys(QWidget* control);
    void run(const std::function<void()>& command);

    Main& w_;
};

} // namespace velmor
