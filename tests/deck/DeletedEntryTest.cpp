#include "deck/DeckFixture.h"

using namespace velmor;
using namespace velmor::test;

// A deck whose loaded entry is deleted from its list keeps its file (a track under way
// plays on) but goes on from the place where the entry stood.
namespace {
using DeletedEntryTest = DeckTest;
} // namespace

TEST_F(DeletedEntryTest, AfterDeleteAllANewSetPlaysFromItsFirstEntryThenItsSecond) {
    fill({"Old.mp3"});
    entries.removeAll();
    EXPECT_EQ(deck.unlistedAt(), 0);
    entries.add({"A.mp3", "B.mp3", "C.mp3"});
    act(&Deck::playPause);
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(deck.trackNumber(), 1);
    EXPECT_EQ(entries.loaded(), 0);
    EXPECT_EQ(deck.unlistedAt(), std::nullopt);
    endTrack();
    EXPECT_EQ(player.FileName(), "/music/B.mp3");
    EXPECT_EQ(deck.trackNumber(), 2);
}

TEST_F(DeletedEntryTest, APlayingTrackPlaysOnAndTheNewSetFollowsFromItsFirstEntry) {
    fill({"Old1.mp3", "Old2.mp3", "Old3.mp3"});
    act(&Deck::next);
    act(&Deck::playPause);
    entries.removeAll();
    entries.add({"A.mp3", "B.mp3"});
    EXPECT_EQ(player.FileName(), "/music/Old2.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    deck.queueNext(); // as the deck's timer does while it plays
    EXPECT_EQ(player.QueuedNext(), "/music/A.mp3");
    endTrack();
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
}

TEST_F(DeletedEntryTest, APausedTrackIsUnderWayAndPlaysOn) {
    fill({"A.mp3", "B.mp3"});
    act(&Deck::playPause);
    act(&Deck::playPause);
    entries.removeAt(0);
    act(&Deck::playPause);
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
}

TEST_F(DeletedEntryTest, TheEntryThatFollowedTheDeletedOnePlaysNext) {
    fill({"A.mp3", "B.mp3", "C.mp3", "D.mp3"});
    act(&Deck::next);
    act(&Deck::next);
    act(&Deck::playPause);
    entries.removeAt(2); // C, playing
    EXPECT_EQ(deck.unlistedAt(), 2);
    entries.removeAt(0); // A, before it
    EXPECT_EQ(deck.unlistedAt(), 1);
    endTrack();
    EXPECT_EQ(player.FileName(), "/music/D.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(deck.trackNumber(), 2);
}

TEST_F(DeletedEntryTest, OnAStoppedDeckNextLoadsTheEntryThatFollowedAndPreviousTheOneBefore) {
    fill({"A.mp3", "B.mp3", "C.mp3"});
    act(&Deck::next);
    entries.removeAt(1);
    act(&Deck::next);
    EXPECT_EQ(player.FileName(), "/music/C.mp3");
    EXPECT_EQ(deck.trackNumber(), 2);
    entries.removeAt(1);
    act(&Deck::previous);
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(deck.trackNumber(), 1);
}

TEST_F(DeletedEntryTest, AfterDeleteAllANewSetsFirstEntryThatWillNotOpenIsSteppedOver) {
    player.refused["/music/x.mp3"] = "not an audio file";
    fill({"Old.mp3"});
    entries.removeAll();
    entries.add({"x.mp3", "A.mp3"});
    act(&Deck::playPause);
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(deck.trackNumber(), 2);
    EXPECT_TRUE(entries.isUnplayable(0));
}

TEST_F(DeletedEntryTest, AfterDeleteAllANewSetThatWillNotOpenLeavesTheDeletedTrackUnplayed) {
    player.refused["/music/x.mp3"] = "not an audio file";
    fill({"Old.mp3"});
    entries.removeAll();
    entries.add({"x.mp3"});
    act(&Deck::playPause);
    EXPECT_EQ(player.FileName(), "/music/Old.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(deck.unlistedAt(), 0);
    EXPECT_EQ(entries.loaded(), -1);
    act(&Deck::playPause);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
}
