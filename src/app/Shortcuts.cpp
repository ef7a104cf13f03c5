#include "app/Shortcuts.h"

#include "app/Main.h"
#include "common/BrowserLists.h"
#include "common/EventHooks.h"
#include "common/Widgets.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <cstring>

namespace velmor {

namespace {
// A box the user types text into; read-only text is not one.
bool takesTyping(const QObject* receiver) {
    if (auto* line = qobject_cast<const QLineEdit*>(receiver))
        return !line->isReadOnly();
    if (auto* text = qobject_cast<const QPlainTextEdit*>(receiver))
        return !text->isReadOnly();
    if (auto* text = qobject_cast<const QTextEdit*>(receiver))
        return !text->isReadOnly();
    return false;
}
} // namespace

// The key presses of the help and set-up windows, and of the popups and menus they open
// (separate windows, whose parents lead back to them), seen before any of their controls.
class Shortcuts::OtherWindowKeys : public QObject {
public:
    explicit OtherWindowKeys(Shortcuts& shortcuts) : s_(shortcuts) {}

    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !receiver->isWidgetType())
            return false;
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.isEmpty() || !text.at(0).isPrint() || text.at(0).isSpace())
            return false;
        auto* widget = static_cast<QWidget*>(receiver);
        if (!fromOtherWindow(widget))
            return false;
        // A text box there would be typed into, as the main window's are.
        if (takesTyping(widget) || takesTyping(widget->focusProxy()))
            return false;
        s_.HandleShortcutKey(text.at(0).unicode());
        return true;
    }

private:
    bool fromOtherWindow(const QWidget* widget) const {
        for (; widget; widget = widget->parentWidget())
            for (const QPointer<QWidget>& window : s_.otherWindows_)
                if (window.data() == widget)
                    return true;
        return false;
    }

    Shortcuts& s_;
};

Shortcuts::Shortcuts(Main& window) : w_(window) {}

Shortcuts::~Shortcuts() = default;

void Shortcuts::forwardKeysFrom(QWidget* window) {
    otherWindows_.removeAll(nullptr);
    if (!otherWindows_.contains(window))
        otherWindows_.append(window);
    if (!otherWindowKeys_) {
        otherWindowKeys_ = std::make_unique<OtherWindowKeys>(*this);
        QApplication::instance()->installEventFilter(otherWindowKeys_.get());
    }
}

void Shortcuts::wire() {
    Controls& ui = w_.ui;
    for (int d = 0; d < kDecks; ++d) {
        for (QWidget* control : std::initializer_list<QWidget*>{
                 ui.cmdPlayPause[d], ui.cmdStop[d], ui.cmdMute[d], ui.cmdAvanceTema[d],
                 ui.cmdSlowPlay[d], ui.cmdNormalPlay[d], ui.cmdFastPlay[d], ui.cmdUltraPlay[d],
                 ui.cmdSet[d], ui.cmdFade[d], ui.chkInOrOut[d], ui.lstPlay[d], ui.optPla[d],
                 ui.Tracker[d], ui.Volumen[d], ui.cmdPrelisten[d]})
            forwardKeys(control);
    }
    // Not the text boxes, nor previous-track and the save panel's buttons: typing there
    // never triggers a shortcut.
    for (QWidget* control : std::initializer_list<QWidget*>{
             ui.cross, ui.cmdExpandir, ui.cmdAbout, ui.cmdHelp, ui.cmdBorrar, ui.cmdBorrarTodo,
             ui.cmdOK, ui.cmdOKCarpeta, ui.cmdGuardarComo, ui.chkFocus, ui.drv, ui.dir, ui.fil,
             ui.sldPhones, ui.sldCueMix, ui.cmdAudio})
        forwardKeys(control);
}

void Shortcuts::forwardKeys(QWidget* control) {
    OnEvent(control, QEvent::KeyPress, [this](QEvent* event) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (!text.isEmpty())
            HandleShortcutKey(text.at(0).unicode());
        return false; // the control still gets the character
    });
}

void Shortcuts::HandleShortcutKey(int keyAscii) {
    const int key = keyAscii >= 'A' && keyAscii <= 'Z' ? keyAscii - 'A' + 'a' : keyAscii;
    Transport& transport = w_.transport;
    // The rows of letters: fade, play/pause, stop, mute of Deck 1..4.
    static const char* const kDeckRows[kDecks] = {"qwer", "asdf", "tyui", "ghjk"};
    for (int d = 0; d < kDecks; ++d) {
        const char* row = kDeckRows[d];
        if (key == row[0])
            return run([&] { w_.fades.cmdFade_Click(d); });
        if (key == row[1])
            return run([&] { transport.cmdPlayPause_Click(d); });
        if (key == row[2])
            return run([&] { transport.cmdStop_Click(d); });
        if (key == row[3])
            return run([&] { transport.cmdMute_Click(d); });
    }
    // Digits act on a deck and the one after it, the first to its end before the second.
    if (key >= '1' && key <= '4') {
        const int d = key - '1';
        run([&] { w_.fades.cmdFade_Click(d); });
        run([&] { w_.fades.cmdFade_Click(NextDeck(d)); });
    } else if (key >= '5' && key <= '8') {
        const int d = key - '5';
        run([&] { transport.cmdPlayPause_Click(d); });
        run([&] { transport.cmdPlayPause_Click(NextDeck(d)); });
    } else if (key == 'z' || key == 'x' || key == 'c') {
        // The slider's change notification applies the position, as a move by the user does.
        const int value = key == 'z' ? 0 : key == 'x' ? 50 : 100;
        run([&] { w_.ui.cross->setValue(value); });
    } else if (key == 'v') {
        run([&] { w_.cmdExpandir_Click(); });
    } else if (const char* deck =
                   key > 0 && key < 128 ? std::strchr(Help::kPrelistenKeys, key) : nullptr) {
        run([&] { w_.prelisten.cmdPrelisten_Click(int(deck - Help::kPrelistenKeys)); });
    } else if (key == Help::kAudioSetupKey) {
        run([&] { w_.audioSetup.cmdAudio_Click(); });
    }
}

void Shortcuts::run(const std::function<void()>& command) {
    // Commands trap their own failures; this catches any they leave, so a key never ends
    // the program and a digit key's second deck still gets its turn.
    trapped(w_.reporter, command);
}

} // namespace velmor
