#include "mix/FadeRunner.h"
#include "deck/DeckFixture.h"

using namespace velmor;
using namespace velmor::test;

namespace {

// Deck 1 stopped on the first of two tracks, at its own level 90 (-450), with its fade
// runner. Under the volume law a fade from 20 to 100 goes from -3600 to 0.
struct FadeRunnerTest : DeckTest {
    FadeRunnerTest() {
        fill({"A.mp3", "B.mp3"});
        deck.setLevel(90);
    }
    void steps(int n) {
        for (; n > 0; --n)
            fade.step();
    }
    // A fade in from 20 to 100 in 2000 ms, 40 steps of 90, started on the stopped deck.
    void fadeIn() {
        fade.cueIn(20);
        fade.start(false, 2000, 20, 100);
        DeliverNotifications();
    }
    FadeRunner fade{deck, reporter};
};

} // namespace

TEST_F(FadeRunnerTest, AFadeInStartsTheDeckFromItsCueAtTheStartLevel) {
    deck.setCue(2.6); // in whole seconds
    player.log.clear();
    fade.cueIn(20);
    EXPECT_EQ(player.log, (QStringList{"Volume -3600", "Position 3", "Play"}));
    DeliverNotifications();
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
}

TEST_F(FadeRunnerTest, AFailingPlayIsToldAndTheFadeGoesOn) {
    player.failures["Play"] = "The device is gone";
    fade.cueIn(20);
    EXPECT_EQ(reporter.told, std::vector<QString>{"The device is gone"});
    fade.start(false, 2000, 20, 100);
    fade.step();
    EXPECT_EQ(deck.outputLevel(), -3510);
}

TEST_F(FadeRunnerTest, AFadeInRisesToFullLevelAndPlaysOnAtItsEnd) {
    fadeIn();
    steps(40);
    EXPECT_EQ(deck.outputLevel(), 0);
    EXPECT_TRUE(fade.isOver());
    fade.end(false);
    DeliverNotifications();
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
}

// 100 to 0 in 1000 ms: 20 steps of 225, from the level playing and not below silence.
TEST_F(FadeRunnerTest, AFadeOutReachesSilenceAndStopsTheDeckAtItsCue) {
    act(&Deck::playPause);
    deck.setCue(7);
    fade.start(true, 1000, 100, 0);
    fade.step();
    EXPECT_EQ(deck.outputLevel(), -675);
    steps(19);
    EXPECT_EQ(deck.outputLevel(), -4500);
    EXPECT_TRUE(fade.isOver());
    fade.end(false);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.CurrentPosition(), 7);
    EXPECT_EQ(deck.outputLevel(), -450); // the deck's own level
    EXPECT_EQ(deck.stopReason(), StopReason::User);
    DeliverNotifications();
    EXPECT_EQ(entries.loaded(), 0); // still on its track
}

TEST_F(FadeRunnerTest, AStopDuringAFadePutsTheLevelBackAndTheFadeGoesOnFromThere) {
    fadeIn();
    steps(3);
    deck.stop(StopReason::User);
    EXPECT_EQ(deck.outputLevel(), -450);
    EXPECT_FALSE(fade.isOver());
    fade.step();
    EXPECT_EQ(deck.outputLevel(), -360);
}

// The next tick tries again; the next fade tells its own failures again.
TEST_F(FadeRunnerTest, AFailingStepIsToldOncePerFadeAndCountsNoStep) {
    fadeIn();
    player.failures["Volume"] = "The device is gone";
    steps(5);
    EXPECT_EQ(reporter.told, std::vector<QString>{"The device is gone"});
    EXPECT_EQ(fade.state().FadeTick, 0);
    player.failures.clear();
    fade.step();
    EXPECT_EQ(deck.outputLevel(), -3510);
    fade.start(false, 2000, 20, 100);
    player.failures["VolumeRead"] = "Lost";
    steps(2);
    EXPECT_EQ(reporter.told.size(), 2u);
}
