#include "common/BrowserLists.h"
#include "common/Widgets.h"
#include "support/TestWindow.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

// A screen under 9000 twips high is refused; a failing step is told and skips the rest:
// Deck 1 was done, Deck 2 up to the failing step, Deck 1 never activated.
TEST(Startup, TheScreenMustBeHighEnoughAndAFailingStepSkipsTheRest) {
    EXPECT_TRUE(TestWindow(9000).loaded);
    TestWindow small(8999);
    EXPECT_FALSE(small.loaded);
    EXPECT_EQ(small.reporter.last().icon, Icon::Exclamation);

    TestWindow t(11520, false);
    t.player(1).failures["VolumeRead"] = "The player does not answer";
    t.w().ui.optPla[2]->setChecked(true);
    EXPECT_TRUE(t.w().Form_Load());
    ASSERT_EQ(t.reporter.told, std::vector<QString>{"The player does not answer"});
    const Controls& ui = t.w().ui;
    EXPECT_EQ(QString("%1%2%3")
                  .arg(ui.cmdStop[0]->isEnabled())
                  .arg(ui.cmdPlayPause[1]->isEnabled())
                  .arg(ui.cmdStop[1]->isEnabled()),
              "001");
    EXPECT_EQ(t.w().activation.ActiveDeck(), 2);
}

// Every deck starts empty at full volume with Deck 1 active; choosing a deck, by its frame
// or its option, lights only its circle and names the pair.
TEST(Startup, EveryDeckStartsEmptyAndActivatingADeckLightsOnlyItsCircle) {
    TestWindow t;
    Controls& ui = t.w().ui;
    for (int d = 0; d < kDecks; ++d) {
        EXPECT_FALSE(ui.cmdPlayPause[d]->isEnabled() || ui.cmdStop[d]->isEnabled()) << d;
        EXPECT_EQ(ui.Volumen[d]->value() + ui.timer[d]->interval(), 100 + 250) << d;
        EXPECT_EQ(t.w().decks.TrackNumber[d], 1);
    }
    EXPECT_EQ(t.w().activation.ActiveDeck(), 0);
    t.w().activation.fra_Click(3);
    EXPECT_EQ(ui.lblCero->text() + ui.lblUno->text(), "41");
    for (int d = 0; d < kDecks; ++d)
        EXPECT_EQ(ui.selec[d]->FillColor() == kLightBlue, d == 3) << d;
    t.w().activation.optPla_Click(1);
    EXPECT_EQ(ui.lblCero->text() + ui.lblUno->text(), "23");
}

// One window at a time, not modal, every line whole without a scroll bar, afresh after
// closing. The About box begins with the window's caption.
TEST(HelpWindow, OneWindowAtATimeShowingEveryLineAndAfreshAfterClosing) {
    TestWindow t;
    const auto open = [] {
        int n = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            n += window->isVisible() && window->windowTitle() == "Velmor's Key Assignments";
        return n;
    };
    t.w().help.cmdHelp_Click();
    t.w().help.cmdHelp_Click();
    EXPECT_EQ(open(), 1);
    FrmHelp* help = t.w().help.frmHelp();
    EXPECT_FALSE(help->isModal());
    QCoreApplication::processEvents();
    for (QPlainTextEdit* box : {help->Text1, help->Text2, help->Text3}) {
        QTextCursor last(box->document()->findBlockByNumber(box->blockCount() - 2));
        last.movePosition(QTextCursor::EndOfBlock);
        EXPECT_FALSE(last.block().text().isEmpty());
        EXPECT_LE(box->cursorRect(last).bottom(), box->viewport()->height());
        EXPECT_FALSE(box->verticalScrollBar()->isVisible());
    }
    help->cmdCloseWindow->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(t.w().help.frmHelp(), nullptr);
    t.w().help.cmdHelp_Click();
    EXPECT_EQ(open(), 1);

    t.w().help.cmdAbout_Click();
    EXPECT_TRUE(t.reporter.last().text.startsWith(t.w().windowTitle() + "\r\n"));
}
