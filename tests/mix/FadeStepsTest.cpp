#include "mix/FadeSteps.h"
#include "support/Failure.h"

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::FailureOf;

// Under the volume law a deck volume v is the level 45 v - 4500 (hundredths of a dB): a fade
// from 20 to 100 goes from -3600 to 0.

// In 2000 ms, 40 steps; positive both ways when the fade goes the usual way. A length not a
// multiple of 50 spreads over the exact steps.
TEST(FadeStepSizeTest, TheLevelDifferenceOverOneStepEvery50Ms) {
    EXPECT_FLOAT_EQ(FadeStepSize(false, 2000, 20, 100), 90);
    EXPECT_FLOAT_EQ(FadeStepSize(true, 2000, 100, 20), 90);
    EXPECT_FLOAT_EQ(FadeStepSize(true, 2000, 20, 100), -90);
    EXPECT_FLOAT_EQ(FadeStepSize(false, 2010, 20, 100), 89.5522385f); // 3600 / 40.2
    EXPECT_FLOAT_EQ(FadeStepSize(false, -100, 20, 100), -1800);
}

// -31500 to 27000 is past 32767; a volume of 729 is past the volume law's range.
TEST(FadeStepSizeTest, ADifferencePast16BitsOverflows) {
    EXPECT_EQ(FailureOf([] { FadeStepSize(false, 2000, -600, 700); }), "Overflow");
    EXPECT_EQ(FailureOf([] { FadeStepSize(true, 2000, 700, -600); }), "Overflow");
    EXPECT_EQ(FailureOf([] { FadeStepSize(false, 2000, 20, 729); }), "Overflow");
}

namespace {

// The first count of steps at which a fade of `lengthMs` is over.
int StepsOf(int32_t lengthMs) {
    int16_t n = 0;
    while (!FadeIsOver(n, lengthMs))
        ++n;
    return n;
}

} // namespace

// A negative length is over at once; a long fade ends when the step counter is full.
TEST(FadeIsOverTest, AfterOneStepEvery50MsRoundedUp) {
    EXPECT_EQ(StepsOf(2000), 40);
    EXPECT_EQ(StepsOf(2010), 41);
    EXPECT_EQ(StepsOf(20), 1);
    EXPECT_EQ(StepsOf(-100), 0);
    EXPECT_EQ(StepsOf(2000000000), 32767);
}

// The next level rounds half to even; fading in has no floor.
TEST(NextFadeLevelTest, FadingInMovesOneStepUpToFullLevelAtMost) {
    EXPECT_EQ(NextFadeLevel(false, -3600, 90), -3510);
    EXPECT_EQ(NextFadeLevel(false, -50, 90), 0);
    EXPECT_EQ(NextFadeLevel(false, -3600, 89.5f), -3510);
    EXPECT_EQ(NextFadeLevel(false, -3601, 89.5f), -3512);
    EXPECT_EQ(NextFadeLevel(false, -4480, -90), -4570);
}

// A step the wrong way, overshooting full level, swings back below it.
TEST(NextFadeLevelTest, FadingOutMovesOneStepDownToTheFloorAtMostAndStaysBelowFullLevel) {
    EXPECT_EQ(NextFadeLevel(true, 0, 90), -90);
    EXPECT_EQ(NextFadeLevel(true, -4450, 90), -4500);
    EXPECT_EQ(NextFadeLevel(true, -4500, 90), -4500);
    EXPECT_EQ(NextFadeLevel(true, -4500, -90), -4410);
    EXPECT_EQ(NextFadeLevel(true, -40, -90), -50);
    EXPECT_EQ(NextFadeLevel(true, -90, -90), 0);
}
