#include "common/BrowserLists.h"
#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QApplication>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
// Deck 2's transport, seek panel and position display; the player's notifications shown.
struct TransportTest : WindowTest {
    FakePlayer& player = t.player(1);
};
} // namespace

TEST_F(TransportTest, MuteAndSpeedButtonsSetThePlayerButtonsAndTimer) {
    for (bool muted : {true, false}) {
        w.transport.cmdMute_Click(1);
        EXPECT_EQ(player.Mute(), muted);
        EXPECT_EQ(ui.cmdMute[1]->BackColor() == kRed, muted);
    }
    ColorButton* const speeds[] = {ui.cmdSlowPlay[1], ui.cmdNormalPlay[1], ui.cmdFastPlay[1],
                                   ui.cmdUltraPlay[1]};
    const std::pair<double, int> rateAndTick[] = {{0.5, 500}, {1, 250}, {1.5, 167}, {2.0, 125}};
    for (int s : {2, 0, 3, 1}) {
        speeds[s]->click();
        EXPECT_EQ(player.Rate(), rateAndTick[s].first);
        EXPECT_EQ(ui.timer[1]->interval(), rateAndTick[s].second);
        for (int b = 0; b < 4; ++b)
            EXPECT_EQ(speeds[b]->isEnabled(), b != s) << s;
    }
    // The rate goes last: a refusing player leaves buttons and timer already set.
    player.failures["Rate"] = "Rate not supported";
    w.transport.cmdUltraPlay_Click(1);
    EXPECT_FALSE(speeds[3]->isEnabled());
    EXPECT_EQ(ui.timer[1]->interval(), 125);
    EXPECT_EQ(t.reporter.messages.size(), 1u);
}

TEST_F(TransportTest, SeekChecksMinutesThenSecondsAndSendsTheSumAndItsBoxesHandOnTheFocus) {
    w.show();
    QApplication::processEvents();
    struct Case {
        const char *minutes, *seconds;
        int position;     // -1: refused, with a box
        QLineEdit* focus; // the box at fault, if any
    };
    const Case cases[] = {
        {"99", "59", 5999, nullptr},       {"1.5", "0", 90, nullptr},
        {"100", "0", -1, ui.txtSet[1]},    {"-1", "abc", -1, ui.txtSet[1]}, // seconds not read
        {"0", "60", -1, ui.txtSetSec[1]},  {"0", "-1", -1, ui.txtSetSec[1]},
        {"abc", "0", -1, ui.txtSetSec[0]},
    };
    for (const Case& c : cases) {
        player.log.clear();
        t.reporter.clear();
        ui.txtSet[1]->setText(c.minutes);
        ui.txtSetSec[1]->setText(c.seconds);
        ui.txtSetSec[0]->setFocus(); // another deck's box
        w.transport.cmdSet_Click(1);
        SCOPED_TRACE(std::string(c.minutes) + " " + c.seconds);
        const QStringList seek{QString("Position %1").arg(c.position)};
        EXPECT_EQ(player.log, c.position >= 0 ? seek : QStringList());
        EXPECT_EQ(t.reporter.messages.size(), c.position >= 0 ? 0u : 1u);
        if (c.position < 0) {
            EXPECT_EQ(QApplication::focusWidget(), c.focus);
        }
    }
    // The boxes select all on a click and give the folder list the focus on Enter.
    ui.txtSetSec[2]->setText("42");
    QTest::mouseClick(ui.txtSetSec[2], Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(ui.txtSetSec[2]->selectedText(), "42");
    QTest::keyClick(ui.txtSetSec[2], Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), reinterpret_cast<QWidget*>(ui.dir));
}

TEST_F(TransportTest, TicksShowBarsSliderAndTimesOnlyTheUsersMovesSeekAndAClosedFileLeavesNothing) {
    player.durations["/music/Song.mp3"] = 200;
    t.open(1, "/music/Song.mp3");
    t.playPause(1);
    player.setPosition(70.2);
    player.log.clear();
    w.position.timer_Timer(1);
    EXPECT_EQ(ui.lblTracking[1]->text() + " " + ui.lblRTracking[1]->text(), "1:10 2:10");
    EXPECT_EQ(ui.Tracker[1]->value(), 70);
    EXPECT_NEAR(ui.shpVa[1]->WidthTwips(), 373.815, 1e-3);
    EXPECT_NEAR(ui.shpQueda[1]->WidthTwips(), 691.185, 1e-3);
    EXPECT_TRUE(player.log.isEmpty()); // the timer's own setting of the slider is no seek
    EXPECT_EQ(ui.lblTracking[0]->text(), "0:0") << "other decks stay as they were";

    ui.Tracker[1]->setSliderPosition(90); // a drag
    EXPECT_EQ(player.log, QStringList{"Position 90"});
    EXPECT_EQ(ui.lblTracking[1]->text(), "1:10"); // playing: the labels follow at the next tick

    player.durations["/music/Empty.wav"] = 0; // a track without length leaves the bars alone
    t.open(1, "/music/Empty.wav");
    t.playPause(1);
    w.position.timer_Timer(1);
    EXPECT_NEAR(ui.shpVa[1]->WidthTwips(), 373.815, 1e-3);
    player.closeFile(); // the file went away: the deck's frame is left bare
    DeliverNotifications();
    EXPECT_EQ(ui.fra[1]->Caption(), "2. ");
    EXPECT_FALSE(ui.cmdPlayPause[1]->isEnabled());
}
