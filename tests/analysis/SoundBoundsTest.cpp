#include "analysis/FactsOf.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {

constexpr int kRate = 44100;

// The facts of a WAV of `head` seconds of silence, 10 s of a tone at `amplitude`, and `tail`
// seconds of silence.
TrackFacts FactsOf(double head, double tail, float amplitude = 0.5f) {
    std::vector<float> mono(static_cast<size_t>(head * kRate), 0.0f);
    const std::vector<float> tone = test::Tone(440, 10, kRate, amplitude);
    mono.insert(mono.end(), tone.begin(), tone.end());
    mono.resize(mono.size() + static_cast<size_t>(tail * kRate), 0.0f);
    return test::FactsOf(test::Stereo(mono), kRate);
}

} // namespace

// A track with 5 s of silence at each end sounds from 5 s to 15 s; one that sounds from its first
// sample to its last has its bounds at its ends.
TEST(SoundBoundsTest, TheSoundRunsFromTheEndOfTheSilentHeadToTheStartOfTheSilentTail) {
    const TrackFacts silentEnds = FactsOf(5, 5);
    ASSERT_TRUE(silentEnds.soundStart.has_value());
    EXPECT_NEAR(*silentEnds.soundStart, 5.0, 0.002);
    ASSERT_TRUE(silentEnds.soundEnd.has_value());
    EXPECT_NEAR(*silentEnds.soundEnd, 15.0, 0.002);
    EXPECT_NEAR(silentEnds.lengthSeconds, 20.0, 0.001);
    const TrackFacts sounding = FactsOf(0, 0);
    ASSERT_TRUE(sounding.soundStart.has_value());
    EXPECT_NEAR(*sounding.soundStart, 0.0, 0.002);
    ASSERT_TRUE(sounding.soundEnd.has_value());
    EXPECT_NEAR(*sounding.soundEnd, 10.0, 0.002);
}

// A hiss below -60 dBFS is silence: the track has no sound to start or end.
TEST(SoundBoundsTest, HissBelowTheLevelIsNoSound) {
    const TrackFacts facts = FactsOf(1, 1, 0.0009f);
    EXPECT_FALSE(facts.soundStart.has_value());
    EXPECT_FALSE(facts.soundEnd.has_value());
}
