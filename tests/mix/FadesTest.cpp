#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
// Deck 1 has a track open.
struct FadesTest : WindowTest {
    FakePlayer& player = t.player(0);
    FadesTest() { t.open(0, "/music/a.mp3"); }
    void panel(const char* length, const char* start, const char* end, const char* cue) {
        ui.txtLength[0]->setText(length);
        ui.txtStartVolume[0]->setText(start);
        ui.txtEndVolume[0]->setText(end);
        ui.txtSet[0]->setText(cue);
    }
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i)
            w.fades.FadeTimer_Timer(0);
    }
    // Whether a fade runs; the Fade button is free exactly when none does.
    bool fading() {
        EXPECT_EQ(ui.cmdFade[0]->isEnabled(), !ui.FadeTimer[0]->isActive());
        return ui.FadeTimer[0]->isActive();
    }
};
} // namespace

// In: from the start volume and the cue, 40 steps to full level, over on the 41st tick.
// Out: from the level playing, down to the floor, then stopped back at the slider and cue.
TEST_F(FadesTest, AFadeInStartsFromTheCueAndAFadeOutStopsAtTheEnd) {
    ui.Volumen[0]->setValue(60);
    ui.txtSet[0]->setText("3"); // the cue, in seconds
    player.log.clear();
    w.fades.cmdFade_Click(0);
    EXPECT_EQ(player.log, (QStringList{"Volume -3600", "Position 3", "Play"}));
    EXPECT_EQ(ui.FadeTimer[0]->interval(), 50);
    DeliverNotifications();
    tick(39);
    EXPECT_EQ(player.Volume(), -90);
    tick();
    EXPECT_TRUE(fading());
    tick();
    EXPECT_FALSE(fading());
    EXPECT_EQ(ui.Volumen[0]->value(), 100);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);

    ui.chkInOrOut[0]->click();
    EXPECT_EQ(ui.txtStartVolume[0]->text() + " " + ui.txtEndVolume[0]->text(), "100 20");
    ui.Volumen[0]->setValue(90); // level -450
    player.log.clear();
    w.fades.cmdFade_Click(0);
    EXPECT_TRUE(player.log.isEmpty()); // no start level, playback untouched
    tick(40);
    EXPECT_EQ(player.Volume(), -450 - 3600);
    ui.txtSet[0]->setText("7");
    tick();
    EXPECT_FALSE(fading());
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.Volume(), -450);
    EXPECT_EQ(player.CurrentPosition(), 7);
    EXPECT_EQ(ui.Volumen[0]->value(), 90);
    // A fade in on a playing deck pauses it while its level rises.
    ui.chkInOrOut[0]->click();
    t.playPause(0);
    w.fades.cmdFade_Click(0);
    EXPECT_EQ(player.log.last(), "Pause");
}

// What the player has received when a start fails; the button is free again in every case,
// also when the start was to restart a running fade.
TEST_F(FadesTest, FailedStartsAreReportedAndGiveTheButtonBack) {
    const QStringList started{"Volume -3600", "Position 0", "Play"};
    struct Case {
        const char *length, *start, *end, *cue, *message;
        QStringList log;
        bool running;
    };
    for (const Case& c : {Case{"0", "20", "100", "0", "Division by zero", started, false},
                          Case{"2000", "20", "", "0", "Type mismatch", started, false},
                          Case{"2000", "800", "100", "0", "Overflow", {}, false},
                          Case{"2000", "20", "100", "x", "Type mismatch", {"Volume -3600"}, false},
                          Case{"0", "20", "100", "0", "Division by zero", {}, true}}) {
        SCOPED_TRACE(c.message);
        panel("2000", "20", "100", "0");
        if (c.running) {
            w.fades.cmdFade_Click(0);
            ui.chkInOrOut[0]->click(); // a restart that touches no player
            ASSERT_TRUE(fading());
        }
        panel(c.length, c.start, c.end, c.cue);
        t.open(0, "/music/a.mp3");
        player.log.clear();
        t.reporter.clear();
        w.fades.cmdFade_Click(0);
        EXPECT_EQ(t.reporter.told, std::vector<QString>{c.message});
        EXPECT_EQ(player.log, c.log);
        EXPECT_FALSE(fading());
    }
}

// Toggled during a fade, the switch leaves the steps' direction alone; at the end the deck
// stops when the switch or the fade says out, and the slider takes the end box unless the
// switch says out; an end volume the slider refuses is told then.
TEST_F(FadesTest, TheSwitchDuringAFadeDecidesOnlyItsEnding) {
    ui.Volumen[0]->setValue(60);
    w.fades.cmdFade_Click(0);
    DeliverNotifications();
    tick(10);
    ui.chkInOrOut[0]->click();
    tick();
    EXPECT_EQ(player.Volume(), -3600 + 11 * 90);
    tick(31);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(ui.Volumen[0]->value(), 60);

    t.playPause(0);
    player.setVolume(0);
    w.fades.cmdFade_Click(0); // switch ">": 100 to 20
    tick();
    ui.chkInOrOut[0]->click();
    tick();
    EXPECT_EQ(player.Volume(), -180);
    tick(39);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(ui.Volumen[0]->value(), 100); // the end box, now the old start volume

    for (const char* end : {"101", "-1", "abc"}) {
        SCOPED_TRACE(end);
        panel("50", "20", "100", "0");
        w.fades.cmdFade_Click(0);
        ui.txtEndVolume[0]->setText(end);
        t.reporter.clear();
        tick(2);
        EXPECT_EQ(t.reporter.told.size(), 1u);
        EXPECT_FALSE(fading());
        EXPECT_EQ(ui.Volumen[0]->value(), 100);
    }
}

TEST_F(FadesTest, AFailingStepIsToldOncePerFadeAndCountsNoStep) {
    w.fades.cmdFade_Click(0);
    player.failures["Volume"] = "The device is gone";
    tick(5);
    ASSERT_EQ(t.reporter.told, std::vector<QString>{"The device is gone"});
    EXPECT_EQ(w.fades.state(0).FadeTick, 0);
    EXPECT_TRUE(fading());
    player.failures.clear();
    tick();
    EXPECT_EQ(player.Volume(), -3510);
    w.fades.cmdFade_Click(0); // a new fade tells its own failures again
    player.failures["VolumeRead"] = "Lost";
    tick(2);
    EXPECT_EQ(t.reporter.told.size(), 2u);
}
