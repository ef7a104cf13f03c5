// The loudness a track's gain tags imply: a ReplayGain gain is to -18 LUFS, an R128 gain (in
// 1/256 dB) to -23 LUFS; text that is not a gain, or a gain beyond ±30 dB, implies nothing.

#include "analysis/GainTags.h"

#include <QString>
#include <gtest/gtest.h>

using namespace velmor;

// With or without its unit, with a decimal point or a decimal comma, up to 30 dB.
TEST(GainTags, AReplayGainGainIsTheDistanceToMinusEighteen) {
    EXPECT_DOUBLE_EQ(*LoudnessFromReplayGain(u"-3.50 dB"), -14.5);
    EXPECT_DOUBLE_EQ(*LoudnessFromReplayGain(u"+6.25 dB"), -24.25);
    EXPECT_DOUBLE_EQ(*LoudnessFromReplayGain(u" 2 "), -20.0);
    EXPECT_DOUBLE_EQ(*LoudnessFromReplayGain(u"-1,5 dB"), -16.5);
    EXPECT_DOUBLE_EQ(*LoudnessFromReplayGain(u"30 dB"), -48.0);
}

TEST(GainTags, AnR128GainIsInSteps256ToTheDecibelToMinusTwentyThree) {
    EXPECT_DOUBLE_EQ(*LoudnessFromR128Gain(u"-1280"), -18.0);
    EXPECT_DOUBLE_EQ(*LoudnessFromR128Gain(u"384"), -24.5);
}

TEST(GainTags, TextThatIsNotAGainOrAGainBeyondThirtyDecibelsImpliesNothing) {
    for (const char16_t* text : {u"loud", u"", u"nan dB", u"-30.01 dB", u"45 dB"})
        EXPECT_FALSE(LoudnessFromReplayGain(text)) << QString::fromUtf16(text).toStdString();
    for (const char16_t* text : {u"-5.5", u"", u"7681"})
        EXPECT_FALSE(LoudnessFromR128Gain(text)) << QString::fromUtf16(text).toStdString();
}

TEST(GainTags, TheR128GainCountsOverTheReplayGainGain) {
    EXPECT_DOUBLE_EQ(*TaggedLoudness(u"-3 dB", u"-1280"), -18.0);
    EXPECT_DOUBLE_EQ(*TaggedLoudness(u"-3 dB", u"junk"), -15.0);
    EXPECT_FALSE(TaggedLoudness(u"", u""));
}
