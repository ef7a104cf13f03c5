#include "analysis/LoudnessMeter.h"

#include <cmath>
#include <ebur128.h>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

using namespace velmor;

namespace {

// 30 s of something like music at `rate`: a low tone, a high tone and noise in bursts, the
// channels apart, the level rising and falling over the phrase, with a quiet passage that
// the relative gate leaves out.
std::vector<float> MusicLike(int rate) {
    std::vector<float> stereo;
    uint32_t noise = 12345;
    for (int f = 0; f < 30 * rate; ++f) {
        const double t = double(f) / rate;
        noise = noise * 1664525u + 1013904223u;
        const double hiss = (double(noise >> 8) / double(1u << 24) - 0.5);
        const double phrase = (t > 20 && t < 24 ? 0.02 : 1) * (0.6 + 0.4 * std::sin(t * 0.8));
        const double low = 0.3 * std::sin(2 * std::numbers::pi * 60 * t);
        const double high = 0.1 * std::sin(2 * std::numbers::pi * 6000 * t);
        const double burst = std::fmod(t, 0.5) < 0.1 ? 0.5 * hiss : 0.05 * hiss;
        stereo.push_back(float(phrase * (low + burst)));
        stereo.push_back(float(phrase * (high + burst)));
    }
    return stereo;
}

// What libebur128, the reference meter, reads of the same samples.
double ReferenceLoudness(const std::vector<float>& stereo, int rate) {
    ebur128_state* state = ebur128_init(2, static_cast<unsigned long>(rate), EBUR128_MODE_I);
    ebur128_add_frames_float(state, stereo.data(), stereo.size() / 2);
    double loudness = 0;
    ebur128_loudness_global(state, &loudness);
    ebur128_destroy(&state);
    return loudness;
}

double MeasuredLoudness(const std::vector<float>& stereo, int rate) {
    LoudnessMeter meter(rate);
    // In pieces of an odd size, as a decoder hands them over.
    const auto frames = static_cast<int64_t>(stereo.size() / 2);
    for (int64_t f = 0; f < frames; f += 3001)
        meter.add(stereo.data() + 2 * f, std::min<int64_t>(3001, frames - f));
    return meter.loudness().value_or(-1000);
}

} // namespace

// The meter reads what the reference meter reads, within 0.05 LU, at 44.1 and at 96 kHz: its
// filters are worked out for the rate, not kept for one.
TEST(LoudnessMeterTest, ReadsAsTheReferenceAtEitherRate) {
    for (const int rate : {44100, 96000}) {
        const std::vector<float> music = MusicLike(rate);
        EXPECT_NEAR(MeasuredLoudness(music, rate), ReferenceLoudness(music, rate), 0.05) << rate;
    }
}

// Under one block of 400 ms there is nothing to measure.
TEST(LoudnessMeterTest, ShortSoundHasNoLoudness) {
    const std::vector<float> stereo(2 * 17000, 0.5f);
    LoudnessMeter meter(44100);
    meter.add(stereo.data(), 17000);
    EXPECT_FALSE(meter.loudness().has_value());
}
