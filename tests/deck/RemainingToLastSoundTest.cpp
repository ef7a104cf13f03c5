#include "analysis/KnownTracks.h"
#include "common/TrackOverviewBar.h"
#include "support/WindowTest.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

// Deck 2 plays a 200 s track whose sound ends at 180 s: where the evening skips the silence
// at the ends of tracks, its remaining time and end warning count to the last sound.
namespace {
struct RemainingToLastSoundTest : WindowTest {
    FakePlayer& player = t.player(1);
    const QString song = "/music/Song.mp3";

    void SetUp() override {
        player.durations[song] = 200;
        t.open(1, song);
        TrackFacts facts;
        facts.lengthSeconds = 200;
        facts.soundStart = 4;
        facts.soundEnd = 180;
        w.knownTracks.learnFacts(song, facts);
    }
    void skipSilence(bool skip) {
        Levelling levelling = w.knownTracks.levelling();
        levelling.skipSilence = skip;
        w.knownTracks.setLevelling(levelling);
    }
    void playAt(double position) {
        t.playPause(1);
        player.setPosition(position);
        w.panels[1]->timer_Timer();
        w.overviews[1]->refresh();
    }
};
} // namespace

// 30 s before the last sound the warning comes on, 50 s before the end of the file; in the
// silent tail nothing is left.
TEST_F(RemainingToLastSoundTest, TheRemainingTimeAndTheWarningCountToTheLastSound) {
    EXPECT_EQ(ui.lblRTracking[1]->text(), "3:0");
    playAt(151);
    EXPECT_TRUE(ui.ovwTrack[1]->warning());
    player.setPosition(190);
    w.panels[1]->timer_Timer();
    EXPECT_EQ(ui.lblRTracking[1]->text(), "0:0");
}

TEST_F(RemainingToLastSoundTest, WithoutSkippingSilenceTheFileEndCounts) {
    skipSilence(false);
    EXPECT_EQ(ui.lblRTracking[1]->text(), "3:20");
    playAt(151);
    EXPECT_FALSE(ui.ovwTrack[1]->warning());
}
