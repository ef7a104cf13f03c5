#include "common/LevelMeterBar.h"
#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
using PlayerEventsTest = WindowTest;
} // namespace

TEST_F(PlayerEventsTest, AnOpenedFileShowsItsLengthAClosedOneNothingAndABadNameIsANotice) {
    t.player(0).durations["/music/Song.mp3"] = 185.4;
    t.open(0, "/music/Song.mp3");
    EXPECT_EQ(ui.fra[0]->Caption(), "1. Song 3:5");
    EXPECT_EQ(ui.Tracker[0]->maximum(), 185);
    EXPECT_EQ(ui.lblRTracking[0]->text(), "3:5");

    t.player(2).setFileName("/music/x.mp3");
    t.player(2).closeFile();
    DeliverNotifications();
    EXPECT_EQ(ui.fra[2]->Caption(), "3. ");
    EXPECT_FALSE(ui.cmdPlayPause[2]->isEnabled());

    // A name too short for a title: a notice, since the notification is nobody's command;
    // what came before it stays done.
    t.open(1, "/music/a.b");
    EXPECT_EQ(t.reporter.notices.size(), 1u);
    EXPECT_TRUE(t.reporter.empty());
    EXPECT_TRUE(ui.cmdPlayPause[1]->isEnabled());
    EXPECT_EQ(w.decks.TrackLength[1], 185.4);
}

// A failure in the user's command is a box; while a deck plays or at a track's end, a notice.
// Either way the steps before it stay done and no stop is left flagged as the user's.
TEST_F(PlayerEventsTest, AFailingStepIsToldAndTheStepsBeforeItStayDone) {
    FakePlayer& player = t.player(0);
    t.fill(0, {"A.mp3", "B.mp3"});
    player.failures["Play"] = "The device is gone";
    w.transport.cmdPlayPause_Click(0);
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_EQ(t.reporter.last().icon, Icon::Exclamation);
    player.failures = {{"Stop", "The device is gone"}};
    t.playPause(0);
    w.transport.cmdStop_Click(0);
    EXPECT_EQ(t.reporter.notices.size(), 1u);
    EXPECT_FALSE(w.decks.StoppedByUser[0]);
    player.failures.clear();

    ui.txtSet[0]->setText("soon");
    w.decks.PreviousRequested[0] = true;
    player.endTrack();
    DeliverNotifications();
    ASSERT_EQ(t.reporter.notices.size(), 2u);
    EXPECT_FALSE(ui.timer[0]->isActive());
    EXPECT_TRUE(ui.cmdStop[0]->isEnabled()); // the steps after the cue were not reached
    EXPECT_TRUE(w.decks.PreviousRequested[0]);
}

TEST_F(PlayerEventsTest, ALongTitleGivesWayInItsMiddleBeforeTheLevelMeter) {
    t.open(2, "/music/" + QString("A long title ").repeated(8) + "and its end.mp3");
    const QString shown = ui.fra[2]->DisplayedCaption();
    EXPECT_TRUE(shown.startsWith("3. A long") && shown.endsWith("its end 3:5") &&
                shown.contains(QChar(0x2026)))
        << qPrintable(shown);
    QWidget* meter = ui.mtrLevel[2];
    meter->hide();
    const QImage frame = ui.fra[2]->grab().toImage();
    for (int y = 0; y <= meter->geometry().bottom() + 2; ++y)
        for (int x = meter->x(); x < frame.width(); ++x)
            ASSERT_GT(QColor(frame.pixel(x, y)).lightness(), 80) << x << "," << y;
}
