#include "deck/DeckFixture.h"

#include <QSignalSpy>

using namespace velmor;
using namespace velmor::test;

namespace {
using DeckAdvanceTest = DeckTest;
} // namespace

// The player is told the entry that would follow, for a join without a gap. After the last
// entry the deck stays stopped at the cue.
TEST_F(DeckAdvanceTest, ATrackThatEndsIsFollowedByTheNextEntryUntilTheLast) {
    deck.setCue(2);
    fill({"A.mp3", "B.mp3"});
    act(&Deck::playPause);
    EXPECT_EQ(player.QueuedNext(), "/music/B.mp3");
    endTrack();
    EXPECT_EQ(player.FileName(), "/music/B.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(deck.trackNumber(), 2);
    EXPECT_EQ(deck.stopReason(), StopReason::EndOfTrack);
    EXPECT_EQ(entries.loaded(), 1);
    EXPECT_EQ(player.QueuedNext(), "");
    endTrack();
    EXPECT_EQ(player.FileName(), "/music/B.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.CurrentPosition(), 2);
    EXPECT_EQ(deck.trackNumber(), 2);
}

TEST_F(DeckAdvanceTest, TheUsersStopRewindsWithoutMovingOnAndLeavesNoReasonBehind) {
    fill({"A.mp3", "B.mp3"});
    act(&Deck::playPause);
    player.setPosition(60);
    deck.stop(StopReason::User);
    DeliverNotifications();
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(player.CurrentPosition(), 0);
    EXPECT_EQ(deck.stopReason(), StopReason::User);

    deck.stop(StopReason::User); // stopped already: the player reports nothing
    act(&Deck::playPause);
    endTrack();
    EXPECT_EQ(player.FileName(), "/music/B.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
}

TEST_F(DeckAdvanceTest, EveryStopPutsTheDecksLevelBackOnThePlayer) {
    fill({"A.mp3"});
    deck.setLevel(80);
    act(&Deck::playPause);
    player.setVolume(-4000); // where a fade left it
    deck.stop(StopReason::User);
    EXPECT_EQ(player.Volume(), -900);
}

TEST_F(DeckAdvanceTest, WithNothingThatOpensLeftTheDeckStopsForTheFailure) {
    player.refused["/music/x.mp3"] = "not an audio file";
    fill({"A.mp3", "x.mp3"});
    act(&Deck::playPause);
    endTrack();
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(deck.stopReason(), StopReason::Failure);
    EXPECT_EQ(deck.trackNumber(), 1);
    EXPECT_EQ(entries.loaded(), 0);
}

TEST_F(DeckAdvanceTest, ACueThatIsNotANumberFailsTheStopWhichStillShowsTheDeckStopped) {
    fill({"A.mp3", "B.mp3"});
    act(&Deck::playPause);
    deck.setCue(std::nullopt);
    QSignalSpy stopped(&deck, &Deck::stopped);
    endTrack();
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.last().text, "Type mismatch");
    EXPECT_EQ(stopped.count(), 1);
    EXPECT_EQ(player.FileName(), "/music/A.mp3"); // the failed stop does not move on
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
}
