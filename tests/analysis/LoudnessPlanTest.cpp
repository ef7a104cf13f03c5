#include "analysis/LoudnessPlan.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <tuple>

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

// A 60-second track whose look found no sound.
TrackFacts SilentTrack() {
    TrackFacts facts;
    facts.lengthSeconds = 60;
    return facts;
}

constexpr double kNoEnd = std::numeric_limits<double>::infinity();

} // namespace

// To the target of -18: a measured track from its -12 LUFS whatever its tags say; one not yet
// measured, or whose look found no loudness, from the -20 LUFS its tags imply; one with
// neither six decibels down.
TEST(LoudnessPlanTest, TheMeasureCountsOverTheTagsAndWithNeitherATrackPlaysSixDecibelsDown) {
    const TrackFacts loud = LoudTrack();
    const TrackFacts silent = SilentTrack();
    EXPECT_NEAR(GainDb(PlanTrack(Levelling{}, &loud, -20.0)), -6.0, 1e-4);
    EXPECT_NEAR(GainDb(PlanTrack(Levelling{}, nullptr, -20.0)), 2.0, 1e-4);
    EXPECT_NEAR(GainDb(PlanTrack(Levelling{}, &silent, -20.0)), 2.0, 1e-4);
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

// A fifth of a second's breath after the last sound, but never past the file's end.
TEST(LoudnessPlanTest, TheTrackPlaysFromItsFirstSoundToABreathAfterItsLast) {
    TrackFacts facts = LoudTrack();
    const audio::TrackPlan plan = PlanTrack(Levelling{}, &facts, std::nullopt);
    EXPECT_EQ(plan.startSeconds, 5.0);
    EXPECT_NEAR(plan.endSeconds, 190.2, 1e-9);
    facts.soundEnd = 199.9;
    EXPECT_EQ(PlanTrack(Levelling{}, &facts, std::nullopt).endSeconds, 200.0);
}

// Not yet looked at, found silent, or with the silence kept by the evening's choice.
TEST(LoudnessPlanTest, ATrackWithoutSoundBoundsToSkipToPlaysWhole) {
    Levelling keep;
    keep.skipSilence = false;
    const TrackFacts loud = LoudTrack();
    const TrackFacts silent = SilentTrack();
    const std::tuple<const char*, Levelling, const TrackFacts*> cases[] = {
        {"not looked at", Levelling{}, nullptr},
        {"silent", Levelling{}, &silent},
        {"silence kept", keep, &loud}};
    for (const auto& [why, levelling, facts] : cases) {
        const audio::TrackPlan plan = PlanTrack(levelling, facts, std::nullopt);
        EXPECT_EQ(plan.startSeconds, 0.0) << why;
        EXPECT_EQ(plan.endSeconds, kNoEnd) << why;
    }
}
