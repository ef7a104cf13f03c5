#pragma once

#include <QPointer>
#include <QString>
#include <exception>
#include <functional>

namespace velmor {

class NoticeBar;

enum class Icon { None, Information, Exclamation, Critical };
enum class Answer { Yes, No };

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

    // A question answered Yes (true) or No. `byDefault` is the answer that Return gives, and
    // the answer of a reporter that cannot ask.
    virtual bool ask(const QString& question, Answer byDefault = Answer::No) {
        (void)question;
        return byDefault == Answer::Yes;
    }

    // A trapped handler's failure: its description, the exclamation icon, the title "Velmor".
    void reportError(const QString& description) { failure(description); }
    void reportError(const std::exception& error);

protected:
    // Where a trapped failure goes: a box here; the window's reporter decides between a box
    // and a notice.
    virtual void failure(const QString& description);
};

// The description a failure is told by.
QString DescriptionOf(const std::exception& error);

// Runs a handler body; a failure ends it at the failing step and is reported.
// Returns false when the body failed.
bool trapped(Reporter& reporter, const std::function<void()>& body);
// The same for a command whose failure the user waits for (adding files, saving a list):
// always a box, whatever plays.
bool trappedInBox(Reporter& reporter, const std::function<void()>& body);

// Shows QMessageBoxes over the active window, and notices in the window's notice bar once
// it has one.
class MessageBoxReporter : public Reporter {
public:
    void show(const QString& text, const QString& title, Icon icon) override;
    void notice(const QString& text) override;
    bool ask(const QString& question, Answer byDefault = Answer::No) override;
    void setNoticeBar(NoticeBar* bar);

private:
    QPointer<NoticeBar> bar_;
};

} // namespace velmor
