#include "analysis/FactsOf.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {

constexpr int kRate = 44100;

// The facts of 30 s of clicks (20 ms bursts of a 1 kHz tone) `interval` seconds apart.
TrackFacts FactsOfClicks(double interval) {
    std::vector<float> mono(30 * kRate, 0.0f);
    const std::vector<float> click = test::Tone(1000, 0.02, kRate, 0.8f);
    const auto step = static_cast<size_t>(interval * kRate);
    for (size_t at = 0; at + click.size() <= mono.size(); at += step)
        std::copy(click.begin(), click.end(), mono.begin() + static_cast<std::ptrdiff_t>(at));
    return test::FactsOf(test::Stereo(mono), kRate);
}

} // namespace

TEST(TempoTest, ClicksHalfASecondApartAre120BpmAndFourTenthsApart150) {
    for (const auto& [interval, bpm] : {std::pair{0.5, 120.0}, std::pair{0.4, 150.0}}) {
        const TrackFacts facts = FactsOfClicks(interval);
        ASSERT_TRUE(facts.bpm.has_value()) << interval;
        EXPECT_NEAR(*facts.bpm, bpm, 1.0) << interval;
    }
}

// A steady tone has no beat to find.
TEST(TempoTest, SteadyToneHasNoTempo) {
    const TrackFacts facts = test::FactsOf(test::Stereo(test::Tone(440, 20, kRate)), kRate);
    EXPECT_FALSE(facts.bpm.has_value());
}
