#include "common/NoticeBar.h"
#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct NoticeTest : WindowTest {
    NoticeTest() { openEveryDeck(); }
    bool noticeShowsAtItsCentre() {
        NoticeBar* bar = ui.lblNotice;
        const QWidget* top = w.childAt(bar->geometry().center());
        return bar->isVisible() && (top == bar || bar->isAncestorOf(top));
    }
};
} // namespace

TEST_F(NoticeTest, AFailureIsABoxOnlyForTheUsersOwnCommandWithNothingPlaying) {
    activate();
    t.player(1).failures["Play"] = "The device is gone";
    const auto byClick = [&] { QTest::mouseClick(ui.cmdPlayPause[1], Qt::LeftButton); };
    const auto byTimer = [&] {
        QTimer::singleShot(0, &w, [&] { w.transport.cmdPlayPause_Click(1); });
        DeliverNotifications();
    };
    const auto byNotification = [&] {
        QMetaObject::invokeMethod(
            &w, [&] { w.transport.cmdPlayPause_Click(1); }, Qt::QueuedConnection);
        DeliverNotifications();
    };
    struct Case {
        const char* what;
        std::function<void()> fail;
        bool deckPlays, box;
    };
    for (const Case& c : {Case{"a click", byClick, false, true},
                          Case{"a click while a deck plays", byClick, true, false},
                          Case{"a timer's tick", byTimer, false, false},
                          Case{"a player's notification", byNotification, false, false},
                          Case{"a tick while a deck plays", byTimer, true, false}}) {
        SCOPED_TRACE(c.what);
        if (c.deckPlays != (t.player(0).PlayState() == MediaPlayer::Playing))
            t.playPause(0);
        t.reporter.clear();
        c.fail();
        EXPECT_EQ(t.reporter.told, std::vector<QString>{"The device is gone"});
        EXPECT_EQ(t.reporter.messages.size(), c.box ? 1u : 0u);
    }
}

// Keys acting while a notice shows are the broken-entry scene's; here, where it shows.
TEST_F(NoticeTest, ANoticeStaysOnTopOfTheListsAndAClickPutsItAway) {
    activate();
    // The program's reporter, shown the window's notice bar as at start-up.
    MessageBoxReporter program;
    program.setNoticeBar(ui.lblNotice);
    program.notice("/music/b.mp3 cannot be played: not an audio file.");
    EXPECT_TRUE(noticeShowsAtItsCentre());
    // Another deck's list brought to the front leaves it on top; the next notice replaces it.
    w.activation.fra_Click(3);
    EXPECT_TRUE(noticeShowsAtItsCentre());
    program.notice("/music/x.mp3 cannot be played: the file is empty.");
    EXPECT_TRUE(ui.lblNotice->text().startsWith("/music/x.mp3"));
    QTest::mouseClick(ui.lblNotice, Qt::LeftButton);
    EXPECT_FALSE(ui.lblNotice->isVisible());
    EXPECT_FALSE(ui.lblNotice->hasFocus());
}

TEST_F(NoticeTest, ClosingAsksOnlyWhileADeckPlaysAndNoKeepsTheWindow) {
    struct Case {
        bool deckPlays, answer, closes;
    };
    for (const Case c :
         {Case{false, false, true}, Case{true, false, false}, Case{true, true, true}}) {
        SCOPED_TRACE(c.deckPlays ? (c.answer ? "playing, Yes" : "playing, No") : "silent");
        w.show();
        if (c.deckPlays != (t.player(2).PlayState() == MediaPlayer::Playing))
            t.playPause(2);
        t.reporter.questions.clear();
        t.reporter.answer = c.answer;
        EXPECT_EQ(w.close(), c.closes);
        EXPECT_EQ(t.reporter.questions.size(), c.deckPlays ? 1u : 0u);
    }
}
