#include "support/TestWindow.h"

#include <QApplication>
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
} // namespace

// One window at a time, not modal, every line whole without a scroll bar, afresh after
// closing.
TEST(HelpWindow, OneWindowAtATimeShowingEveryLineAndAfreshAfterClosing) {
    TestWindow t;
    t.w().help.cmdHelp_Click();
    t.w().help.cmdHelp_Click();
    EXPECT_EQ(openHelpWindows(), 1);
    FrmHelp* help = t.w().help.frmHelp();
    ASSERT_NE(help, nullptr);
    EXPECT_FALSE(help->isModal());
    EXPECT_EQ(help->Text1->toPlainText().split('\n').size(), 24); // the last line ends too
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
    EXPECT_EQ(openHelpWindows(), 0);
    t.w().help.cmdHelp_Click();
    EXPECT_EQ(openHelpWindows(), 1);
}

TEST(AboutBox, ShowsTheWindowsCaptionFirst) {
    TestWindow t;
    t.w().help.cmdAbout_Click();
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_TRUE(t.reporter.last().text.startsWith(t.w().windowTitle() + "\r\n"));
}
