#pragma once

#include <QString>
#include <exception>
#include <functional>

namespace velmor {

enum class Icon { None, Information, Exclamation, Critical };

inline const char* const kAppTitle = "Velmor";

// The one way the program shows a message box. The application shows real boxes; tests
// record what would have been shown.
class Reporter {
public:
    virtual ~Reporter() = default;
    virtual void show(const QString& text, const QString& title, Icon icon) = 0;

    // A failure that nobody asked for at that moment (an advance, a track's end, a fade tick,
    // a device change), or one that happens while music plays: told without blocking, so
    // that no box takes the keyboard from the person at the decks. A reporter without a
    // window to show it in shows a box.
    virtual void notice(const QString& text) { show(text, kAppTitle, Icon::Exclamation); }

    // A trapped handler's failure: its description, the exclamation icon, the title "Velmor".
    void reportError(const QString& description);
    void reportError(const std::exception& error);
};

// Runs a handler body; a failure ends it at the failing step and is reported.
// Returns false when the body failed.
bool trapped(Reporter& reporter, const std::function<void()>& body);

// Shows QMessageBoxes, parented to a window when one is given.
class MessageBoxReporter : public Reporter {
public:
    void show(const QString& text, const QString& title, Icon icon) override;
};

} // namespace velmor
