#pragma once

#include <QList>
#include <QPointer>
#include <functional>
#include <memory>

class QObject;
class QWidget;

namespace velmor {

struct Action;
class Main;

// The single-key shortcuts of a live mix, and the controls that hand typed keys to them.
class Shortcuts {
public:
    explicit Shortcuts(Main& window);
    ~Shortcuts();
    // Makes every forwarding control hand the characters typed into it to HandleShortcutKey;
    // the keys without a character (F1, Shift+Esc) act from the main window and the windows
    // below, wherever the focus is.
    void wire();
    // Makes the keys act from `window` too (the help and set-up windows), wherever its focus
    // is but in a text box that takes typing. There, a character that is a key of
    // HandleShortcutKey or not, goes no further: no list, combo box or menu of the window
    // takes a letter as a choice. Keys without a character (arrows, Enter, Escape, Tab) and
    // Space reach the window as usual.
    void forwardKeysFrom(QWidget* window);
    // Runs the action the table gives a typed character; any other character does nothing.
    // The character still reaches the control that received it.
    void HandleShortcutKey(int keyAscii);
    // While set, a key's action is handed here instead of run (learning a control picks an
    // action by its key).
    std::function<void(const Action&)> picker;

private:
    class OtherWindowKeys;
    class KeysWithoutCharacters;

    void forwardKeys(QWidget* control);
    bool fromMainWindow(const QWidget* widget) const;
    bool fromOtherWindow(const QWidget* widget) const;

    Main& w_;
    QList<QPointer<QWidget>> otherWindows_;
    std::unique_ptr<OtherWindowKeys> otherWindowKeys_; // watches the application's key presses
    std::unique_ptr<KeysWithoutCharacters> keysWithoutCharacters_; // and so does this
};

} // namespace velmor
