#include "common/Error.h"
#include "mix/Crossfader.h"
#include "mix/FadeSteps.h"

#include "support/Failure.h"

#include <gtest/gtest.h>

using namespace velmor;

using velmor::test::FailureOf;

TEST(FadeSteps, StepSpreadsTheLevelDifferenceOverTheTicks) {
    EXPECT_EQ(FadeStepSize(false, 2000, 20, 100), 90.0f); // -3600 to 0 in 40 steps
    EXPECT_EQ(FadeStepSize(true, 2000, 100, 20), 90.0f);  // the usual way is positive both ways
    EXPECT_EQ(FadeStepSize(false, 2000, 80, 30), -56.25f);
    EXPECT_EQ(FadeStepSize(true, 2000, 20, 100), -90.0f);
    EXPECT_EQ(FadeStepSize(false, 2010, 20, 100), float(3600 / 40.2)); // single precision
    EXPECT_EQ(FadeStepSize(false, 20, 20, 100), 9000.0f);              // 2.5 times the whole
    EXPECT_EQ(FadeStepSize(false, -100, 20, 100), -1800.0f);
}

TEST(FadeSteps, StepFailsOnZeroLengthAndOnA16BitLevelOverflow) {
    EXPECT_EQ(FailureOf([] { FadeStepSize(false, 0, 20, 100); }), kDivisionByZero);
    // -31500 to 27000 is a difference past 32767.
    EXPECT_EQ(FailureOf([] { FadeStepSize(false, 2000, -600, 700); }), kOverflow);
    EXPECT_EQ(FailureOf([] { FadeStepSize(true, 2000, 700, -600); }), kOverflow);
    EXPECT_EQ(FailureOf([] { FadeStepSize(false, 2000, 20, 729); }), kOverflow); // volume law
}

TEST(FadeSteps, FadeIsOverAfterItsStepsRoundedUpOrWhenTheCounterIsExhausted) {
    struct Case {
        int32_t lengthMs;
        int16_t lastStep; // the fade is over once this many steps are done
    };
    for (const Case c : {Case{2000, 40}, Case{2010, 41}, Case{50, 1}, Case{20, 1}, Case{-100, 0},
                         Case{1638350, 32767}}) {
        SCOPED_TRACE(c.lengthMs);
        if (c.lastStep > 0) {
            EXPECT_FALSE(FadeIsOver(int16_t(c.lastStep - 1), c.lengthMs));
        }
        EXPECT_TRUE(FadeIsOver(c.lastStep, c.lengthMs));
    }
    // Longer than the counter can count: it ends at the counter's last value.
    EXPECT_FALSE(FadeIsOver(32766, 2000000000));
    EXPECT_TRUE(FadeIsOver(32767, 2000000000));
}

TEST(FadeSteps, FadeInClampsAtFullLevelOnlyAndRoundsHalfToEven) {
    EXPECT_EQ(NextFadeLevel(false, -3600, 90), -3510);
    EXPECT_EQ(NextFadeLevel(false, -50, 90), 0);
    EXPECT_EQ(NextFadeLevel(false, -4480, -90), -4570);   // no floor of its own
    EXPECT_EQ(NextFadeLevel(false, -3600, 89.5f), -3510); // -3510.5
    EXPECT_EQ(NextFadeLevel(false, -3601, 89.5f), -3512); // -3511.5
}

TEST(FadeSteps, FadeOutStaysBetweenTheFloorAndFullLevel) {
    EXPECT_EQ(NextFadeLevel(true, 0, 90), -90);
    EXPECT_EQ(NextFadeLevel(true, -4450, 90), -4500);
    EXPECT_EQ(NextFadeLevel(true, -4500, 90), -4500);
    // A negative step climbs, then swings back below full level.
    EXPECT_EQ(NextFadeLevel(true, -4500, -90), -4410);
    EXPECT_EQ(NextFadeLevel(true, -40, -90), -50);
    EXPECT_EQ(NextFadeLevel(true, 0, -90), -90);
    EXPECT_EQ(NextFadeLevel(true, -90, -90), 0);
}

TEST(CrossfadeVolumes, OneDeckAtItsOwnSettingTheOtherTurnedDownInProportion) {
    struct Case {
        int32_t position;
        int16_t a, b;
    };
    for (const Case c : {Case{0, 100, 0}, Case{25, 100, 50}, Case{50, 100, 100}, Case{51, 98, 100},
                         Case{75, 50, 100}, Case{100, 0, 100}}) {
        SCOPED_TRACE(c.position);
        const CrossfadeVolumes v = CrossfadeVolumesAt(c.position, 100, 100);
        EXPECT_EQ(v.a, c.a);
        EXPECT_EQ(v.b, c.b);
    }
    EXPECT_EQ(CrossfadeVolumesAt(25, 70, 33).b, 16); // 16.5 goes to the even neighbour
    EXPECT_EQ(CrossfadeVolumesAt(25, 70, 33).a, 70);
    EXPECT_EQ(CrossfadeVolumesAt(60, 45, 80).a, 36);
    EXPECT_EQ(CrossfadeVolumesAt(60, 45, 80).b, 80);
    EXPECT_EQ(NextDeck(3), 0);
    EXPECT_EQ(NextDeck(0), 1);
}
