#include "common/Error.h"
#include "mix/Crossfader.h"
#include "mix/FadeSteps.h"

#include "support/Failure.h"

#include <gtest/gtest.h>

using namespace velmor;

using velmor::test::FailureOf;

// Under the volume law a deck volume v is the level 45 v - 4500 (hundredths of a dB).
TEST(FadeSteps, TheStepSpreadsTheLevelDifferenceOverTheTicksOrFails) {
    struct Case {
        bool out;
        int32_t lengthMs;
        int16_t start, end;
        float step; // when it succeeds
        const char* failure = nullptr;
    };
    for (const Case c :
         {Case{false, 2000, 20, 100, 90.0f}, // -3600 to 0 in 40 steps
          Case{true, 2000, 100, 20, 90.0f},  // the usual way is positive both ways
          Case{false, 2000, 80, 30, -56.25f}, Case{true, 2000, 20, 100, -90.0f},
          Case{false, 2010, 20, 100, float(3600 / 40.2)}, // in single precision
          Case{false, 20, 20, 100, 9000.0f},              // 2.5 times the whole
          Case{false, -100, 20, 100, -1800.0f}, Case{false, 0, 20, 100, 0, kDivisionByZero},
          Case{false, 2000, -600, 700, 0, kOverflow}, // -31500 to 27000: past 32767
          Case{true, 2000, 700, -600, 0, kOverflow},
          Case{false, 2000, 20, 729, 0, kOverflow}}) { // past the volume law's range
        SCOPED_TRACE(testing::Message()
                     << c.out << " " << c.lengthMs << " " << c.start << " " << c.end);
        if (c.failure) {
            EXPECT_EQ(FailureOf([&] { FadeStepSize(c.out, c.lengthMs, c.start, c.end); }),
                      c.failure);
        } else {
            EXPECT_EQ(FadeStepSize(c.out, c.lengthMs, c.start, c.end), c.step);
        }
    }
}

TEST(FadeSteps, AFadeIsOverAfterItsStepsRoundedUpOrWhenTheCounterIsSpent) {
    struct Case {
        int32_t lengthMs;
        int16_t lastStep; // over once this many steps are done, not one step earlier
    };
    for (const Case c : {Case{2000, 40}, Case{2010, 41}, Case{50, 1}, Case{20, 1}, Case{-100, 0},
                         Case{1638350, 32767}, Case{2000000000, 32767}}) {
        SCOPED_TRACE(c.lengthMs);
        if (c.lastStep > 0) {
            EXPECT_FALSE(FadeIsOver(int16_t(c.lastStep - 1), c.lengthMs));
        }
        EXPECT_TRUE(FadeIsOver(c.lastStep, c.lengthMs));
    }
}

TEST(FadeSteps, TheNextLevelStaysInRangeAndRoundsHalfToEven) {
    struct Case {
        bool out;
        int32_t current;
        float step;
        int32_t next;
    };
    // Fading in: full level at most, no floor; fading out: the floor at most, and a step
    // overshooting full level swings back below it.
    for (const Case c :
         {Case{false, -3600, 90, -3510}, Case{false, -50, 90, 0}, Case{false, -4480, -90, -4570},
          Case{false, -3600, 89.5f, -3510}, Case{false, -3601, 89.5f, -3512},
          Case{true, 0, 90, -90}, Case{true, -4450, 90, -4500}, Case{true, -4500, 90, -4500},
          Case{true, -4500, -90, -4410}, Case{true, -40, -90, -50}, Case{true, 0, -90, -90},
          Case{true, -90, -90, 0}}) {
        SCOPED_TRACE(testing::Message() << c.out << " " << c.current << " " << c.step);
        EXPECT_EQ(NextFadeLevel(c.out, c.current, c.step), c.next);
    }
}

TEST(CrossfadeVolumes, OneDeckAtItsOwnSettingTheOtherTurnedDownInProportion) {
    struct Case {
        int32_t position, volumeA, volumeB;
        int16_t a, b;
    };
    for (const Case c :
         {Case{0, 100, 100, 100, 0}, Case{25, 100, 100, 100, 50}, Case{50, 100, 100, 100, 100},
          Case{51, 100, 100, 98, 100}, Case{75, 100, 100, 50, 100}, Case{100, 100, 100, 0, 100},
          Case{25, 70, 33, 70, 16}, // 16.5 goes to the even neighbour
          Case{60, 45, 80, 36, 80}}) {
        SCOPED_TRACE(c.position);
        const CrossfadeVolumes v = CrossfadeVolumesAt(c.position, c.volumeA, c.volumeB);
        EXPECT_EQ(v.a, c.a);
        EXPECT_EQ(v.b, c.b);
    }
    for (int d = 0; d < 4; ++d)
        EXPECT_EQ(NextDeck(d), (d + 1) % 4);
}
