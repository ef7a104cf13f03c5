#include "mix/Crossfader.h"
#include "mix/FadeSteps.h"
#include "support/Failure.h"

#include <QList>
#include <QStringList>
#include <gtest/gtest.h>

using namespace velmor;

// Under the volume law a deck volume v is the level 45 v - 4500 (hundredths of a dB).
TEST(FadeSteps, TheStepSpreadsTheLevelDifferenceOverTheTicksOrFails) {
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
}

TEST(FadeSteps, AFadeIsOverAfterItsStepsRoundedUpOrWhenTheCounterIsSpent) {
    const auto steps = [](int32_t lengthMs) { // the first count of steps that is over
        int16_t n = 0;
        while (!FadeIsOver(n, lengthMs))
            ++n;
        return int(n);
    };
    EXPECT_EQ((QList<int>{steps(2000), steps(2010), steps(50), steps(20), steps(-100),
                          steps(1638350), steps(2000000000)}),
              (QList<int>{40, 41, 1, 1, 0, 32767, 32767}));
}

TEST(FadeSteps, TheNextLevelStaysInRangeAndRoundsHalfToEven) {
    // Fading in: full level at most, no floor; fading out: the floor at most, and a step
    // overshooting full level swings back below it.
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
