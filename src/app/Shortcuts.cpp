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
    bool fromOtherWindow(const QWidget* widget) const { return s_.fromOtherWindow(widget); }

    Shortcuts& s_;
};

// The keys without a character (the jingles' F1-F12, Shift+Esc) act from every window of
// Velmor and every control, text boxes too: they type nothing there. A key held down acts
// once.
class Shortcuts::KeysWithoutCharacters : public QObject {
public:
    explicit KeysWithoutCharacters(Shortcuts& shortcuts) : s_(shortcuts) {}

    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !receiver->isWidgetType())
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const auto* widget = static_cast<const QWidget*>(receiver);
        const Qt::KeyboardModifiers modifiers =
            key->modifiers() &
            (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        const Action* action =
            s_.w_.actions.forKeys(QKeyCombination(modifiers, Qt::Key(key->key())));
        if (!action || !(s_.fromMainWindow(widget) || s_.fromOtherWindow(widget)))
            return false;
        if (!key->isAutoRepeat())
            action->call();
        return true;
    }

private:
    Shortcuts& s_;
};

Shortcuts::Shortcuts(Main& window) : w_(window) {}

bool Shortcuts::fromOtherWindow(const QWidget* widget) const {
    for (; widget; widget = widget->parentWidget())
        for (const QPointer<QWidget>& window : otherWindows_)
            if (window.data() == widget)
                return true;
    return false;
}

bool Shortcuts::fromMainWindow(const QWidget* widget) const {
    for (; widget; widget = widget->parentWidget())
        if (widget == &w_)
            return true;
    return false;
}

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
    keysWithoutCharacters_ = std::make_unique<KeysWithoutCharacters>(*this);
    QApplication::instance()->installEventFilter(keysWithoutCharacters_.get());
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
    const Action* action = w_.actions.forKey(keyAscii);
    if (action && picker)
        picker(*action);
    else if (action)
        action->call();
}

} // namespace velmor
