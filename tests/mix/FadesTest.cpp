#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct FadesTest : WindowTest {
    FakePlayer& player = t.player(0);

    // Deck 1 holds two entries and has the first one open.
    FadesTest() {
        w.playlists.list(0).append("a.mp3", "/music");
        w.playlists.list(0).append("b.mp3", "/music");
        t.open(0, "/music/a.mp3");
    }
    void play() {
        w.transport.cmdPlayPause_Click(0);
        DeliverNotifications();
    }
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i)
            w.fades.FadeTimer_Timer(0);
    }
    bool running() const {
        return !ui.cmdFade[0]->isEnabled() && ui.cmdFade[0]->text() == "Fading..." &&
               ui.FadeTimer[0]->isActive();
    }
    bool idle() const {
        return ui.cmdFade[0]->isEnabled() && ui.cmdFade[0]->text() == "Fade" &&
               !ui.FadeTimer[0]->isActive();
    }
    // Ticks until the fade ends.
    void tickToEnd() {
        for (int n = 0; n < 100 && ui.FadeTimer[0]->isActive(); ++n)
            tick();
    }
};
} // namespace

TEST_F(FadesTest, DefaultFadeInStartsTheDeckFromTheCueAndRisesToFullLevel) {
    ui.Volumen[0]->setValue(60);
    ui.txtSet[0]->setText("3"); // the cue, in seconds
    player.log.clear();
    w.fades.cmdFade_Click(0);
    EXPECT_EQ(player.log, (QStringList{"Volume -3600", "Position 3", "Play"}));
    EXPECT_TRUE(running());
    EXPECT_EQ(ui.FadeTimer[0]->interval(), 50);
    DeliverNotifications();
    for (int step = 1; step <= 40; ++step) {
        tick();
        ASSERT_EQ(player.Volume(), -3600 + 90 * step) << step;
    }
    EXPECT_TRUE(running()); // at full level, but the fade ends on the next tick
    tick();
    EXPECT_TRUE(idle());
    EXPECT_EQ(ui.Volumen[0]->value(), 100);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_TRUE(t.reporter.empty());

    // A fade in on a playing deck pauses it while its level rises.
    w.fades.cmdFade_Click(0);
    EXPECT_EQ(player.log.last(), "Pause");
}

TEST_F(FadesTest, TheSwitchSwapsTheVolumesAndAFadeOutStopsTheDeckAtTheEnd) {
    ui.chkInOrOut[0]->click();
    EXPECT_EQ(ui.txtStartVolume[0]->text(), "100");
    EXPECT_EQ(ui.txtEndVolume[0]->text(), "20");
    EXPECT_EQ(ui.chkInOrOut[0]->text(), ">");
    play();
    ui.Volumen[0]->setValue(90); // level -450
    player.log.clear();
    w.fades.cmdFade_Click(0);
    EXPECT_TRUE(player.log.isEmpty()); // no start level, playback untouched
    for (int step = 1; step <= 40; ++step) {
        tick();
        ASSERT_EQ(player.Volume(), std::max(-4500, -450 - 90 * step)) << step;
    }
    ui.txtSet[0]->setText("7");
    tick();
    EXPECT_TRUE(idle());
    // A stop by the user: back to the slider's level and the cue, on the same entry.
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(ui.Volumen[0]->value(), 90);
    EXPECT_EQ(player.Volume(), -450);
    EXPECT_EQ(player.CurrentPosition(), 7);
    EXPECT_EQ(player.FileName(), "/music/a.mp3");

    // The stop was the fade's, so the next track end still advances the list.
    play();
    player.endTrack();
    DeliverNotifications();
    EXPECT_EQ(player.FileName(), "/music/b.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    ui.chkInOrOut[0]->click();
    EXPECT_EQ(ui.txtStartVolume[0]->text(), "20");
    EXPECT_EQ(ui.chkInOrOut[0]->text(), "<");
}

// What the player has received when a start fails; the button is free again in every case.
TEST_F(FadesTest, FailedStartsAreReportedAndGiveTheButtonBack) {
    const QStringList started{"Volume -3600", "Position 0", "Play"};
    struct Case {
        const char *length, *start, *end, *cue, *message;
        QStringList log;
    };
    for (const Case& c :
         {Case{"0", "20", "100", "0", "Division by zero", started},
          Case{"abc", "20", "100", "0", "Type mismatch", started},
          Case{"2000", "20", "", "0", "Type mismatch", started},
          Case{"3e9", "20", "100", "0", "Overflow", started},
          Case{"2000", "-100", "700", "0", "Overflow", {"Volume -9000", "Position 0", "Play"}},
          Case{"2000", "800", "100", "0", "Overflow", {}}, // no level for 800
          Case{"2000", "20", "100", "x", "Type mismatch", {"Volume -3600"}}}) {
        SCOPED_TRACE(c.message);
        ui.txtLength[0]->setText(c.length);
        ui.txtStartVolume[0]->setText(c.start);
        ui.txtEndVolume[0]->setText(c.end);
        ui.txtSet[0]->setText(c.cue);
        t.open(0, "/music/a.mp3");
        player.log.clear();
        w.fades.cmdFade_Click(0);
        EXPECT_EQ(t.reporter.told, std::vector<QString>{c.message});
        EXPECT_EQ(player.log, c.log);
        EXPECT_TRUE(idle());
        t.reporter.clear();
    }
    // Restarting a running fade with a bad panel leaves no fade running.
    ui.txtSet[0]->setText("0");
    ui.txtStartVolume[0]->setText("20");
    ui.txtEndVolume[0]->setText("100");
    ui.txtLength[0]->setText("2000");
    w.fades.cmdFade_Click(0);
    EXPECT_TRUE(running());
    ui.txtLength[0]->setText("0");
    w.fades.cmdFade_Click(0);
    EXPECT_EQ(t.reporter.told.size(), 1u);
    EXPECT_TRUE(idle());
}

TEST_F(FadesTest, TheSwitchDuringAFadeDecidesOnlyItsEnding) {
    // Toggled during a fade in: the steps go on upward, the deck is stopped at the end and
    // its slider keeps its value.
    ui.Volumen[0]->setValue(60);
    w.fades.cmdFade_Click(0);
    DeliverNotifications();
    tick(10);
    ui.chkInOrOut[0]->click();
    tick();
    EXPECT_EQ(player.Volume(), -3600 + 11 * 90);
    tickToEnd();
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(ui.Volumen[0]->value(), 60);

    // Toggled back during a fade out: the steps go on downward, the deck is stopped (it was a
    // fade out) and the slider takes the end box, now the old start volume.
    play();
    player.setVolume(0);
    w.fades.cmdFade_Click(0); // switch ">": 100 to 20
    tick();
    ui.chkInOrOut[0]->click();
    tick();
    EXPECT_EQ(player.Volume(), -180);
    tickToEnd();
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(ui.Volumen[0]->value(), 100);
}

TEST_F(FadesTest, AFailingTickIsToldOncePerFadeAndCountsNoStep) {
    w.fades.cmdFade_Click(0);
    player.failures["Volume"] = "The device is gone";
    tick(5);
    ASSERT_EQ(t.reporter.told, std::vector<QString>{"The device is gone"});
    EXPECT_EQ(w.fades.state(0).FadeTick, 0);
    EXPECT_TRUE(running());
    player.failures.clear();
    tick();
    EXPECT_EQ(player.Volume(), -3510);

    // A new fade tells its own failures again.
    w.fades.cmdFade_Click(0);
    player.failures["VolumeRead"] = "Lost";
    tick(2);
    EXPECT_EQ(t.reporter.told.size(), 2u);
}

TEST_F(FadesTest, AnEndVolumeTheSliderRefusesIsReportedAtTheEnd) {
    for (const char* end : {"150", "-1", "abc"}) {
        SCOPED_TRACE(end);
        ui.Volumen[0]->setValue(60);
        ui.txtLength[0]->setText("50");
        w.fades.cmdFade_Click(0);
        ui.txtEndVolume[0]->setText(end);
        tickToEnd();
        EXPECT_EQ(t.reporter.told.size(), 1u);
        EXPECT_TRUE(idle());
        EXPECT_EQ(ui.Volumen[0]->value(), 60);
        t.reporter.clear();
        ui.txtEndVolume[0]->setText("100");
    }
}
