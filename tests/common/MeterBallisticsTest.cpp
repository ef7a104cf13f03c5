#include "common/MeterBallistics.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace velmor;

namespace {
constexpr float kMinus12 = 0.251189f; // -12 dBFS
constexpr float kQuiet = 0.01f;       // -40 dBFS

MeterBallistics::Shown Feed(MeterBallistics& meter, float peak, double now, bool limited = false) {
    meter.feed({peak, peak / 2}, {peak / 2, peak / 4}, limited, now);
    return meter.shown();
}
} // namespace

TEST(MeterBallisticsTest, RisesAtOnceFallsSteadilyAndHoldsThePeakForASecondAndAHalf) {
    MeterBallistics meter;
    auto shown = Feed(meter, kMinus12, 10.0);
    EXPECT_NEAR(shown.peak[0], -12, 0.01);
    EXPECT_NEAR(shown.peak[1], -18, 0.05) << "each channel its own";
    EXPECT_NEAR(shown.rms[0], -18, 0.05);
    EXPECT_NEAR(shown.hold[0], -12, 0.01);

    // Quiet from here on: the bar falls at its rate, the mark stays for the hold.
    const double fall = MeterBallistics::kFallDbPerSecond;
    shown = Feed(meter, kQuiet, 10.5);
    EXPECT_NEAR(shown.peak[0], -12 - fall * 0.5, 0.01);
    EXPECT_NEAR(shown.hold[0], -12, 0.01);
    shown = Feed(meter, kQuiet, 11.4);
    EXPECT_NEAR(shown.hold[0], -12, 0.01);
    shown = Feed(meter, kQuiet, 11.6);
    EXPECT_NEAR(shown.peak[0], -40, 0.01) << "fallen to what is measured now";
    EXPECT_NEAR(shown.hold[0], -40, 0.01) << "the hold is over";

    // Silence shows nothing: the floor.
    shown = Feed(meter, 0, 20.0);
    EXPECT_EQ(shown.peak[0], MeterBallistics::kFloorDb);
    EXPECT_EQ(shown.rms[1], MeterBallistics::kFloorDb);
    EXPECT_EQ(shown.hold[0], MeterBallistics::kFloorDb);
}

TEST(MeterBallisticsTest, TheClipLightLightsAtFullScaleOrWhenLimitedAndStaysForTheHold) {
    struct Case {
        float peak;
        bool limited;
        bool lit;
    };
    for (const Case& c :
         {Case{kMinus12, false, false}, Case{1.0f, false, true}, Case{kMinus12, true, true}}) {
        MeterBallistics meter;
        EXPECT_EQ(Feed(meter, c.peak, 1.0, c.limited).clip, c.lit) << c.peak << " " << c.limited;
        EXPECT_EQ(Feed(meter, kQuiet, 2.4).clip, c.lit);
        EXPECT_FALSE(Feed(meter, kQuiet, 2.6).clip);
    }
}
