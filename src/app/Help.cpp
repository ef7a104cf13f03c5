#include "app/Help.h"

#include "app/Main.h"
#include "common/TwipsLayout.h"
#include "common/Widgets.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

namespace velmor {

namespace {
const char* const kCrLf = "\r\n";

QString linesText(const QStringList& lines) {
    return lines.join(kCrLf) + kCrLf;
}

// Each heading with the keys listed under it, an empty line between two headings.
QStringList sectionsLines(const ActionTable& actions, const QStringList& headings) {
    QStringList lines;
    for (const QString& heading : headings) {
        if (!lines.isEmpty())
            lines << "";
        lines << heading;
        for (const Action* action : actions.section(heading))
            lines << QString("%1   %2").arg(KeyName(*action), action->help);
    }
    return lines;
}

QPlainTextEdit* keysBox(QWidget* parent, const QString& text, int l, int t, int w, int h) {
    auto* box = new QPlainTextEdit(parent);
    box->setGeometry(TwipsRect(l, t, w, h));
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->document()->setDocumentMargin(2);
    // The widget keeps lines apart by itself; the CR of each CR LF would show as a glyph.
    box->setPlainText(QString(text).replace(kCrLf, "\n"));
    // A scroll bar only for lines that do not fit: the empty line after the last line end
    // holds nothing to scroll to.
    const int lines = box->blockCount() - (text.endsWith(kCrLf) ? 1 : 0);
    const int needed = lines * box->fontMetrics().lineSpacing() +
                       2 * (int(box->document()->documentMargin()) + box->frameWidth());
    box->setVerticalScrollBarPolicy(needed <= box->height() ? Qt::ScrollBarAlwaysOff
                                                            : Qt::ScrollBarAsNeeded);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, ToQColor(kButtonFace, palette));
    box->setPalette(palette);
    return box;
}

QLabel* note(QWidget* parent, const QString& text, int l, int t, int w, int h) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(TwipsRect(l, t, w, h));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}
} // namespace

QString HelpDeckKeysText(const ActionTable& actions) {
    return linesText(sectionsLines(actions, DeckSections()));
}

QString HelpOtherKeysText(const ActionTable& actions) {
    return linesText(sectionsLines(
        actions, {kFadePairsSection, kPlayPairsSection, kCrossfaderSection, kOtherKeysSection}));
}

QString HelpHeadphoneKeysText(const ActionTable& actions) {
    QStringList lines = sectionsLines(actions, {kHeadphonesSection});
    lines << "(or the headphones button"
          << "of the deck)"
          << "";
    lines << sectionsLines(actions, {kAudioSetupSection});
    lines << "";
    lines << sectionsLines(actions, {kLibrarySection});
    lines << "(or Ctrl+F)";
    lines << "";
    lines << sectionsLines(actions, {kRecordingSection});
    lines << "";
    QStringList announcements = sectionsLines(actions, {kAnnouncementsSection});
    announcements.insert(2, "F1-F12   jingles: play / stop");
    return linesText(lines + announcements);
}

QString AboutText(const QString& version) {
    QStringList thanks;
    for (const char* name : project::kThanks)
        thanks << name;
    const QStringList lines{
        "Velmor " + version,
        "",
        "We're working to GREATLY enhance your Velmor experience",
        "with a completely renewed interface and more configurable",
        "options and controls.",
        "",
        "Any cool suggestions and bug fixes will be added in future",
        "versions. Please send bug reports and suggestions to:",
        project::kContactEmail,
        "",
        QString("Visit ") + project::kWebSite,
        "for updates, more Help and a FAQ",
        "",
        "Idea, Design & Programming:",
        project::kAuthor,
        "",
        "Special thanks to:",
        thanks.join(", "),
    };
    return lines.join(kCrLf);
}

FrmHelp::FrmHelp(const QFont& font, const ActionTable& actions) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(font);
    setWindowTitle("Velmor's Key Assignments");
    // The designed window, and a third column to its right for the keys added since.
    setFixedSize(TwipsToPixels(4920 + 2520), TwipsToPixels(5295));
    Text1 = keysBox(this, HelpDeckKeysText(actions), 60, 60, 2100, 4830);
    Text2 = keysBox(this, HelpOtherKeysText(actions), 2220, 60, 2640, 3930);
    Text3 = keysBox(this, HelpHeadphoneKeysText(actions), 4920, 60, 2460, 3930);
    Label1 = note(this,
                  "Leave the mouse pointer over the buttons and controls for a couple of seconds "
                  "for additional help.",
                  2220, 4020, 2640, 810);
    Label2 = note(this, QString("Visit ") + project::kWebSite + " for more Help and a FAQ.", 2220,
                  4845, 2640, 450);
    cmdCloseWindow = new QPushButton("Close", this);
    cmdCloseWindow->setGeometry(TwipsRect(60, 4935, 1215, 330));
    QObject::connect(cmdCloseWindow, &QPushButton::clicked, this,
                     [this] { cmdCloseWindow_Click(); });
}

Help::~Help() {
    // The help window has no parent, so that it can outlive a closed main window; it goes
    // with the program's window all the same.
    delete frmHelp_.data();
}

void Help::wire() {
    QObject::connect(w_.ui.cmdHelp, &QPushButton::clicked, [this] { cmdHelp_Click(); });
    QObject::connect(w_.ui.cmdAbout, &QPushButton::clicked, [this] { cmdAbout_Click(); });
}

void Help::cmdHelp_Click() {
    // A window closed but not yet deleted does not count as open.
    if (frmHelp_ != nullptr && !frmHelp_->isVisible())
        delete frmHelp_.data();
    if (frmHelp_ == nullptr) {
        frmHelp_ = new FrmHelp(w_.DesignFont(), w_.actions);
        w_.shortcuts.forwardKeysFrom(frmHelp_);
        // Beside the main window, not over it.
        frmHelp_->move(w_.frameGeometry().topRight() + QPoint(8, 0));
    }
    frmHelp_->show();
    frmHelp_->raise();
    frmHelp_->activateWindow();
}

void Help::cmdAbout_Click() {
    w_.reporter.show(AboutText(Main::Version()), "About", Icon::None);
}

} // namespace velmor
