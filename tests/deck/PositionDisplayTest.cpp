#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct PositionDisplayTest : WindowTest {
    FakePlayer& player = t.player(1);

    void load(const QString& path, double length) {
        player.durations[path] = length;
        t.open(1, path);
    }
    QString times() { return ui.lblTracking[1]->text() + " " + ui.lblRTracking[1]->text(); }
};
} // namespace

TEST_F(PositionDisplayTest, TicksShowBarsSliderAndBothTimesAndOnlyTheUsersMovesSeek) {
    load("/music/Song.mp3", 200);
    t.playPause(1);
    player.setPosition(70.2);
    player.log.clear();
    w.position.timer_Timer(1);
    EXPECT_EQ(times(), "1:10 2:10");
    EXPECT_EQ(ui.Tracker[1]->value(), 70);
    EXPECT_NEAR(ui.shpVa[1]->WidthTwips(), 373.815, 1e-3);
    EXPECT_NEAR(ui.shpQueda[1]->WidthTwips(), 691.185, 1e-3);
    EXPECT_TRUE(player.log.isEmpty()); // the timer's own setting of the slider is no seek
    EXPECT_EQ(ui.lblTracking[0]->text(), "0:0") << "other decks stay as they were";

    ui.Tracker[1]->setSliderPosition(90); // a drag
    EXPECT_EQ(player.log, QStringList{"Position 90"});
    EXPECT_EQ(ui.lblTracking[1]->text(), "1:10"); // playing: the labels follow at the next tick
    w.show();
    ui.Tracker[1]->setFocus();
    QTest::keyClick(ui.Tracker[1], Qt::Key_Right); // keys move it by one second
    EXPECT_EQ(player.CurrentPosition(), 91.0);

    load("/music/Empty.wav", 0); // a track without length leaves the bars alone
    t.playPause(1);
    ui.shpVa[1]->setWidthTwips(300);
    w.position.timer_Timer(1);
    EXPECT_EQ(ui.shpVa[1]->WidthTwips(), 300);
    EXPECT_NEAR(ui.shpQueda[1]->WidthTwips(), 691.185, 1e-3);
}

TEST_F(PositionDisplayTest, ADeckNotPlayingShowsTheTimeFromWhereItWillPlay) {
    load("/music/Song.mp3", 150);
    EXPECT_EQ(times(), "0:0 2:30") << "loaded";
    ui.txtSet[1]->setText("20"); // the cue every stop rewinds to
    t.playPause(1);
    player.setPosition(91);
    w.transport.cmdStop_Click(1);
    EXPECT_EQ(times(), "0:20 2:10") << "rewound to the cue";

    t.playPause(1);
    t.playPause(1);
    ui.Tracker[1]->setSliderPosition(120);
    EXPECT_EQ(times(), "2:0 0:30") << "paused and seeked";
    EXPECT_EQ(ui.shpVa[1]->WidthTwips(), 852);

    w.transport.cmdStop_Click(1);
    ui.txtSet[1]->setText("1");
    ui.txtSetSec[1]->setText("15");
    ui.cmdSet[1]->click();
    EXPECT_EQ(times(), "1:15 1:15") << "stopped and set to a time";
}
