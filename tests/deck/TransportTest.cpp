#include "common/BrowserLists.h"
#include "common/Widgets.h"
#include "playlist/DeckPlaylist.h"
#include "support/WindowTest.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct TransportTest : WindowTest {
    FakePlayer& player = t.player(0);
};
} // namespace

TEST_F(TransportTest, PlayPauseFollowsThePlayersStateAsReportedLater) {
    player.log.clear();
    w.transport.cmdPlayPause_Click(0); // nothing open: nothing happens
    EXPECT_TRUE(player.log.isEmpty());
    EXPECT_TRUE(t.reporter.empty());

    t.open(0, "/music/a.mp3");
    player.log.clear();
    w.transport.cmdPlayPause_Click(0);
    EXPECT_EQ(player.log, QStringList{"Play"});
    DeliverNotifications();
    w.transport.cmdPlayPause_Click(0);
    EXPECT_EQ(player.log, (QStringList{"Play", "Pause"}));
    DeliverNotifications();
    w.transport.cmdPlayPause_Click(0);
    EXPECT_EQ(player.log.last(), "Play");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
}

TEST_F(TransportTest, PlayPauseReportsARefusedOrderAndGoesOn) {
    t.open(0, "/music/a.mp3");
    player.failures["Play"] = "The device is gone";
    w.transport.cmdPlayPause_Click(0);
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_EQ(t.reporter.last().text, "The device is gone");
    EXPECT_EQ(t.reporter.last().icon, Icon::Exclamation);
    EXPECT_EQ(t.reporter.last().title, "Velmor");
}

TEST_F(TransportTest, StopIsNotAnEndOfTrackAndLeavesNoFlagBehind) {
    DeckPlaylist& list = w.playlists.list(0);
    list.append("a.mp3", "/music");
    list.append("b.mp3", "/music");
    t.open(0, "/music/a.mp3");
    w.transport.cmdPlayPause_Click(0);
    DeliverNotifications();
    player.log.clear();
    w.transport.cmdStop_Click(0);
    DeliverNotifications();
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.FileName(), "/music/a.mp3");
    EXPECT_FALSE(player.log.contains("Play"));
    EXPECT_FALSE(w.decks.StoppedByUser[0]);

    // Stop on a deck that stands stopped (as the right click that cues an entry does): the
    // player reports nothing, and the next end of track must still move on.
    w.transport.cmdStop_Click(0);
    EXPECT_FALSE(w.decks.StoppedByUser[0]);
    player.failures["Stop"] = "The device is gone";
    w.transport.cmdStop_Click(0);
    EXPECT_EQ(t.reporter.last().text, "The device is gone");
    EXPECT_FALSE(w.decks.StoppedByUser[0]);
    player.failures.clear();
    w.transport.cmdPlayPause_Click(0);
    DeliverNotifications();
    player.endTrack();
    DeliverNotifications();
    EXPECT_EQ(player.FileName(), "/music/b.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(w.decks.TrackNumber[0], 2);
}

TEST_F(TransportTest, MuteTogglesThePlayerAndTheButtonColourTogether) {
    w.transport.cmdMute_Click(0);
    EXPECT_TRUE(player.Mute());
    EXPECT_EQ(w.ui.cmdMute[0]->BackColor(), kRed);
    EXPECT_EQ(player.Volume(), 0);
    w.transport.cmdMute_Click(0);
    EXPECT_FALSE(player.Mute());
    EXPECT_EQ(w.ui.cmdMute[0]->BackColor(), kButtonFace);
    EXPECT_FALSE(t.player(1).Mute());
}

TEST_F(TransportTest, SpeedButtonsSetButtonsThenTimerThenRate) {
    const Controls& ui = w.ui;
    w.transport.cmdFastPlay_Click(0);
    EXPECT_EQ(ui.timer[0]->interval(), 167);
    EXPECT_EQ(player.Rate(), 1.5);
    EXPECT_FALSE(ui.cmdFastPlay[0]->isEnabled());
    EXPECT_TRUE(ui.cmdNormalPlay[0]->isEnabled());
    EXPECT_FALSE(ui.timer[0]->isActive());

    const double expected[][2] = {{0.5, 500}, {2.0, 125}, {1.0, 250}};
    w.transport.cmdSlowPlay_Click(0);
    EXPECT_EQ(player.Rate(), expected[0][0]);
    EXPECT_EQ(ui.timer[0]->interval(), expected[0][1]);
    w.transport.cmdUltraPlay_Click(0);
    EXPECT_EQ(player.Rate(), expected[1][0]);
    EXPECT_EQ(ui.timer[0]->interval(), expected[1][1]);
    w.transport.cmdNormalPlay_Click(0);
    EXPECT_EQ(player.Rate(), expected[2][0]);
    EXPECT_EQ(ui.timer[0]->interval(), expected[2][1]);

    // The rate goes last: a refusing player leaves buttons and timer already set.
    player.failures["Rate"] = "Rate not supported";
    w.transport.cmdUltraPlay_Click(0);
    EXPECT_FALSE(ui.cmdUltraPlay[0]->isEnabled());
    EXPECT_EQ(ui.timer[0]->interval(), 125);
    EXPECT_EQ(t.reporter.last().text, "Rate not supported");
}

TEST_F(TransportTest, SeekChecksMinutesThenSecondsAndSendsTheSum) {
    Controls& ui = w.ui;
    w.show();
    QApplication::processEvents();
    auto seek = [&](const char* minutes, const char* seconds) {
        player.log.clear();
        t.reporter.clear();
        ui.txtSet[0]->setText(minutes);
        ui.txtSetSec[0]->setText(seconds);
        w.transport.cmdSet_Click(0);
    };
    seek("99", "59");
    EXPECT_EQ(player.log, QStringList{"Position 5999"});
    EXPECT_EQ(ui.Tracker[0]->value(), ui.Tracker[0]->maximum()); // 273 at design: clamped

    seek("1.5", "0");
    EXPECT_EQ(player.log, QStringList{"Position 90"});
    EXPECT_EQ(ui.Tracker[0]->value(), 90);

    seek("100", "0");
    EXPECT_TRUE(player.log.isEmpty());
    EXPECT_EQ(t.reporter.last().text, "Number out of range");
    EXPECT_EQ(t.reporter.last().icon, Icon::Information);
    EXPECT_EQ(QApplication::focusWidget(), ui.txtSet[0]);

    seek("-1", "abc"); // the seconds are not examined
    EXPECT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_EQ(t.reporter.last().text, "Number out of range");

    seek("0", "60");
    EXPECT_EQ(t.reporter.last().text, "Number out of range");
    EXPECT_EQ(QApplication::focusWidget(), ui.txtSetSec[0]);

    seek("abc", "0");
    EXPECT_TRUE(player.log.isEmpty());
    EXPECT_EQ(t.reporter.last().text, "Type mismatch");
    EXPECT_EQ(t.reporter.last().icon, Icon::Exclamation);
    EXPECT_EQ(ui.txtSet[0]->text(), "abc"); // the box keeps what was typed
}

TEST_F(TransportTest, SeekBoxesSelectAllOnClickAndGiveTheFolderListTheFocusOnEnter) {
    Controls& ui = w.ui;
    w.show();
    QApplication::processEvents();
    ui.txtSetSec[2]->setText("42");
    QTest::mouseClick(ui.txtSetSec[2], Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(ui.txtSetSec[2]->selectedText(), "42");
    QTest::keyClick(ui.txtSetSec[2], Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), reinterpret_cast<QWidget*>(ui.dir));
    QTest::keyClicks(ui.txtSet[2], "7");
    EXPECT_EQ(ui.txtSet[2]->text(), "07");
}

TEST_F(TransportTest, TheVolumeSliderSetsThePlayerLevelAndTheLabel) {
    w.ui.Volumen[1]->setValue(60); // a value set by the program counts as a move
    EXPECT_EQ(t.player(1).Volume(), -1800);
    EXPECT_EQ(w.ui.lblVolumen[1]->text(), "60");
    w.ui.Volumen[1]->setValue(0);
    EXPECT_EQ(t.player(1).Volume(), -4500);
    EXPECT_EQ(w.ui.lblVolumen[1]->text(), "0");
    EXPECT_EQ(player.Volume(), 0);
}
