#include "audio/MasterLimiter.h"
#include "support/AudioFixtures.h"

#include <cmath>
#include <gtest/gtest.h>
#include <random>

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

std::vector<float> Noise(double seconds, int rate, float peak, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> uniform(-peak, peak);
    std::vector<float> out(static_cast<size_t>(2 * seconds * rate));
    for (float& sample : out)
        sample = uniform(random);
    return out;
}

// Two tracks mastered to -1 dBFS played together, at 440 and 550 Hz.
std::vector<float> TwoLoudTones(double seconds, int rate) {
    const float loud = static_cast<float>(std::pow(10.0, -1.0 / 20));
    auto out = Stereo(Tone(440, seconds, rate, loud));
    const auto other = Stereo(Tone(550, seconds, rate, loud));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] += other[i];
    return out;
}

} // namespace

// Below the ceiling the limiter is a delay and nothing else, also long after a loud passage.
TEST(MasterLimiterTest, BelowTheCeilingEverySampleComesOutUnchangedOnlyDelayed) {
    for (int rate : {44100, 48000}) {
        audio::MasterLimiter limiter(rate);
        const size_t delay = static_cast<size_t>(limiter.delayFrames());
        EXPECT_LE(delay, 0.0015 * rate) << rate;
        const auto quiet = Stereo(Sweep(2, rate, 0.25f)); // -12 dBFS
        const auto unchanged = [&](const std::vector<float>& input, const char* when) {
            const auto out = Limit(input, limiter);
            for (size_t i = 2 * delay; i < out.size(); ++i)
                ASSERT_EQ(out[i], input[i - 2 * delay]) << rate << when << " sample " << i;
            EXPECT_EQ(limiter.lastGain(), 1.0f);
        };
        unchanged(quiet, "");
        unchanged(Noise(1, rate, limiter.ceiling(), 2), " just under the ceiling");
        Limit(Noise(1, rate, 3.0f, 3), limiter); // loud, then quiet again
        EXPECT_LT(limiter.lastGain(), 0.5f);
        Limit(std::vector<float>(2 * rate * 3), limiter); // hold and release run out
        unchanged(quiet, " after a loud passage");
    }
}

TEST(MasterLimiterTest, NoSampleComesOutAboveTheCeilingWhateverGoesIn) {
    const int rate = 48000;
    std::vector<float> clicks(2 * rate), squares(2 * rate), onset(2 * rate);
    for (long i = 0; i < rate; ++i) {
        // +12 dBFS single samples, squares of 100 samples, a loud start out of silence.
        clicks[2 * i] = clicks[2 * i + 1] = i % 3001 == 500 ? (i % 2 ? 4.0f : -4.0f) : 0.0f;
        squares[2 * i] = squares[2 * i + 1] = (i / 50) % 2 ? 2.0f : -2.0f;
        onset[2 * i] = onset[2 * i + 1] = i < rate / 2 ? 0.0f : 3.0f * std::sin(i * 0.05f);
    }
    const std::pair<const char*, std::vector<float>> inputs[] = {
        {"two -1 dBFS tones", TwoLoudTones(1, rate)},
        {"noise four times full scale", Noise(1, rate, 4, 4)},
        {"lone clicks", clicks},
        {"square waves", squares},
        {"a loud start out of silence", onset},
        {"a bass note", Stereo(Tone(41, 1, rate, 2.5f))},
    };
    for (const auto& [what, input] : inputs) {
        const auto out = Limit(input, audio::MasterLimiter(rate));
        EXPECT_LE(PeakOf(out), kPromise) << what;
        EXPECT_GT(PeakOf(out), kPromise * 0.9f) << what << ": turned down far more than needed";
    }
}

// A gain that followed the beat of two tones would put sidebands 110 Hz apart around them.
TEST(MasterLimiterTest, TwoLoudTonesTogetherKeepTheirDistortionFortyDecibelsDown) {
    for (int rate : {44100, 48000}) {
        const auto out = Limit(TwoLoudTones(3, rate), audio::MasterLimiter(rate));
        // One second after the first attack, a whole number of cycles of every product.
        const double below =
            DistortionBelowTonesDb(out, rate, 2 * rate, rate, {440, 550}, 110, 5000);
        EXPECT_GE(below, 40.0) << rate;
        EXPECT_LE(PeakOf(out), kPromise);
        std::printf("%d Hz: distortion %.1f dB below the tones\n", rate, below);
    }
}
