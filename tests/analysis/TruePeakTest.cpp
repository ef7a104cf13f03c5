#include "analysis/TruePeak.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

using namespace velmor;

namespace {

// A stereo sine of a quarter of the rate, peak `amplitude`, with its samples at 45 degrees
// off its crests: every sample is at 0.707 of the peak the sound reaches between them.
std::vector<float> QuarterRateSine(float amplitude, int frames) {
    std::vector<float> stereo;
    for (int f = 0; f < frames; ++f) {
        const double phase = std::numbers::pi / 2 * f + std::numbers::pi / 4;
        const auto sample = static_cast<float>(amplitude * std::sin(phase));
        stereo.push_back(sample);
        stereo.push_back(sample);
    }
    return stereo;
}

} // namespace

// The peak between the samples is found, not the samples' own, also from a signal handed over
// in pieces of a few frames.
TEST(TruePeakTest, PeakBetweenSamplesIsFoundAcrossPieces) {
    const std::vector<float> sine = QuarterRateSine(0.5f, 4800);
    TruePeakMeter meter;
    for (int f = 0; f < 4800; f += 7)
        meter.add(sine.data() + 2 * f, std::min(7, 4800 - f));
    EXPECT_NEAR(meter.peak(), 0.5, 0.01);
}

// The meter remembers the loudest stretch after a quieter one follows.
TEST(TruePeakTest, LoudestStretchIsKept) {
    const std::vector<float> loud = QuarterRateSine(0.8f, 480);
    const std::vector<float> quiet = QuarterRateSine(0.1f, 4800);
    TruePeakMeter meter;
    meter.add(loud.data(), 480);
    meter.add(quiet.data(), 4800);
    EXPECT_NEAR(meter.peak(), 0.8, 0.015);
}
