#include "mix/Crossfader.h"
#include "mix/FadeSteps.h"
#include "support/Failure.h"

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
    EXPECT_EQ(step(false, 2000, 20, 100), "90"); // -3600 to 0 in 40 steps
    EXPECT_EQ(step(true, 2000, 100, 20), "90");  // the usual way is positive both ways
    EXPECT_EQ(step(false, 2000, 80, 30), "-56.25");
    EXPECT_EQ(step(true, 2000, 20, 100), "-90");
    EXPECT_EQ(step(false, 2010, 20, 100), QString::number(float(3600 / 40.2), 'g', 9));
    EXPECT_EQ(step(false, 20, 20, 100), "9000"); // 2.5 times the whole
    EXPECT_EQ(step(false, -100, 20, 100), "-1800");
    EXPECT_EQ(step(false, 0, 20, 100), kDivisionByZero);
    EXPECT_EQ(step(false, 2000, -600, 700), kOverflow); // -31500 to 27000: past 32767
    EXPECT_EQ(step(true, 2000, 700, -600), kOverflow);
    EXPECT_EQ(step(false, 2000, 20, 729), kOverflow); // past the volume law's range
}

TEST(FadeSteps, AFadeIsOverAfterItsStepsRoundedUpOrWhenTheCounterIsSpent) {
    // (length, steps): over once that many steps are done, not one step earlier.
    for (const auto& [lengthMs, steps] :
         std::initializer_list<std::pair<int32_t, int16_t>>{{2000, 40},
                                                            {2010, 41},
                                                            {50, 1},
                                                            {20, 1},
                                                            {-100, 0},
                                                            {1638350, 32767},
                                                            {2000000000, 32767}}) {
        EXPECT_TRUE(FadeIsOver(steps, lengthMs)) << lengthMs;
        EXPECT_TRUE(steps == 0 || !FadeIsOver(int16_t(steps - 1), lengthMs)) << lengthMs;
    }
}

TEST(FadeSteps, TheNextLevelStaysInRangeAndRoundsHalfToEven) {
    // Fading in: full level at most, no floor; fading out: the floor at most, and a step
    // overshooting full level swings back below it. (out, current, step, next)
    for (const auto& [out, current, step, next] :
         std::initializer_list<std::tuple<bool, int32_t, float, int32_t>>{
             {false, -3600, 90, -3510},
             {false, -50, 90, 0},
             {false, -4480, -90, -4570},
             {false, -3600, 89.5f, -3510},
             {false, -3601, 89.5f, -3512},
             {true, 0, 90, -90},
             {true, -4450, 90, -4500},
             {true, -4500, 90, -4500},
             {true, -4500, -90, -4410},
             {true, -40, -90, -50},
             {true, 0, -90, -90},
             {true, -90, -90, 0}})
        EXPECT_EQ(NextFadeLevel(out, current, step), next) << out << " " << current << " " << step;
}

TEST(CrossfadeVolumes, OneDeckAtItsOwnSettingTheOtherTurnedDownInProportion) {
    // (position, volume A, volume B, A's share, B's share)
    for (const auto& [position, volumeA, volumeB, a, b] :
         std::initializer_list<std::tuple<int32_t, int32_t, int32_t, int16_t, int16_t>>{
             {0, 100, 100, 100, 0},
             {25, 100, 100, 100, 50},
             {50, 100, 100, 100, 100},
             {51, 100, 100, 98, 100},
             {75, 100, 100, 50, 100},
             {100, 100, 100, 0, 100},
             {25, 70, 33, 70, 16}, // 16.5 goes to the even neighbour
             {60, 45, 80, 36, 80}}) {
        const CrossfadeVolumes v = CrossfadeVolumesAt(position, volumeA, volumeB);
        EXPECT_EQ(std::pair(v.a, v.b), std::pair(a, b)) << position;
    }
    for (int d = 0; d < 4; ++d)
        EXPECT_EQ(NextDeck(d), (d + 1) % 4);
}
