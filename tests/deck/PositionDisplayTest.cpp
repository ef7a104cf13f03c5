#include "common/Widgets.h"
#include "playlist/DeckPlaylist.h"
#include "support/WindowTest.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct PositionDisplayTest : WindowTest {
    FakePlayer& player = t.player(1);

    void playFile(const QString& path, double length) {
        player.durations[path] = length;
        t.open(1, path);
        t.playPause(1);
    }
};
} // namespace

TEST_F(PositionDisplayTest, TicksShowBarsSliderAndBothTimes) {
    playFile("/music/Song.mp3", 185.4);
    ASSERT_TRUE(ui.timer[1]->isActive());
    player.log.clear();
    w.position.timer_Timer(1);
    EXPECT_EQ(ui.lblTracking[1]->text(), "0:0");
    EXPECT_EQ(ui.lblRTracking[1]->text(), "3:5");
    EXPECT_EQ(ui.shpVa[1]->WidthTwips(), 0);
    EXPECT_EQ(ui.shpQueda[1]->WidthTwips(), 1065);

    player.setPosition(70.2);
    w.position.timer_Timer(1);
    EXPECT_EQ(ui.lblTracking[1]->text(), "1:10");
    EXPECT_EQ(ui.lblRTracking[1]->text(), "1:55");
    EXPECT_EQ(ui.Tracker[1]->value(), 70);
    EXPECT_TRUE(t.reporter.empty());
    EXPECT_TRUE(player.log.isEmpty()); // the timer's own setting of the slider is no seek

    playFile("/music/Other.mp3", 200);
    player.setPosition(100);
    player.log.clear();
    w.position.timer_Timer(1);
    EXPECT_EQ(ui.shpVa[1]->WidthTwips(), 532.5);
    EXPECT_EQ(ui.shpQueda[1]->WidthTwips(), 532.5);
    EXPECT_EQ(ui.Tracker[1]->value(), 100);
    EXPECT_TRUE(player.log.isEmpty());
    // Other decks' displays stay as they were.
    EXPECT_EQ(ui.lblTracking[0]->text(), "0:0");
}

TEST_F(PositionDisplayTest, ATrackWithoutLengthLeavesTheBarsAlone) {
    playFile("/music/Empty.wav", 0);
    ui.shpVa[1]->setWidthTwips(300);
    ui.shpQueda[1]->setWidthTwips(765);
    w.position.timer_Timer(1);
    EXPECT_EQ(ui.shpVa[1]->WidthTwips(), 300);
    EXPECT_EQ(ui.shpQueda[1]->WidthTwips(), 765);
    EXPECT_EQ(ui.lblRTracking[1]->text(), "0:0");
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(PositionDisplayTest, OnlyTheUsersOwnMovesOfTheSliderSeek) {
    playFile("/music/Song.mp3", 185.4);
    player.log.clear();
    ui.Tracker[1]->setValue(40); // as the timer and the notifications do
    EXPECT_TRUE(player.log.isEmpty());
    EXPECT_EQ(player.CurrentPosition(), 0);

    ui.Tracker[1]->setSliderPosition(90); // a drag
    EXPECT_EQ(player.log, QStringList{"Position 90"});
    EXPECT_EQ(player.CurrentPosition(), 90.0);
    EXPECT_EQ(ui.lblTracking[1]->text(), "0:0"); // the labels follow at the next tick
    w.position.timer_Timer(1);
    EXPECT_EQ(ui.lblTracking[1]->text(), "1:30");

    w.show();
    ui.Tracker[1]->setFocus();
    QTest::keyClick(ui.Tracker[1], Qt::Key_Right); // keys move it by one second
    EXPECT_EQ(player.CurrentPosition(), 91.0);
    ui.Tracker[1]->triggerAction(QAbstractSlider::SliderPageStepAdd); // a click on the track
    EXPECT_EQ(player.CurrentPosition(), 101.0);
}

TEST_F(PositionDisplayTest, SlidersTakeTheFocusOnMouseOverOnlyWithAutoFocus) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ui.txtSet[0]->setFocus();
    QTest::mouseMove(ui.Tracker[2]);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), ui.txtSet[0]);

    ui.chkFocus->setChecked(true);
    QTest::mouseMove(ui.Tracker[2], QPoint(5, 5));
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), ui.Tracker[2]);
    QTest::mouseMove(ui.Volumen[3], QPoint(5, 5));
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), ui.Volumen[3]);
}

TEST_F(PositionDisplayTest, ADeckNotPlayingShowsTheTimeFromWhereItWillPlay) {
    player.durations["/music/Song.mp3"] = 150;
    auto times = [&] { return ui.lblTracking[1]->text() + " " + ui.lblRTracking[1]->text(); };
    t.open(1, "/music/Song.mp3");
    EXPECT_EQ(times(), "0:0 2:30") << "loaded";

    t.playPause(1);
    player.setPosition(91);
    w.position.timer_Timer(1);
    w.transport.cmdStop_Click(1);
    EXPECT_EQ(times(), "0:0 2:30") << "stopped";

    ui.txtSet[1]->setText("20"); // the cue every stop rewinds to
    t.playPause(1);
    w.transport.cmdStop_Click(1);
    EXPECT_EQ(times(), "0:20 2:10") << "rewound to the cue";

    t.playPause(1);
    t.playPause(1);
    ASSERT_EQ(player.PlayState(), MediaPlayer::Paused);
    ui.Tracker[1]->setSliderPosition(120);
    EXPECT_EQ(times(), "2:0 0:30") << "paused and seeked";

    w.transport.cmdStop_Click(1);
    ui.txtSet[1]->setText("1");
    ui.txtSetSec[1]->setText("15");
    ui.cmdSet[1]->click();
    EXPECT_EQ(times(), "1:15 1:15") << "stopped and set to a time";
    EXPECT_TRUE(t.reporter.empty());
}
