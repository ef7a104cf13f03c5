#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace velmor {

class ActionTable;
class Main;

// What the About box and the help window tell of the project itself, kept in one place.
namespace project {
inline const char* const kContactEmail = "velmor@example.org";
inline const char* const kWebSite = "https://velmor.example.org";
inline const char* const kAuthor = "The Velmor developers";
inline const char* const kThanks[] = {"everyone who tested Velmor at a live event",
                                      "everyone who sent a bug report"};
} // namespace project

// The key assignments of the action table as the help window lists them: the deck keys,
// then the digit, crossfader and other keys. Every line ends in CR LF.
QString HelpDeckKeysText(const ActionTable& actions);
QString HelpOtherKeysText(const ActionTable& actions);
// The keys of the headphones and the audio set-up, in a column of their own beside the two
// texts above, which stay as they are.
QString HelpHeadphoneKeysText(const ActionTable& actions);
// The About message: 18 lines joined by CR LF.
QString AboutText(const QString& version);

// The key-assignments window: two read-only texts, two notes and a Close button. It has no
// key handling of its own.
class FrmHelp : public QWidget {
public:
    // In the main window's font, listing the keys of `actions`.
    FrmHelp(const QFont& font, const ActionTable& actions);
    void cmdCloseWindow_Click() { close(); }

    QPlainTextEdit* Text1;
    QPlainTextEdit* Text2;
    QPlainTextEdit* Text3;
    QLabel* Label1;
    QLabel* Label2;
    QPushButton* cmdCloseWindow;
};

// The Help and About buttons.
class Help {
public:
    explicit Help(Main& window) : w_(window) {}
    ~Help();
    // Connects the controls' events to the handlers below.
    void wire();

    void cmdHelp_Click();
    void cmdAbout_Click();

    // The open help window, or null when none is open.
    FrmHelp* frmHelp() const { return frmHelp_; }

private:
    Main& w_;
    QPointer<FrmHelp> frmHelp_;
};

} // namespace velmor
