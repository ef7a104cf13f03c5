#include "common/MeterBallistics.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {

constexpr float kMinus12 = 0.251189f; // -12 dBFS
constexpr float kQuiet = 0.01f;       // -40 dBFS

// A meter fed at the seconds given: the peak on the left, half of it on the right; RMS half
// the peak on the left, a quarter on the right.
struct MeterBallisticsTest : ::testing::Test {
    const MeterBallistics::Shown& feed(double at, float peak, bool limited = false) {
        meter.feed({peak, peak / 2}, {peak / 2, peak / 4}, limited, at);
        return meter.shown();
    }
    MeterBallistics meter;
};

} // namespace

// It rises at once to what it is fed and falls by 24 dB a second, holding the peak for a
// second and a half; once the peak has fallen below a steady signal, it shows that signal.
TEST_F(MeterBallisticsTest, RisesAtOnceFallsSteadilyAndHoldsThePeakForASecondAndAHalf) {
    const MeterBallistics::Shown risen = feed(10.0, kMinus12);
    EXPECT_NEAR(risen.peak[0], -12, 0.05);
    EXPECT_NEAR(risen.peak[1], -18, 0.05);
    EXPECT_NEAR(risen.rms[0], -18, 0.05);
    EXPECT_NEAR(risen.rms[1], -24, 0.05);
    EXPECT_NEAR(risen.hold[0], -12, 0.05);
    EXPECT_FALSE(risen.clip);

    EXPECT_NEAR(feed(10.5, kQuiet).peak[0], -24, 0.05);
    EXPECT_NEAR(feed(11.4, kQuiet).hold[0], -12, 0.05);
    const MeterBallistics::Shown settled = feed(11.6, kQuiet);
    EXPECT_NEAR(settled.hold[0], -40, 0.05);
    EXPECT_NEAR(settled.peak[0], -40, 0.05);
    EXPECT_NEAR(settled.peak[1], -46, 0.05);
    EXPECT_NEAR(settled.rms[0], -46, 0.05);
    EXPECT_NEAR(settled.rms[1], -52, 0.05);
}

// Full scale lights the clip for a second and a half; so does the limiter at work.
TEST_F(MeterBallisticsTest, FullScaleOrTheLimiterAtWorkLightsTheClipForASecondAndAHalf) {
    feed(11.6, kQuiet);
    EXPECT_TRUE(feed(12.0, 1.0f).clip);
    EXPECT_TRUE(feed(13.4, kQuiet).clip);
    EXPECT_FALSE(feed(13.6, kQuiet).clip);
    EXPECT_TRUE(feed(14.0, kMinus12, true).clip);
}

TEST_F(MeterBallisticsTest, SilenceFallsToTheFloor) {
    feed(12.0, 1.0f);
    const auto& shown = feed(20.0, 0);
    EXPECT_EQ(shown.peak[0], -60);
    EXPECT_EQ(shown.peak[1], -60);
    EXPECT_EQ(shown.rms[0], -60);
    EXPECT_EQ(shown.rms[1], -60);
    EXPECT_EQ(shown.hold[0], -60);
    EXPECT_FALSE(shown.clip);
}
