#include "common/Twips.h"
#include "common/Widgets.h"
#include "deck/VolumeLaw.h"
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

    void play(int d = 0) {
        w.transport.cmdPlayPause_Click(d);
        DeliverNotifications();
    }
    bool running(int d = 0) const {
        return !ui.cmdFade[d]->isEnabled() && ui.cmdFade[d]->text() == "Fading..." &&
               ui.FadeTimer[d]->isActive();
    }
    bool idle(int d = 0) const {
        return ui.cmdFade[d]->isEnabled() && ui.cmdFade[d]->text() == "Fade" &&
               !ui.FadeTimer[d]->isActive();
    }
    // Ticks until the fade ends and returns how many ticks it took, the ending included.
    int ticksToEnd(int d = 0) {
        for (int n = 1; n <= 100; ++n) {
            w.fades.FadeTimer_Timer(d);
            if (!ui.FadeTimer[d]->isActive())
                return n;
        }
        return -1;
    }
    void setPanel(const char* length, const char* start, const char* end) {
        ui.txtLength[0]->setText(length);
        ui.txtStartVolume[0]->setText(start);
        ui.txtEndVolume[0]->setText(end);
    }
};
} // namespace

TEST_F(FadesTest, DefaultFadeInStartsTheDeckFromTheCueAndRisesToFullLevel) {
    ui.Volumen[0]->setValue(60);
    player.log.clear();
    w.fades.cmdFade_Click(0);
    EXPECT_EQ(player.log, (QStringList{"Volume -3600", "Position 0", "Play"}));
    EXPECT_TRUE(running());
    EXPECT_EQ(ui.FadeTimer[0]->interval(), 50);
    DeliverNotifications();

    for (int tick = 1; tick <= 40; ++tick) {
        w.fades.FadeTimer_Timer(0);
        ASSERT_EQ(player.Volume(), -3600 + 90 * tick) << tick;
    }
    EXPECT_TRUE(running()); // at full level, but the fade ends on the next tick
    w.fades.FadeTimer_Timer(0);
    EXPECT_TRUE(idle());
    EXPECT_EQ(ui.Volumen[0]->value(), 100);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_FALSE(player.log.contains("Stop"));
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(FadesTest, TheSwitchSwapsTheVolumesAndDefaultFadeOutStopsTheDeckAtTheEnd) {
    ui.chkInOrOut[0]->click();
    EXPECT_EQ(ui.txtStartVolume[0]->text(), "100");
    EXPECT_EQ(ui.txtEndVolume[0]->text(), "20");
    EXPECT_EQ(ui.chkInOrOut[0]->text(), ">");
    EXPECT_EQ(ui.chkInOrOut[0]->x(), TwipsToPixels(3450));

    play();
    ui.Volumen[0]->setValue(90); // level -450
    player.log.clear();
    w.fades.cmdFade_Click(0);
    EXPECT_TRUE(player.log.isEmpty()); // no start level, playback untouched
    for (int tick = 1; tick <= 40; ++tick) {
        w.fades.FadeTimer_Timer(0);
        ASSERT_EQ(player.Volume(), std::max(-4500, -450 - 90 * tick)) << tick;
    }
    player.setPosition(60);
    ui.txtSet[0]->setText("7");
    player.log.clear();
    w.fades.FadeTimer_Timer(0);
    EXPECT_TRUE(idle());
    // A stop by the user: back to the slider's level and the cue, on the same entry.
    EXPECT_EQ(player.log.first(), "Stop");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(ui.Volumen[0]->value(), 90);
    EXPECT_EQ(player.Volume(), -450);
    EXPECT_EQ(player.CurrentPosition(), 7);
    EXPECT_EQ(player.FileName(), "/music/a.mp3");

    ui.chkInOrOut[0]->click();
    EXPECT_EQ(ui.txtStartVolume[0]->text(), "20");
    EXPECT_EQ(ui.chkInOrOut[0]->text(), "<");
    EXPECT_EQ(ui.chkInOrOut[0]->x(), TwipsToPixels(3660));
}

TEST_F(FadesTest, AfterAFadeOutTheNextTrackEndStillAdvances) {
    for (const bool playing : {true, false}) { // a stopped deck's stop raises no notification
        SCOPED_TRACE(playing);
        t.open(0, "/music/a.mp3");
        w.decks.TrackNumber[0] = 1;
        if (playing)
            play();
        ui.chkInOrOut[0]->setChecked(true);
        ui.txtLength[0]->setText("50");
        w.fades.cmdFade_Click(0);
        ticksToEnd();
        EXPECT_EQ(player.FileName(), "/music/a.mp3");
        play();
        player.endTrack();
        DeliverNotifications();
        EXPECT_EQ(player.FileName(), "/music/b.mp3");
        EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    }
}

TEST_F(FadesTest, LengthsEndOnTheTickAfterTheirStepsRoundedUp) {
    struct Case {
        const char* length;
        int ticks;
        int lastLevel;
    };
    for (const Case c : {Case{"2010", 42, 0}, Case{"20", 2, 0}, Case{"50", 2, 0},
                         Case{"-100", 1, -3600}, Case{"1999.6", 41, 0}}) {
        SCOPED_TRACE(c.length);
        ui.txtLength[0]->setText(c.length);
        w.fades.cmdFade_Click(0);
        DeliverNotifications();
        player.log.clear();
        EXPECT_EQ(ticksToEnd(), c.ticks);
        EXPECT_EQ(player.log.filter("Volume").size(), c.ticks - 1); // one per step
        EXPECT_EQ(ui.Volumen[0]->value(), 100);
        player.setVolume(c.lastLevel);
    }
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(FadesTest, The2010msFadeTakesItsLastStepPastTheEndButNeverAboveFullLevel) {
    ui.txtLength[0]->setText("2010");
    ui.txtEndVolume[0]->setText("90"); // level -450
    w.fades.cmdFade_Click(0);
    for (int tick = 1; tick <= 41; ++tick)
        w.fades.FadeTimer_Timer(0);
    // 41 steps of 3150 / 40.2 = 78.36, each rounded to 78 on the way: slightly past -450.
    EXPECT_EQ(player.Volume(), -3600 + 41 * 78);
    EXPECT_TRUE(running());
}

TEST_F(FadesTest, FailedStartsAreReportedAndGiveTheButtonBack) {
    struct Case {
        const char *length, *start, *end, *message;
    };
    for (const Case c :
         {Case{"0", "20", "100", "Division by zero"}, Case{"abc", "20", "100", "Type mismatch"},
          Case{"2000", "20", "", "Type mismatch"}, Case{"3e9", "20", "100", "Overflow"},
          Case{"2000", "-100", "700", "Overflow"}}) { // -9000 to 27000
        SCOPED_TRACE(c.message);
        setPanel(c.length, c.start, c.end);
        w.fades.cmdFade_Click(0); // a fade in: its start already took effect
        EXPECT_EQ(t.reporter.told, std::vector<QString>{c.message});
        EXPECT_TRUE(idle());
        EXPECT_EQ(player.Volume(), VolumeToPlayerLevel(QString(c.start).toInt()));
        t.reporter.clear();
    }
    setPanel("2000", "20", "100");

    // Restarting a running fade with a bad panel leaves no fade running.
    w.fades.cmdFade_Click(0);
    EXPECT_TRUE(running());
    ui.txtLength[0]->setText("0");
    w.fades.cmdFade_Click(0);
    EXPECT_EQ(t.reporter.told.size(), 1u);
    EXPECT_TRUE(idle());
}

TEST_F(FadesTest, BadStartVolumeOrCueIsReportedBeforeTheFadeButtonIsTouched) {
    player.log.clear();
    ui.txtStartVolume[0]->setText("800"); // past the volume law's 16-bit range
    w.fades.cmdFade_Click(0);
    ASSERT_FALSE(t.reporter.empty());
    EXPECT_EQ(t.reporter.last().text, "Overflow");
    EXPECT_TRUE(idle());
    EXPECT_TRUE(player.log.isEmpty());

    ui.txtStartVolume[0]->setText("20");
    ui.txtSet[0]->setText("x");
    player.log.clear();
    w.fades.cmdFade_Click(0);
    ASSERT_EQ(t.reporter.messages.size(), 2u);
    EXPECT_EQ(t.reporter.last().text, "Type mismatch");
    EXPECT_EQ(player.log, QStringList{"Volume -3600"}); // the level only
    EXPECT_TRUE(idle());
}

TEST_F(FadesTest, ReversedVolumesFadeTheOtherWay) {
    // A fade in to a lower volume goes down to it.
    setPanel("2000", "80", "30");
    w.fades.cmdFade_Click(0);
    EXPECT_EQ(player.Volume(), -900);
    EXPECT_EQ(ticksToEnd(), 41);
    EXPECT_EQ(ui.Volumen[0]->value(), 30);

    // A fade out from a lower start climbs towards full level and swings just below it.
    ui.chkInOrOut[0]->click(); // start 30, end 80
    ui.txtStartVolume[0]->setText("20");
    ui.txtEndVolume[0]->setText("100");
    player.setVolume(-900);
    w.fades.cmdFade_Click(0);
    int previous = -900;
    for (int tick = 1; tick <= 40; ++tick) {
        w.fades.FadeTimer_Timer(0);
        ASSERT_LE(player.Volume(), 0);
        ASSERT_LE(std::abs(player.Volume() - previous), 90);
        previous = player.Volume();
    }
    EXPECT_GE(player.Volume(), -90);
}

TEST_F(FadesTest, TheSwitchDuringAFadeDecidesOnlyItsEnding) {
    // Toggled during a fade in: the steps go on upward, the deck is stopped at the end and
    // its slider keeps its value.
    ui.Volumen[0]->setValue(60);
    w.fades.cmdFade_Click(0);
    DeliverNotifications();
    for (int tick = 0; tick < 10; ++tick)
        w.fades.FadeTimer_Timer(0);
    ui.chkInOrOut[0]->click();
    w.fades.FadeTimer_Timer(0);
    EXPECT_EQ(player.Volume(), -3600 + 11 * 90);
    ticksToEnd();
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(ui.Volumen[0]->value(), 60);
    EXPECT_FALSE(w.decks.StoppedByUser[0]);

    // Toggled back during a fade out: the steps go on downward, the deck is stopped (it was a
    // fade out) and the slider takes the end box, now the old start volume.
    play();
    player.setVolume(0);
    w.fades.cmdFade_Click(0); // switch ">": 100 to 20
    w.fades.FadeTimer_Timer(0);
    ui.chkInOrOut[0]->click();
    w.fades.FadeTimer_Timer(0);
    EXPECT_EQ(player.Volume(), -180);
    ticksToEnd();
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(ui.Volumen[0]->value(), 100);
}

TEST_F(FadesTest, FadeInOnAPlayingDeckPausesItWhileTheLevelRises) {
    play();
    player.log.clear();
    w.fades.cmdFade_Click(0);
    EXPECT_EQ(player.log.last(), "Pause");
    DeliverNotifications();
    w.fades.FadeTimer_Timer(0);
    EXPECT_EQ(player.Volume(), -3510);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Paused);
}

TEST_F(FadesTest, AFailingTickIsToldOncePerFadeAndCountsNoStep) {
    w.fades.cmdFade_Click(0);
    player.failures["Volume"] = "The device is gone";
    for (int tick = 0; tick < 5; ++tick)
        w.fades.FadeTimer_Timer(0);
    ASSERT_EQ(t.reporter.told, std::vector<QString>{"The device is gone"});
    EXPECT_EQ(w.fades.state(0).FadeTick, 0);
    EXPECT_TRUE(running());

    player.failures.clear();
    w.fades.FadeTimer_Timer(0);
    EXPECT_EQ(player.Volume(), -3510);

    // A new fade tells its own failures again.
    w.fades.cmdFade_Click(0);
    player.failures["VolumeRead"] = "Lost";
    w.fades.FadeTimer_Timer(0);
    w.fades.FadeTimer_Timer(0);
    EXPECT_EQ(t.reporter.told.size(), 2u);
}

TEST_F(FadesTest, AnEndVolumeTheSliderRefusesIsReportedAtTheEnd) {
    for (const char* end : {"150", "abc"}) {
        SCOPED_TRACE(end);
        ui.Volumen[0]->setValue(60);
        ui.txtLength[0]->setText("50");
        w.fades.cmdFade_Click(0);
        ui.txtEndVolume[0]->setText(end);
        ticksToEnd();
        EXPECT_EQ(t.reporter.told.size(), 1u);
        EXPECT_TRUE(idle());
        EXPECT_EQ(ui.Volumen[0]->value(), 60);
        t.reporter.clear();
        ui.txtEndVolume[0]->setText("100");
    }
}

TEST_F(FadesTest, AFadeLongerThanTheStepCounterEndsWhenItIsSpent) {
    ui.txtLength[0]->setText("2000000000");
    w.fades.cmdFade_Click(0);
    for (int tick = 0; tick < 32767; ++tick)
        w.fades.FadeTimer_Timer(0);
    EXPECT_EQ(w.fades.state(0).FadeTick, 32767);
    EXPECT_TRUE(running());
    w.fades.FadeTimer_Timer(0);
    EXPECT_TRUE(idle());
    EXPECT_TRUE(t.reporter.empty());
}
