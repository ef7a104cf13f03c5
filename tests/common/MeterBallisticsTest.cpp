#include "common/MeterBallistics.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(MeterBallistics, RisesAtOnceFallsSteadilyAndHoldsPeakAndClipForASecondAndAHalf) {
    const double fall = MeterBallistics::kFallDbPerSecond, floor = MeterBallistics::kFloorDb;
    const float kMinus12 = 0.251189f, kQuiet = 0.01f; // -12 and -40 dBFS
    // At: peak fed, limited; then peak, rms (left, right), hold and clip shown.
    const std::tuple<double, float, bool, std::array<double, 5>, bool> steps[] = {
        {10.0, kMinus12, false, {-12, -18, -18, -24, -12}, false},
        {10.5, kQuiet, false, {-12 - fall * 0.5, -1, -1, -1, -12}, false},
        {11.4, kQuiet, false, {-1, -1, -1, -1, -12}, false},
        {11.6, kQuiet, false, {-40, -46, -46, -52, -40}, false}, // the hold is over
        {12.0, 1.0f, false, {0, -6, -6, -12, 0}, true},          // full scale
        {13.4, kQuiet, false, {-1, -1, -1, -1, -1}, true},
        {13.6, kQuiet, false, {-1, -1, -1, -1, -1}, false},
        {14.0, kMinus12, true, {-1, -1, -1, -1, -1}, true}, // the limiter worked
        {20.0, 0, false, {floor, floor, floor, floor, floor}, false},
    };
    MeterBallistics meter;
    for (const auto& [at, peak, limited, want, clip] : steps) {
        meter.feed({peak, peak / 2}, {peak / 2, peak / 4}, limited, at);
        const auto shown = meter.shown();
        const double got[] = {shown.peak[0], shown.peak[1], shown.rms[0], shown.rms[1],
                              shown.hold[0]};
        EXPECT_EQ(shown.clip, clip) << "at " << at;
        for (int i = 0; i < 5; ++i) // -1: not pinned at this step
            EXPECT_TRUE(want[i] == -1 || std::abs(got[i] - want[i]) < 0.05)
                << "at " << at << ", value " << i << " is " << got[i];
    }
}
