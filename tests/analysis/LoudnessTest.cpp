#include "analysis/FactsOf.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {

// The facts of 20 s of a stereo 1 kHz sine whose peak is `amplitude`, from a 48 kHz WAV.
TrackFacts FactsOfSine(float amplitude) {
    return test::FactsOf(test::Stereo(test::Tone(1000, 20, 48000, amplitude)), 48000);
}

} // namespace

// EBU Tech 3341's first test signal: a stereo 1 kHz sine reads as loud as its peak in dBFS, and
// the same look finds its true peak and its length.
TEST(LoudnessTest, SineAtMinus23DbfsReadsMinus23LufsWithItsTruePeakAndLength) {
    const TrackFacts facts = FactsOfSine(0.0707946f); // -23 dBFS
    ASSERT_TRUE(facts.loudness.has_value());
    EXPECT_NEAR(*facts.loudness, -23.0, 0.1);
    ASSERT_TRUE(facts.truePeak.has_value());
    EXPECT_NEAR(*facts.truePeak, -23.0, 0.1);
    EXPECT_DOUBLE_EQ(facts.lengthSeconds, 20.0);
}

// Silence has no loudness to even out, and no peak.
TEST(LoudnessTest, SilenceHasNoLoudness) {
    const TrackFacts facts = FactsOfSine(0.0f);
    EXPECT_FALSE(facts.loudness.has_value());
    EXPECT_FALSE(facts.truePeak.has_value());
}
