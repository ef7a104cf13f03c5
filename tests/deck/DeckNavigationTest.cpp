#include "deck/DeckFixture.h"

using namespace velmor;
using namespace velmor::test;

namespace {
using DeckNavigationTest = DeckTest;
} // namespace

TEST_F(DeckNavigationTest, AStoppedDeckLoadsItsNeighboursWithoutPlayingUpToEitherEnd) {
    fill({"A.mp3", "B.mp3", "C.mp3"});
    act(&Deck::next);
    EXPECT_EQ(player.FileName(), "/music/B.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(deck.trackNumber(), 2);
    act(&Deck::next);
    act(&Deck::next);
    EXPECT_EQ(player.FileName(), "/music/C.mp3");
    EXPECT_EQ(deck.trackNumber(), 3);
    act(&Deck::previous);
    act(&Deck::previous);
    act(&Deck::previous);
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(deck.trackNumber(), 1);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
}

// A playing deck plays the previous entry from its start; a paused one the next.
TEST_F(DeckNavigationTest, APlayingOrPausedDeckPlaysTheEntryItMovesTo) {
    fill({"A.mp3", "B.mp3", "C.mp3"});
    act(&Deck::next);
    act(&Deck::playPause);
    player.setPosition(60);
    act(&Deck::previous);
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(player.CurrentPosition(), 0);
    EXPECT_EQ(deck.trackNumber(), 1);
    EXPECT_EQ(deck.stopReason(), StopReason::Previous);
    act(&Deck::playPause);
    act(&Deck::next);
    EXPECT_EQ(player.FileName(), "/music/B.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(deck.trackNumber(), 2);
}

TEST_F(DeckNavigationTest, AnEmptyListOrANothingOpenDeckGoesNowhere) {
    act(&Deck::next);
    act(&Deck::previous);
    act(&Deck::playPause);
    EXPECT_EQ(player.FileName(), "");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Closed);
    EXPECT_TRUE(player.log.isEmpty());
}

TEST_F(DeckNavigationTest, EntriesThatWillNotOpenAreSteppedOverBothWays) {
    player.refused["/music/b.mp3"] = "not an audio file";
    fill({"A.mp3", "b.mp3", "C.mp3"});
    act(&Deck::next);
    EXPECT_EQ(player.FileName(), "/music/C.mp3");
    EXPECT_EQ(deck.trackNumber(), 3);
    act(&Deck::previous);
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(deck.trackNumber(), 1);
    EXPECT_EQ(reporter.notices.size(), 1u) << "a marked entry is not tried again";
}

TEST_F(DeckNavigationTest, NextDoesNothingWhenTheLastEntryHasTheLoadedFilesName) {
    entries.add({"A.mp3"});
    entries.model.appendRow(new QStandardItem("/other/A.mp3"));
    load(0);
    act(&Deck::next);
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(deck.trackNumber(), 1);
}
