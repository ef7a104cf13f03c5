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

} // namespace

// Below the ceiling the limiter is a delay and nothing else, also long after a loud passage.
TEST(MasterLimiterTest, UnchangedBelowTheCeilingNothingAboveItAndTwoLoudTonesStayClean) {
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
        unchanged(Stereo(Sweep(1, rate, limiter.ceiling() * 0.999f)), " just under the ceiling");
        Limit(Stereo(Tone(440, 1, rate, 3.0f)), limiter); // loud, then quiet again
        EXPECT_LT(limiter.lastGain(), 0.5f);
        Limit(std::vector<float>(2 * rate / 10), limiter); // past the hold the gain comes back
        EXPECT_LT(limiter.lastGain(), 0.9f) << rate;       // slowly, or the sound would pump
        Limit(std::vector<float>(2 * rate * 3), limiter);  // hold and release run out
        unchanged(quiet, " after a loud passage");

        // Whatever goes in, nothing comes out above the ceiling, nor turned down far more than
        // needed; two tracks mastered to -1 dBFS played together keep their distortion far down
        // (a gain that followed their beat would put sidebands 110 Hz apart around them).
        const float loud = static_cast<float>(std::pow(10.0, -1.0 / 20));
        auto tones = Stereo(Tone(440, 3, rate, loud));
        const auto other = Stereo(Tone(550, 3, rate, loud));
        std::vector<float> clicks(2 * rate), squares(2 * rate), onset(2 * rate), noise(2 * rate);
        std::minstd_rand random(4);
        for (size_t i = 0; i < tones.size(); ++i) {
            tones[i] += other[i];
            // +12 dBFS single samples, squares of 100 samples, a loud start out of silence, noise
            // four times full scale.
            const long f = static_cast<long>(i / 2);
            if (f >= rate)
                continue;
            clicks[i] = f % 3001 == 500 ? (f % 2 ? 4.0f : -4.0f) : 0.0f;
            squares[i] = (f / 50) % 2 ? 2.0f : -2.0f;
            onset[i] = f < rate / 2 ? 0.0f : 3.0f * std::sin(f * 0.05f);
            noise[i] = 8.0f * static_cast<float>(random()) / random.max() - 4.0f;
        }
        const std::vector<float> inputs[] = {tones,   noise, clicks,
                                             squares, onset, Stereo(Tone(41, 1, rate, 2.5f))};
        for (const auto& input : inputs) {
            const auto out = Limit(input, audio::MasterLimiter(rate));
            const size_t row = &input - inputs;
            EXPECT_LE(PeakOf(out), kPromise) << rate << " row " << row;
            EXPECT_GT(PeakOf(out), kPromise * 0.9f) << rate << " row " << row;
            if (row > 0)
                continue;
            // One second after the first attack, a whole number of cycles of every product.
            const double below =
                DistortionBelowTonesDb(out, rate, 2 * rate, rate, {440, 550}, 110, 5000);
            EXPECT_GE(below, 40.0) << rate;
            std::printf("%d Hz: distortion %.1f dB below the tones\n", rate, below);
        }
    }
}
