#include "audio/MasterLimiter.h"
#include "support/AudioFixtures.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <random>
#include <vector>

using namespace velmor;
using namespace velmor::test;

namespace {

const float kPromise = static_cast<float>(std::pow(10.0, -0.3 / 20)); // -0.3 dBFS

// Runs a signal through a limiter (a fresh one or one kept) in the odd-sized buffers an audio
// callback gets.
template <class Limiter> std::vector<float> Limit(std::vector<float> stereo, Limiter&& limiter) {
    const int sizes[] = {256, 1, 7, 512, 100};
    for (size_t at = 0, i = 0; at < stereo.size() / 2; at += sizes[i++ % 5])
        limiter.process(stereo.data() + 2 * at,
                        std::min<int>(sizes[i % 5], static_cast<int>(stereo.size() / 2 - at)));
    return stereo;
}

// At 44.1 and 48 kHz.
class MasterLimiterTest : public ::testing::TestWithParam<int> {
protected:
    const int rate = GetParam();
    audio::MasterLimiter limiter{rate};
    size_t delay() const { return static_cast<size_t>(limiter.delayFrames()); }
    // Whether `input` comes out of the limiter kept unchanged, its look-ahead later.
    void expectUnchanged(const std::vector<float>& input) {
        const auto out = Limit(input, limiter);
        for (size_t i = 2 * delay(); i < out.size(); ++i)
            ASSERT_EQ(out[i], input[i - 2 * delay()]) << "sample " << i;
        EXPECT_EQ(limiter.lastGain(), 1.0f);
    }
    // Two tracks mastered to -1 dBFS played together: 440 and 550 Hz.
    std::vector<float> twoLoudTones() const {
        const float loud = static_cast<float>(std::pow(10.0, -1.0 / 20));
        auto tones = Stereo(Tone(440, 3, rate, loud));
        const auto other = Stereo(Tone(550, 3, rate, loud));
        for (size_t i = 0; i < tones.size(); ++i)
            tones[i] += other[i];
        return tones;
    }
};

INSTANTIATE_TEST_SUITE_P(Rates, MasterLimiterTest, ::testing::Values(44100, 48000));

} // namespace

// Below the ceiling, up to a hair under it, and from silence on, the limiter is a delay of at
// most one and a half milliseconds and nothing else.
TEST_P(MasterLimiterTest, JustUnderTheCeilingItIsAShortDelayAndNothingElse) {
    EXPECT_LE(delay(), 0.0015 * rate);
    auto input = std::vector<float>(2 * 1000);
    const auto sweep = Stereo(Sweep(1, rate, limiter.ceiling() * 0.999f));
    input.insert(input.end(), sweep.begin(), sweep.end());
    expectUnchanged(input);
}

// Past the hold the gain comes back slowly, or the sound would pump. With nothing playing the
// limiter costs nothing: once all it holds back is silence, silence goes through untouched,
// and a sound after it comes out as it would have.
TEST_P(MasterLimiterTest, AfterALoudPassageTheGainComesBackSlowlyThenItRests) {
    const std::vector<float> silence(2 * 256);
    auto out = silence;
    EXPECT_TRUE(limiter.process(out.data(), 256));
    Limit(Stereo(Tone(440, 1, rate, 3.0f)), limiter);
    EXPECT_LT(limiter.lastGain(), 0.5f);
    out = silence;
    EXPECT_FALSE(limiter.process(out.data(), 256)); // the tone's last millisecond comes out
    Limit(std::vector<float>(2 * rate / 10), limiter);
    EXPECT_LT(limiter.lastGain(), 0.9f);
    Limit(std::vector<float>(2 * rate * 3), limiter);
    out = silence;
    EXPECT_TRUE(limiter.process(out.data(), 256));
    EXPECT_EQ(out, silence);
    expectUnchanged(Stereo(Sweep(2, rate, 0.25f)));
}

// Whatever goes in, nothing comes out above the ceiling, nor turned down far more than needed.
TEST_P(MasterLimiterTest, NothingComesOutAboveTheCeilingNorFarBelowIt) {
    std::vector<float> clicks(2 * rate), squares(2 * rate), onset(2 * rate), noise(2 * rate);
    std::minstd_rand random(4);
    for (size_t i = 0; i < clicks.size(); ++i) {
        const long f = static_cast<long>(i / 2);
        clicks[i] = f % 3001 == 500 ? (f % 2 ? 4.0f : -4.0f) : 0.0f;          // +12 dBFS samples
        squares[i] = (f / 50) % 2 ? 2.0f : -2.0f;                             // of 100 samples
        onset[i] = f < rate / 2 ? 0.0f : 3.0f * std::sin(f * 0.05f);          // out of silence
        noise[i] = 8.0f * static_cast<float>(random()) / random.max() - 4.0f; // 4 x full scale
    }
    const std::pair<const char*, std::vector<float>> inputs[] = {
        {"two loud tones", twoLoudTones()},
        {"noise", noise},
        {"clicks", clicks},
        {"squares", squares},
        {"onset", onset},
        {"41 Hz", Stereo(Tone(41, 1, rate, 2.5f))}};
    for (const auto& [name, input] : inputs) {
        const auto out = Limit(input, audio::MasterLimiter(rate));
        EXPECT_LE(PeakOf(out), kPromise) << name;
        EXPECT_GT(PeakOf(out), kPromise * 0.9f) << name;
    }
}

// Two loud tones keep their distortion far down: a gain that followed their beat would put
// sidebands 110 Hz apart around them. Measured one second after the first attack, over a
// whole number of cycles of every product.
TEST_P(MasterLimiterTest, TwoLoudTonesTogetherStayClean) {
    const auto out = Limit(twoLoudTones(), limiter);
    EXPECT_GE(DistortionBelowTonesDb(out, rate, 2 * rate, rate, {440, 550}, 110, 5000), 40.0);
}
