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
};

} // namespace

// A fade in, a step every 50 ms; at its end the slider takes the end box's volume.
TEST_F(FadesTest, AFadeInRunsOnTheTimerAndLeavesTheSliderAtTheEndVolume) {
    ui.Volumen[0]->setValue(60);
    w.fades.cmdFade_Click(0);
    EXPECT_EQ(ui.cmdFade[0]->text(), "Fading...");
    EXPECT_EQ(ui.FadeTimer[0]->interval(), 50);
    EXPECT_TRUE(fading());
    tick(41);
    EXPECT_EQ(slider(), 100);
    EXPECT_EQ(ui.cmdFade[0]->text(), "Fade");
    EXPECT_FALSE(fading());
}

// The switch turned to out swaps the start and end boxes; a fade out sets no start level and
// no cue, and leaves playback untouched.
TEST_F(FadesTest, TheSwitchTurnedToOutSwapsTheVolumesAndAFadeOutLeavesThePlayerAlone) {
    ui.chkInOrOut[0]->click();
    EXPECT_EQ(ui.txtStartVolume[0]->text(), "100");
    EXPECT_EQ(ui.txtEndVolume[0]->text(), "20");
    player.log.clear();
    w.fades.cmdFade_Click(0);
    EXPECT_TRUE(player.log.isEmpty());
}

// Toggled during a fade, the switch decides the ending as it stands then: turned out, the
// deck stops and the slider stays.
TEST_F(FadesTest, TheSwitchTurnedOutDuringAFadeInStopsTheDeckAtItsEnd) {
    ui.Volumen[0]->setValue(60);
    w.fades.cmdFade_Click(0);
    tick(10);
    ui.chkInOrOut[0]->click();
    tick(31);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(slider(), 60);
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
