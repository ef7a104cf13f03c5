#include "common/Widgets.h"
#include "mix/Crossfader.h"
#include "mix/FadeSteps.h"
#include "support/Failure.h"
#include "support/WindowTest.h"

using namespace velmor;
using namespace velmor::test;

namespace {
// Deck 1 has a track open.
struct FadesTest : WindowTest {
    FakePlayer& player = t.player(0);
    FadesTest() { t.open(0, "/music/a.mp3"); }
    void panel(const QString& lengthStartEndCue) { // "2000,20,100,0"
        for (int i = 0;
             auto* box : {ui.txtLength[0], ui.txtStartVolume[0], ui.txtEndVolume[0], ui.txtSet[0]})
            box->setText(lengthStartEndCue.split(',')[i++]);
    }
    void tick(int n = 1) {
        for (; n > 0; --n)
            w.fades.FadeTimer_Timer(0);
    }
    bool fading() { // the Fade button is free exactly when no fade runs
        EXPECT_EQ(ui.cmdFade[0]->isEnabled(), !ui.FadeTimer[0]->isActive());
        return ui.FadeTimer[0]->isActive();
    }
    // The deck as the user finds it: the player's state, level and position, the slider.
    QString deck() {
        const QString state =
            QStringList{"stopped", "paused", "playing"}.value(player.PlayState(), "closed");
        return QString::asprintf("%s %d at %g, slider %d%s", qUtf8Printable(state), player.Volume(),
                                 player.CurrentPosition(), ui.Volumen[0]->value(),
                                 fading() ? ", fading" : "");
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
    DeliverNotifications();
    tick(40);
    EXPECT_EQ(deck(), "playing 0 at 3, slider 60, fading");
    tick();
    EXPECT_EQ(deck(), "playing 0 at 3, slider 100");

    ui.chkInOrOut[0]->click();
    EXPECT_EQ(ui.txtStartVolume[0]->text() + " " + ui.txtEndVolume[0]->text(), "100 20");
    ui.Volumen[0]->setValue(90); // level -450
    player.log.clear();
    w.fades.cmdFade_Click(0);
    EXPECT_TRUE(player.log.isEmpty()); // no start level, playback untouched
    tick(40);
    EXPECT_EQ(deck(), "playing -4050 at 3, slider 90, fading");
    ui.txtSet[0]->setText("7");
    tick();
    EXPECT_EQ(deck(), "stopped -450 at 7, slider 90");
    // A fade in on a playing deck pauses it while its level rises.
    ui.chkInOrOut[0]->click();
    t.playPause(0);
    w.fades.cmdFade_Click(0);
    EXPECT_EQ(player.log.last(), "Pause");
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
    EXPECT_EQ(deck(), "stopped -1800 at 0, slider 60");

    t.playPause(0);
    player.setVolume(0);
    w.fades.cmdFade_Click(0); // switch ">": 100 to 20
    tick();
    ui.chkInOrOut[0]->click();
    tick();
    EXPECT_EQ(player.Volume(), -180);
    tick(39);
    EXPECT_EQ(deck(), "stopped 0 at 0, slider 100"); // the end box, now the old start volume

    for (const char* end : {"101", "-1", "abc"}) {
        panel("50,20,100,0");
        w.fades.cmdFade_Click(0);
        ui.txtEndVolume[0]->setText(end);
        t.reporter.clear();
        tick(2);
        EXPECT_TRUE(t.reporter.told.size() == 1 && !fading() && ui.Volumen[0]->value() == 100)
            << end;
    }
}

// What the player has received when a start fails; the button is free again in every case,
// also when the start was to restart a running fade (one that touches no player).
TEST_F(FadesTest, FailedStartsAreReportedAndGiveTheButtonBack) {
    // (the panel, a fade running, the failure, what the player received)
    for (const auto& [values, running, message, log] :
         std::initializer_list<std::tuple<const char*, bool, const char*, const char*>>{
             {"0,20,100,0", false, "Division by zero", "Volume -3600,Position 0,Play"},
             {"2000,20,,0", false, "Type mismatch", "Volume -3600,Position 0,Play"},
             {"2000,800,100,0", false, "Overflow", ""},
             {"2000,20,100,x", false, "Type mismatch", "Volume -3600"},
             {"0,20,100,0", true, "Division by zero", ""}}) {
        SCOPED_TRACE(values);
        panel("2000,20,100,0");
        if (running) {
            w.fades.cmdFade_Click(0);
            ui.chkInOrOut[0]->click();
            ASSERT_TRUE(fading());
        }
        panel(values);
        t.open(0, "/music/a.mp3");
        player.log.clear();
        t.reporter.clear();
        w.fades.cmdFade_Click(0);
        EXPECT_EQ(t.reporter.told, std::vector<QString>{message});
        EXPECT_EQ(player.log.join(',') + (fading() ? " and fading" : ""), log);
    }
}

// The timer keeps going after a failing step; the next fade tells its own failures again.
TEST_F(FadesTest, AFailingStepIsToldOncePerFadeAndCountsNoStep) {
    w.fades.cmdFade_Click(0);
    player.failures["Volume"] = "The device is gone";
    tick(5);
    ASSERT_EQ(t.reporter.told, std::vector<QString>{"The device is gone"});
    EXPECT_TRUE(w.fades.state(0).FadeTick == 0 && fading());
    player.failures.clear();
    tick();
    EXPECT_EQ(player.Volume(), -3510);
    w.fades.cmdFade_Click(0);
    player.failures["VolumeRead"] = "Lost";
    tick(2);
    EXPECT_EQ(t.reporter.told.size(), 2u);
}

// The slider shares the level between the active deck and the next; the last writer wins.
TEST_F(WindowTest, TheCrossfaderSharesTheLevelOfTheActiveDeckAndTheNext) {
    const auto levels = [&] {
        return QString::asprintf("%d %d %d %d", t.player(0).Volume(), t.player(1).Volume(),
                                 t.player(2).Volume(), t.player(3).Volume());
    };
    ui.Volumen[0]->setValue(45);
    ui.cross->setValue(25); // a value set by code applies like a move
    EXPECT_EQ(levels(), "-2475 -2250 0 0");
    ui.Volumen[1]->setValue(80); // a deck's own slider overrides until the next move
    EXPECT_EQ(levels(), "-2475 -900 0 0");
    ui.cross->setValue(26);
    EXPECT_EQ(levels(), "-2475 -2610 0 0"); // 2 * 26 * 80 / 100 = 41.6: 42

    // Another active deck: the old pair keeps its levels, Deck 4 pairs with Deck 1.
    ui.cross->setValue(0);
    w.activation.optPla_Click(3);
    ui.cross->setValue(100);
    EXPECT_EQ(levels(), "-2475 -4500 0 -4500");
    // A drag applies the thumb's position; deck B is written first past the middle, so a
    // failure there leaves deck A alone.
    ui.cross->setSliderDown(true);
    ui.cross->setSliderPosition(0);
    EXPECT_EQ(levels(), "-4500 -4500 0 0");
    ui.cross->setSliderDown(false);
    t.player(0).failures["Volume"] = "The device is gone";
    t.player(3).setVolume(-1000);
    ui.cross->setValue(80);
    EXPECT_EQ(levels() + " told " + QString::number(t.reporter.told.size()),
              "-4500 -4500 0 -1000 told 1");

    // With auto focus on, the crossfader takes the focus under the mouse, and only then.
    activate();
    ui.Volumen[0]->setFocus();
    QTest::mouseMove(ui.cross);
    EXPECT_TRUE(ui.Volumen[0]->hasFocus());
    ui.chkFocus->setChecked(true);
    QTest::mouseMove(ui.cross, QPoint(5, 5));
    EXPECT_TRUE(ui.cross->hasFocus());
}

// Under the volume law a deck volume v is the level 45 v - 4500 (hundredths of a dB).
TEST(FadeSteps, EachTickMovesOneStepWithinRangeUntilTheStepsRoundedUpAreSpent) {
    // The step to nine digits (a float exactly), or the failure's description.
    const auto step = [](bool out, int32_t lengthMs, int16_t start, int16_t end) {
        float size = 0;
        const QString failure =
            test::FailureOf([&] { size = FadeStepSize(out, lengthMs, start, end); });
        return failure.isEmpty() ? QString::number(size, 'g', 9) : failure;
    };
    // -3600 to 0 in 40 steps, positive both ways the usual way; 20 ms is 2.5 times the whole;
    // -31500 to 27000 is past 32767, a volume of 729 past the volume law's range.
    EXPECT_EQ((QStringList{
                  step(false, 2000, 20, 100), step(true, 2000, 100, 20), step(false, 2000, 80, 30),
                  step(true, 2000, 20, 100), step(false, 2010, 20, 100), step(false, 20, 20, 100),
                  step(false, -100, 20, 100), step(false, 0, 20, 100), step(false, 2000, -600, 700),
                  step(true, 2000, 700, -600), step(false, 2000, 20, 729)}),
              (QStringList{"90", "90", "-56.25", "-90", QString::number(float(3600 / 40.2), 'g', 9),
                           "9000", "-1800", kDivisionByZero, kOverflow, kOverflow, kOverflow}));

    const auto steps = [](int32_t lengthMs) { // the first count of steps that is over
        int16_t n = 0;
        while (!FadeIsOver(n, lengthMs))
            ++n;
        return int(n);
    };
    EXPECT_EQ((QList<int>{steps(2000), steps(2010), steps(50), steps(20), steps(-100),
                          steps(1638350), steps(2000000000)}),
              (QList<int>{40, 41, 1, 1, 0, 32767, 32767}));

    // The next level stays in range and rounds half to even. Fading in: full level at most, no
    // floor; fading out: the floor at most, and a step overshooting full level swings back below
    // it.
    const auto in = [](int32_t current, float step) { return NextFadeLevel(false, current, step); };
    const auto out = [](int32_t current, float step) { return NextFadeLevel(true, current, step); };
    EXPECT_EQ(
        (QList<int32_t>{in(-3600, 90), in(-50, 90), in(-4480, -90), in(-3600, 89.5f),
                        in(-3601, 89.5f), out(0, 90), out(-4450, 90), out(-4500, 90),
                        out(-4500, -90), out(-40, -90), out(0, -90), out(-90, -90)}),
        (QList<int32_t>{-3510, 0, -4570, -3510, -3512, -90, -4500, -4500, -4410, -50, -90, 0}));
}

TEST(CrossfadeVolumes, OneDeckAtItsOwnSettingTheOtherTurnedDownInProportion) {
    const auto shares = [](int32_t position, int32_t a, int32_t b) { // "A's share/B's share"
        const CrossfadeVolumes v = CrossfadeVolumesAt(position, a, b);
        return QString("%1/%2").arg(v.a).arg(v.b);
    };
    EXPECT_EQ((QStringList{shares(0, 100, 100), shares(25, 100, 100), shares(50, 100, 100),
                           shares(51, 100, 100), shares(75, 100, 100), shares(100, 100, 100),
                           shares(25, 70, 33), shares(60, 45, 80)})
                  .join(' '),
              "100/0 100/50 100/100 98/100 50/100 0/100 70/16 36/80"); // 16.5 to the even 16
    for (int d = 0; d < 4; ++d)
        EXPECT_EQ(NextDeck(d), (d + 1) % 4);
}
