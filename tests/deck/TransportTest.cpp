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
        EXPECT_EQ((std::pair{player.Mute(), ui.cmdMute[1]->BackColor() == kRed}),
                  (std::pair{muted, muted}));
    }
    ColorButton* const speeds[] = {ui.cmdSlowPlay[1], ui.cmdNormalPlay[1], ui.cmdFastPlay[1],
                                   ui.cmdUltraPlay[1]};
    QStringList shown; // the rate, the tick and which speed buttons can be pressed
    for (int s : {2, 0, 3, 1}) {
        speeds[s]->click();
        shown << QString("%1 %2 ").arg(player.Rate()).arg(ui.timer[1]->interval());
        for (ColorButton* b : speeds)
            shown.back() += b->isEnabled() ? '+' : '-';
    }
    EXPECT_EQ(shown.join(", "), "1.5 167 ++-+, 0.5 500 -+++, 2 125 +++-, 1 250 +-++");
    // The rate goes last: a refusing player leaves buttons and timer already set.
    player.failures["Rate"] = "Rate not supported";
    w.transport.cmdUltraPlay_Click(1);
    EXPECT_FALSE(speeds[3]->isEnabled());
    EXPECT_EQ(ui.timer[1]->interval(), 125);
    EXPECT_EQ(t.reporter.messages.size(), 1u);
}

TEST_F(TransportTest, SeekChecksMinutesThenSecondsAndSendsTheSumOrPutsTheFocusOnTheBoxAtFault) {
    w.show();
    QApplication::processEvents();
    // The minutes and the seconds typed, the position sent (-1: refused, with a box) and the
    // box at fault.
    const std::tuple<const char*, const char*, int, QLineEdit*> cases[] = {
        {"99", "59", 5999, nullptr},       {"1.5", "0", 90, nullptr},
        {"100", "0", -1, ui.txtSet[1]},    {"-1", "abc", -1, ui.txtSet[1]}, // seconds not read
        {"0", "60", -1, ui.txtSetSec[1]},  {"0", "-1", -1, ui.txtSetSec[1]},
        {"abc", "0", -1, ui.txtSetSec[0]},
    };
    for (const auto& [minutes, seconds, position, focus] : cases) {
        player.log.clear(), t.reporter.clear();
        ui.txtSet[1]->setText(minutes), ui.txtSetSec[1]->setText(seconds);
        ui.txtSetSec[0]->setFocus(); // another deck's box
        w.transport.cmdSet_Click(1);
        SCOPED_TRACE(std::string(minutes) + " " + seconds);
        EXPECT_EQ(player.log.join("") + QString(" %1").arg(t.reporter.messages.size()),
                  position >= 0 ? QString("Position %1 0").arg(position) : " 1");
        if (focus) {
            EXPECT_EQ(QApplication::focusWidget(), focus);
        }
    }
}

TEST_F(TransportTest, TicksShowBarsSliderAndTimesOnlyTheUsersMovesSeekAndAClosedFileLeavesNothing) {
    player.durations["/music/Song.mp3"] = 200;
    t.open(1, "/music/Song.mp3");
    t.playPause(1);
    player.setPosition(70.2), player.log.clear();
    w.position.timer_Timer(1);
    EXPECT_EQ(ui.lblTracking[1]->text() + " " + ui.lblRTracking[1]->text() +
                  QString::asprintf(" %d %.3f %.3f", ui.Tracker[1]->value(),
                                    ui.shpVa[1]->WidthTwips(), ui.shpQueda[1]->WidthTwips()),
              "1:10 2:10 70 373.815 691.185");
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
