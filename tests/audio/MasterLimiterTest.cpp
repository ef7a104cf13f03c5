#include "audio/MasterLimiter.h"
#include "support/AudioFixtures.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <random>

using namespace velmor;
using namespace velmor::test;

namespace {

const float kPromise = static_cast<float>(std::pow(10.0, -0.3 / 20)); // -0.3 dBFS

// Runs a signal through a fresh limiter in the odd-sized buffers an audio callback gets.
std::vector<float> Limit(std::vector<float> stereo, int rate,
                         audio::MasterLimiter* keep = nullptr) {
    audio::MasterLimiter own(rate);
    audio::MasterLimiter& limiter = keep ? *keep : own;
    const int sizes[] = {256, 1, 7, 512, 100};
    for (size_t at = 0, i = 0; at < stereo.size() / 2; ++i) {
        const int n = std::min<int>(sizes[i % 5], static_cast<int>(stereo.size() / 2 - at));
        limiter.process(stereo.data() + 2 * at, n);
        at += n;
    }
    return stereo;
}

std::vector<float> Sum(const std::vector<std::vector<float>>& parts) {
    std::vector<float> out(parts[0].size());
    for (const auto& part : parts)
        for (size_t i = 0; i < out.size(); ++i)
            out[i] += part[i];
    return out;
}

std::vector<float> Noise(double seconds, int rate, float peak, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> uniform(-peak, peak);
    std::vector<float> out(static_cast<size_t>(2 * seconds * rate));
    for (float& sample : out)
        sample = uniform(random);
    return out;
}

} // namespace

// Below the ceiling the limiter is a delay and nothing else, also long after a loud passage.
TEST(MasterLimiterTest, BelowTheCeilingEverySampleComesOutUnchangedOnlyDelayed) {
    for (int rate : {44100, 48000}) {
        audio::MasterLimiter limiter(rate);
        const int delay = limiter.delayFrames();
        EXPECT_LE(delay, 0.0015 * rate) << rate;
        const float ceiling = limiter.ceiling();
        auto quiet = Stereo(Sweep(2, rate, 0.25f)); // -12 dBFS
        auto justUnder = Noise(1, rate, ceiling, 2);
        for (const auto* input : {&quiet, &justUnder}) {
            const auto out = Limit(*input, rate, &limiter);
            for (size_t i = 2 * delay; i < out.size(); ++i)
                ASSERT_EQ(out[i], (*input)[i - 2 * delay]) << rate << " sample " << i;
        }
        EXPECT_EQ(limiter.lastGain(), 1.0f);
        Limit(Noise(1, rate, 3.0f, 3), rate, &limiter); // loud, then quiet again
        EXPECT_LT(limiter.lastGain(), 0.5f);
        Limit(std::vector<float>(2 * rate * 3), rate, &limiter); // hold and release run out
        const auto after = Limit(quiet, rate, &limiter);
        for (size_t i = 2 * delay; i < after.size(); ++i)
            ASSERT_EQ(after[i], quiet[i - 2 * delay]) << rate << " after a loud passage " << i;
        EXPECT_EQ(limiter.lastGain(), 1.0f);
    }
}

TEST(MasterLimiterTest, NoSampleComesOutAboveTheCeilingWhateverGoesIn) {
    const int rate = 48000;
    const double loud = std::pow(10.0, -1.0 / 20); // -1 dBFS
    std::vector<float> clicks(2 * rate);
    for (size_t i = 1000; i < clicks.size(); i += 2 * 3001)
        clicks[i] = clicks[i + 1] = (i / 2) % 2 ? 4.0f : -4.0f; // +12 dBFS, single samples
    std::vector<float> squares(2 * rate), onset(2 * rate);
    for (long i = 0; i < rate; ++i) {
        squares[2 * i] = squares[2 * i + 1] = (i / 50) % 2 ? 2.0f : -2.0f;
        onset[2 * i] = onset[2 * i + 1] = i < rate / 2 ? 0.0f : 3.0f * std::sin(i * 0.05f);
    }
    const std::vector<std::pair<const char*, std::vector<float>>> inputs = {
        {"two -1 dBFS tones",
         Sum({Stereo(Tone(440, 1, rate, loud)), Stereo(Tone(550, 1, rate, loud))})},
        {"four full decks of noise", Sum({Noise(1, rate, 1, 4), Noise(1, rate, 1, 5),
                                          Noise(1, rate, 1, 6), Noise(1, rate, 1, 7)})},
        {"lone clicks", clicks},
        {"square waves", squares},
        {"a loud start out of silence", onset},
        {"a bass note", Stereo(Tone(41, 1, rate, 2.5f))},
    };
    for (const auto& [what, input] : inputs) {
        const auto out = Limit(input, rate);
        EXPECT_LE(PeakOf(out), kPromise) << what;
        EXPECT_GT(PeakOf(out), kPromise * 0.9f) << what << ": turned down far more than needed";
    }
}

// A gain that followed the beat of two tones would put sidebands 110 Hz apart around them.
TEST(MasterLimiterTest, TwoLoudTonesTogetherKeepTheirDistortionFortyDecibelsDown) {
    for (int rate : {44100, 48000}) {
        const double loud = std::pow(10.0, -1.0 / 20);
        const auto out =
            Limit(Sum({Stereo(Tone(440, 3, rate, loud)), Stereo(Tone(550, 3, rate, loud))}), rate);
        // One second after the first attack, a whole number of cycles of every product.
        const double below =
            DistortionBelowTonesDb(out, rate, 2 * rate, rate, {440, 550}, 110, 5000);
        EXPECT_GE(below, 40.0) << rate;
        EXPECT_LE(PeakOf(out), kPromise);
        std::printf("%d Hz: distortion %.1f dB below the tones\n", rate, below);
    }
}
