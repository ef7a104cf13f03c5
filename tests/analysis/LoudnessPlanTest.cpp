#include "analysis/LoudnessPlan.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace velmor;

namespace {

double GainDb(const audio::TrackPlan& plan) {
    return 20 * std::log10(plan.gain);
}

// A 200-second track measured at -12 LUFS, its sound from 5 s to 190 s.
TrackFacts LoudTrack() {
    TrackFacts facts;
    facts.lengthSeconds = 200;
    facts.loudness = -12;
    facts.soundStart = 5;
    facts.soundEnd = 190;
    return facts;
}

constexpr double kNoEnd = std::numeric_limits<double>::infinity();

} // namespace

// Brought from -12 LUFS to the target of -18, whatever its tags say.
TEST(LoudnessPlanTest, AMeasuredTrackIsBroughtToTheTargetWhateverItsTags) {
    const TrackFacts facts = LoudTrack();
    EXPECT_NEAR(GainDb(PlanTrack(Levelling{}, &facts, -20.0)), -6.0, 1e-4);
}

TEST(LoudnessPlanTest, TheGainTagsCountUntilTheTrackIsMeasured) {
    EXPECT_NEAR(GainDb(PlanTrack(Levelling{}, nullptr, -20.0)), 2.0, 1e-4);
}

TEST(LoudnessPlanTest, ALookThatFoundNoLoudnessLeavesTheTagsToCount) {
    TrackFacts silent;
    silent.lengthSeconds = 60;
    EXPECT_NEAR(GainDb(PlanTrack(Levelling{}, &silent, -20.0)), 2.0, 1e-4);
}

TEST(LoudnessPlanTest, ATrackWithNeitherPlaysSixDecibelsDown) {
    EXPECT_NEAR(GainDb(PlanTrack(Levelling{}, nullptr, std::nullopt)), -6.0, 1e-4);
}

TEST(LoudnessPlanTest, TheTargetIsTheEvenings) {
    Levelling levelling;
    levelling.target = -23;
    const TrackFacts facts = LoudTrack();
    EXPECT_NEAR(GainDb(PlanTrack(levelling, &facts, std::nullopt)), -11.0, 1e-4);
}

TEST(LoudnessPlanTest, AQuietTrackIsRaisedByTwelveDecibelsAtMost) {
    TrackFacts quiet = LoudTrack();
    quiet.loudness = -40;
    EXPECT_NEAR(GainDb(PlanTrack(Levelling{}, &quiet, std::nullopt)), 12.0, 1e-4);
}

TEST(LoudnessPlanTest, WithoutLevellingEveryTrackPlaysAtFullGain) {
    Levelling off;
    off.enabled = false;
    const TrackFacts facts = LoudTrack();
    EXPECT_EQ(PlanTrack(off, &facts, -20.0).gain, 1.0f);
    EXPECT_EQ(PlanTrack(off, nullptr, std::nullopt).gain, 1.0f);
}

TEST(LoudnessPlanTest, TheTrackPlaysFromItsFirstSoundToABreathAfterItsLast) {
    const TrackFacts facts = LoudTrack();
    const audio::TrackPlan plan = PlanTrack(Levelling{}, &facts, std::nullopt);
    EXPECT_EQ(plan.startSeconds, 5.0);
    EXPECT_NEAR(plan.endSeconds, 190.2, 1e-9);
}

TEST(LoudnessPlanTest, TheBreathAfterTheLastSoundEndsWithTheFile) {
    TrackFacts facts = LoudTrack();
    facts.soundEnd = 199.9;
    EXPECT_EQ(PlanTrack(Levelling{}, &facts, std::nullopt).endSeconds, 200.0);
}

TEST(LoudnessPlanTest, ATrackNotYetLookedAtPlaysWhole) {
    const audio::TrackPlan plan = PlanTrack(Levelling{}, nullptr, std::nullopt);
    EXPECT_EQ(plan.startSeconds, 0.0);
    EXPECT_EQ(plan.endSeconds, kNoEnd);
}

TEST(LoudnessPlanTest, ASilentTrackPlaysWhole) {
    TrackFacts silent;
    silent.lengthSeconds = 60;
    EXPECT_EQ(PlanTrack(Levelling{}, &silent, std::nullopt).endSeconds, kNoEnd);
}

TEST(LoudnessPlanTest, WithTheSilenceKeptTheTrackPlaysWhole) {
    Levelling keep;
    keep.skipSilence = false;
    const TrackFacts facts = LoudTrack();
    const audio::TrackPlan plan = PlanTrack(keep, &facts, std::nullopt);
    EXPECT_EQ(plan.startSeconds, 0.0);
    EXPECT_EQ(plan.endSeconds, kNoEnd);
}
