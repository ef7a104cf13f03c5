#include "common/Widgets.h"
#include "support/WindowTest.h"

using namespace velmor;
using namespace velmor::test;

namespace {

// Deck 1 has a track open.
struct FadesTest : WindowTest {
    FakePlayer& player = t.player(0);
    FadesTest() { t.open(0, "/music/a.mp3"); }
    // The fade panel's boxes: its length, start and end volumes and the cue.
    void panel(const char* length, const char* start, const char* end, const char* cue) {
        ui.txtLength[0]->setText(length);
        ui.txtStartVolume[0]->setText(start);
        ui.txtEndVolume[0]->setText(end);
        ui.txtSet[0]->setText(cue);
    }
    void tick(int n = 1) {
        for (; n > 0; --n)
            w.fades.FadeTimer_Timer(0);
    }
    bool fading() { // the Fade button is free exactly when no fade runs
        EXPECT_EQ(ui.cmdFade[0]->isEnabled(), !ui.FadeTimer[0]->isActive());
        return ui.FadeTimer[0]->isActive();
    }
    int slider() const { return ui.Volumen[0]->value(); }
    // A fade in of deck 1 at volume 60, started and run `ticks` ticks.
    void fadeInFrom60(int ticks) {
        ui.Volumen[0]->setValue(60);
        w.fades.cmdFade_Click(0);
        DeliverNotifications();
        tick(ticks);
    }
};

} // namespace

// In: from the start volume (20: -3600) and the cue, 40 steps to full level.
TEST_F(FadesTest, AFadeInStartsFromTheStartVolumeAtTheCue) {
    ui.Volumen[0]->setValue(60);
    ui.txtSet[0]->setText("3"); // the cue, in seconds
    player.log.clear();
    w.fades.cmdFade_Click(0);
    EXPECT_EQ(player.log, (QStringList{"Volume -3600", "Position 3", "Play"}));
}

TEST_F(FadesTest, AFadeInReachesFullLevelIn40StepsAndIsOverOnThe41stTick) {
    ui.txtSet[0]->setText("3");
    fadeInFrom60(40);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(player.Volume(), 0);
    EXPECT_EQ(player.CurrentPosition(), 3);
    EXPECT_EQ(slider(), 60);
    EXPECT_TRUE(fading());
    tick();
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(slider(), 100);
    EXPECT_FALSE(fading());
}

// The switch turned to out swaps the start and end boxes.
TEST_F(FadesTest, TheSwitchTurnedToOutSwapsTheVolumes) {
    ui.chkInOrOut[0]->click();
    EXPECT_EQ(ui.txtStartVolume[0]->text(), "100");
    EXPECT_EQ(ui.txtEndVolume[0]->text(), "20");
}

// Out: from the level playing, no start level and playback untouched, down to the floor.
TEST_F(FadesTest, AFadeOutStartsFromTheLevelPlaying) {
    t.playPause(0);
    ui.chkInOrOut[0]->click();
    ui.Volumen[0]->setValue(90); // level -450
    player.log.clear();
    w.fades.cmdFade_Click(0);
    EXPECT_TRUE(player.log.isEmpty());
    tick(40);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(player.Volume(), -4050);
    EXPECT_TRUE(fading());
}

// At its end a fade out stops the deck back at the slider's level and at the cue.
TEST_F(FadesTest, AFadeOutStopsAtTheEndBackAtTheSliderAndTheCue) {
    t.playPause(0);
    ui.chkInOrOut[0]->click();
    ui.Volumen[0]->setValue(90);
    w.fades.cmdFade_Click(0);
    tick(40);
    ui.txtSet[0]->setText("7");
    tick();
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.Volume(), -450);
    EXPECT_EQ(player.CurrentPosition(), 7);
    EXPECT_EQ(slider(), 90);
    EXPECT_FALSE(fading());
}

// A fade in on a playing deck pauses it while its level rises.
TEST_F(FadesTest, AFadeInOnAPlayingDeckPausesIt) {
    t.playPause(0);
    w.fades.cmdFade_Click(0);
    EXPECT_EQ(player.log.last(), "Pause");
}

// Toggled during a fade, the switch leaves the steps' direction alone; at the end the deck
// stops when the switch says out, and the slider stays.
TEST_F(FadesTest, TheSwitchTurnedOutDuringAFadeInStopsTheDeckAtItsEnd) {
    fadeInFrom60(10);
    ui.chkInOrOut[0]->click();
    tick();
    EXPECT_EQ(player.Volume(), -2610); // -3600 and 11 steps of 90: still rising
    tick(31);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.Volume(), -1800);
    EXPECT_EQ(player.CurrentPosition(), 0);
    EXPECT_EQ(slider(), 60);
    EXPECT_FALSE(fading());
}

// A fade out stops the deck whatever the switch says then; the slider takes the end box
// unless the switch says out.
TEST_F(FadesTest, TheSwitchTurnedInDuringAFadeOutStillStopsTheDeckAndTheSliderTakesTheEnd) {
    ui.Volumen[0]->setValue(60);
    ui.chkInOrOut[0]->click(); // ">": 100 to 20
    t.playPause(0);
    player.setVolume(0);
    w.fades.cmdFade_Click(0);
    tick();
    ui.chkInOrOut[0]->click();
    tick();
    EXPECT_EQ(player.Volume(), -180); // still falling
    tick(39);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.Volume(), 0);
    EXPECT_EQ(slider(), 100); // the end box, now the old start volume
    EXPECT_FALSE(fading());
}

// An end volume the slider refuses is told at the end, and the slider stays.
TEST_F(FadesTest, AnEndVolumeTheSliderRefusesIsToldAtTheEnd) {
    for (const char* end : {"101", "-1", "abc"}) {
        SCOPED_TRACE(end);
        panel("50", "20", "100", "0");
        w.fades.cmdFade_Click(0);
        ui.txtEndVolume[0]->setText(end);
        t.reporter.clear();
        tick(2);
        EXPECT_EQ(t.reporter.told.size(), 1u);
        EXPECT_FALSE(fading());
        EXPECT_EQ(slider(), 100);
    }
}

// What the player has received when a start fails, and the failure told; the button is free
// again in every case.
TEST_F(FadesTest, FailedStartsAreReportedAndGiveTheButtonBack) {
    struct Case {
        const char *length, *start, *end, *cue, *message;
        QStringList received;
    };
    const Case cases[] = {
        {"0", "20", "100", "0", "Division by zero", {"Volume -3600", "Position 0", "Play"}},
        {"2000", "20", "", "0", "Type mismatch", {"Volume -3600", "Position 0", "Play"}},
        {"2000", "800", "100", "0", "Overflow", {}},
        {"2000", "20", "100", "x", "Type mismatch", {"Volume -3600"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        panel(c.length, c.start, c.end, c.cue);
        t.open(0, "/music/a.mp3");
        player.log.clear();
        t.reporter.clear();
        w.fades.cmdFade_Click(0);
        EXPECT_EQ(t.reporter.told, std::vector<QString>{c.message});
        EXPECT_EQ(player.log, c.received);
        EXPECT_FALSE(fading());
    }
}

// Restarting a running fade touches no player; a failure then frees the button too.
TEST_F(FadesTest, AFailedRestartOfARunningFadeGivesTheButtonBack) {
    w.fades.cmdFade_Click(0);
    ui.chkInOrOut[0]->click();
    ASSERT_TRUE(fading());
    panel("0", "20", "100", "0");
    t.open(0, "/music/a.mp3");
    player.log.clear();
    t.reporter.clear();
    w.fades.cmdFade_Click(0);
    EXPECT_EQ(t.reporter.told, std::vector<QString>{"Division by zero"});
    EXPECT_TRUE(player.log.isEmpty());
    EXPECT_FALSE(fading());
}

// The timer keeps going after a failing step, which counts no step; the next fade tells its
// own failures again.
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
    w.fades.cmdFade_Click(0);
    player.failures["VolumeRead"] = "Lost";
    tick(2);
    EXPECT_EQ(t.reporter.told.size(), 2u);
}
