#include "support/TestWindow.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
int openHelpWindows() {
    int n = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        n += window->isVisible() && window->windowTitle() == "Velmor's Key Assignments";
    return n;
}
// The lines of a text whose every line ends in CR LF; none when the last one does not.
QStringList linesOf(const QString& text) {
    if (!text.endsWith("\r\n"))
        return {};
    return text.chopped(2).split("\r\n");
}
void deleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace

TEST(HelpTexts, KeyListsEndEveryLineWithCrLfAndWordTheDigitsAsTheyAct) {
    const QStringList deck = linesOf(HelpDeckKeysText());
    ASSERT_EQ(deck.size(), 23);
    EXPECT_EQ(deck[0], "Deck 1 Main Controls");
    EXPECT_EQ(deck[1], "'q'   fade deck 1");
    EXPECT_EQ(deck[5], "");
    EXPECT_EQ(deck[8], "'s'   play/pause deck 2");
    EXPECT_EQ(deck[18], "Deck 4 Main Controls");
    EXPECT_EQ(deck[22], "'k'   mute deck 4");

    const QStringList other = linesOf(HelpOtherKeysText());
    ASSERT_EQ(other.size(), 19);
    EXPECT_EQ(other[0], "Auto CrossFading");
    EXPECT_EQ(other[4], "'4'   fade decks 4 & 1");
    EXPECT_EQ(other[6], "Track Skipping between Decks");
    EXPECT_EQ(other[7], "'5'   play/pause decks 1 & 2");
    EXPECT_EQ(other[10], "'8'   play/pause decks 4 & 1");
    EXPECT_EQ(other[13], "'z'   Crossfader = 0");
    EXPECT_EQ(other[15], "'c'   Crossfader = 100");
    EXPECT_EQ(other[18], "'v'   \\/ or /\\ button");
}

TEST(HelpWindow, OneWindowAtATimeNotModalAndAfreshAfterClosing) {
    TestWindow t;
    t.w().help.cmdHelp_Click();
    t.w().help.cmdHelp_Click();
    EXPECT_EQ(openHelpWindows(), 1);
    FrmHelp* help = t.w().help.frmHelp();
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(help->isModal());
    EXPECT_EQ(help->Text1->toPlainText().split('\n').size(), 24); // the last line ends too
    EXPECT_EQ(help->Label2->text(),
              QString("Visit ") + project::kWebSite + " for more Help and a FAQ.");
    EXPECT_EQ(help->cmdCloseWindow->text(), "Close");

    help->cmdCloseWindow->click();
    deleteClosedWindows();
    EXPECT_EQ(t.w().help.frmHelp(), nullptr);
    EXPECT_EQ(openHelpWindows(), 0);
    t.w().help.cmdHelp_Click();
    EXPECT_EQ(openHelpWindows(), 1);
    EXPECT_NE(t.w().help.frmHelp(), nullptr);
}

// In the fonts Velmor ships, both texts show every line whole, without a scroll bar.
TEST(HelpWindow, EveryLineFitsWithoutAScrollBar) {
    TestWindow t;
    t.w().help.cmdHelp_Click();
    FrmHelp* help = t.w().help.frmHelp();
    QCoreApplication::processEvents();
    for (QPlainTextEdit* box : {help->Text1, help->Text2}) {
        QTextCursor last(box->document()->findBlockByNumber(box->blockCount() - 2));
        last.movePosition(QTextCursor::EndOfBlock);
        EXPECT_EQ(last.block().text().isEmpty(), false);
        EXPECT_LE(box->cursorRect(last).bottom(), box->viewport()->height());
        EXPECT_FALSE(box->verticalScrollBar()->isVisible());
    }
}

TEST(AboutBox, ShowsTheCaptionsVersionAndTheProjectsContacts) {
    TestWindow t;
    t.w().help.cmdAbout_Click();
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    const auto& about = t.reporter.last();
    EXPECT_EQ(about.title, "About");
    EXPECT_EQ(about.icon, Icon::None);
    const QStringList lines = about.text.split("\r\n");
    ASSERT_EQ(lines.size(), 18);
    EXPECT_EQ(lines[0], t.w().windowTitle());
    EXPECT_EQ(lines[8], project::kContactEmail);
    EXPECT_EQ(lines[10], QString("Visit ") + project::kWebSite);
    EXPECT_EQ(lines[14], project::kAuthor);
    EXPECT_TRUE(lines[17].contains(", "));
}
