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

TEST_F(MeterBallisticsTest, RisesAtOnceToWhatItIsFed) {
    const auto& shown = feed(10.0, kMinus12);
    EXPECT_NEAR(shown.peak[0], -12, 0.05);
    EXPECT_NEAR(shown.peak[1], -18, 0.05);
    EXPECT_NEAR(shown.rms[0], -18, 0.05);
    EXPECT_NEAR(shown.rms[1], -24, 0.05);
    EXPECT_NEAR(shown.hold[0], -12, 0.05);
    EXPECT_FALSE(shown.clip);
}

// 24 dB a second: half a second after -12, a quiet signal shows -24.
TEST_F(MeterBallisticsTest, FallsSteadily) {
    feed(10.0, kMinus12);
    EXPECT_NEAR(feed(10.5, kQuiet).peak[0], -24, 0.05);
}

TEST_F(MeterBallisticsTest, HoldsThePeakForASecondAndAHalf) {
    feed(10.0, kMinus12);
    feed(10.5, kQuiet);
    EXPECT_NEAR(feed(11.4, kQuiet).hold[0], -12, 0.05);
    EXPECT_NEAR(feed(11.6, kQuiet).hold[0], -40, 0.05);
}

// Once the peak has fallen below a steady signal, the meter shows that signal.
TEST_F(MeterBallisticsTest, SettlesOnASteadySignal) {
    feed(10.0, kMinus12);
    const auto& shown = feed(11.6, kQuiet);
    EXPECT_NEAR(shown.peak[0], -40, 0.05);
    EXPECT_NEAR(shown.peak[1], -46, 0.05);
    EXPECT_NEAR(shown.rms[0], -46, 0.05);
    EXPECT_NEAR(shown.rms[1], -52, 0.05);
}

TEST_F(MeterBallisticsTest, FullScaleLightsTheClipForASecondAndAHalf) {
    feed(11.6, kQuiet);
    EXPECT_TRUE(feed(12.0, 1.0f).clip);
    EXPECT_TRUE(feed(13.4, kQuiet).clip);
    EXPECT_FALSE(feed(13.6, kQuiet).clip);
}

TEST_F(MeterBallisticsTest, TheLimiterAtWorkLightsTheClip) {
    feed(13.6, kQuiet);
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
