// The loudness a track's gain tags imply: a ReplayGain gain is to -18 LUFS, an R128 gain (in
// 1/256 dB) to -23 LUFS; text that is not a gain, or a gain beyond ±30 dB, implies nothing.

#include "analysis/GainTags.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(GainTags, AReplayGainGainIsTheDistanceToMinusEighteen) {
    EXPECT_DOUBLE_EQ(*LoudnessFromReplayGain(u"-3.50 dB"), -14.5);
    EXPECT_DOUBLE_EQ(*LoudnessFromReplayGain(u"+6.25 dB"), -24.25);
    EXPECT_DOUBLE_EQ(*LoudnessFromReplayGain(u" 2 "), -20.0);
}

TEST(GainTags, AReplayGainGainWrittenWithADecimalCommaReadsTheSame) {
    EXPECT_DOUBLE_EQ(*LoudnessFromReplayGain(u"-1,5 dB"), -16.5);
}

TEST(GainTags, AnR128GainIsInSteps256ToTheDecibelToMinusTwentyThree) {
    EXPECT_DOUBLE_EQ(*LoudnessFromR128Gain(u"-1280"), -18.0);
    EXPECT_DOUBLE_EQ(*LoudnessFromR128Gain(u"384"), -24.5);
}

TEST(GainTags, TextThatIsNotAGainImpliesNothing) {
    EXPECT_FALSE(LoudnessFromReplayGain(u"loud"));
    EXPECT_FALSE(LoudnessFromReplayGain(u""));
    EXPECT_FALSE(LoudnessFromReplayGain(u"nan dB"));
    EXPECT_FALSE(LoudnessFromR128Gain(u"-5.5"));
    EXPECT_FALSE(LoudnessFromR128Gain(u""));
}

TEST(GainTags, AGainBeyondThirtyDecibelsImpliesNothing) {
    EXPECT_FALSE(LoudnessFromReplayGain(u"-30.01 dB"));
    EXPECT_FALSE(LoudnessFromReplayGain(u"45 dB"));
    EXPECT_FALSE(LoudnessFromR128Gain(u"7681"));
    EXPECT_DOUBLE_EQ(*LoudnessFromReplayGain(u"30 dB"), -48.0);
}

TEST(GainTags, TheR128GainCountsOverTheReplayGainGain) {
    EXPECT_DOUBLE_EQ(*TaggedLoudness(u"-3 dB", u"-1280"), -18.0);
    EXPECT_DOUBLE_EQ(*TaggedLoudness(u"-3 dB", u"junk"), -15.0);
    EXPECT_FALSE(TaggedLoudness(u"", u""));
}
