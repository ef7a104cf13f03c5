#include "common/Widgets.h"
#include "playlist/DeckPlaylist.h"
#include "support/WindowTest.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct TrackNavigationTest : WindowTest {
    FakePlayer& player = t.player(0);
    DeckPlaylist& list = w.playlists.list(0);

    void next() {
        w.navigation.cmdAvanceTema_Click(0);
        DeliverNotifications();
    }
    void previous() {
        w.navigation.cmdRetroceso_Click(0);
        DeliverNotifications();
    }
};
} // namespace

TEST_F(TrackNavigationTest, NextOnAStoppedDeckLoadsWithoutPlayingUpToTheLastEntry) {
    t.fill(0, {"A.mp3", "B.mp3", "C.mp3"});
    next();
    EXPECT_EQ(player.FileName(), "/music/B.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(w.ui.fra[0]->Caption(), "1. B 3:5");
    EXPECT_EQ(w.decks.TrackNumber[0], 2);
    next();
    EXPECT_EQ(player.FileName(), "/music/C.mp3");
    EXPECT_EQ(w.decks.TrackNumber[0], 3);
    player.log.clear();
    next();
    EXPECT_TRUE(player.log.isEmpty());
    EXPECT_EQ(w.decks.TrackNumber[0], 3);

    // And back again, one entry at a time, still without playing.
    previous();
    EXPECT_EQ(player.FileName(), "/music/B.mp3");
    EXPECT_EQ(w.decks.TrackNumber[0], 2);
    previous();
    previous(); // A is the first entry: nothing before it
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(w.decks.TrackNumber[0], 1);
    EXPECT_FALSE(player.log.contains("Play"));
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(TrackNavigationTest, OnAPlayingOrPausedDeckTheNeighbourPlaysFromItsStart) {
    t.fill(0, {"A.mp3", "B.mp3", "C.mp3"});
    next();
    t.playPause(0); // B plays
    player.setPosition(42);
    previous();
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(player.CurrentPosition(), 0);
    EXPECT_EQ(w.decks.TrackNumber[0], 1);
    EXPECT_FALSE(w.decks.PreviousRequested[0]);

    previous(); // playing the first entry: nothing happens, it plays on
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(player.FileName(), "/music/A.mp3");

    t.playPause(0); // paused
    ASSERT_EQ(player.PlayState(), MediaPlayer::Paused);
    next();
    EXPECT_EQ(player.FileName(), "/music/B.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(w.decks.TrackNumber[0], 2);
    EXPECT_EQ(w.ui.fra[0]->ForeColor(), kBlue);
}

TEST_F(TrackNavigationTest, NextTakesAnEntryNamedLikeTheLoadedOneForTheLast) {
    list.append("Same.mp3", "/music/one");
    list.append("Other.mp3", "/music");
    list.append("Same.mp3", "/music/two");
    t.open(0, "/music/one/Same.mp3");
    player.log.clear();
    next();
    EXPECT_TRUE(player.log.isEmpty());
    EXPECT_EQ(w.decks.TrackNumber[0], 1);

    list.removeAt(2);
    list.removeAt(1);
    list.removeAt(0);
    next(); // an empty list
    EXPECT_TRUE(player.log.isEmpty());
}

TEST_F(TrackNavigationTest, AnIndexOutsideTheListDoesNothing) {
    t.fill(0, {"A.mp3", "B.mp3", "C.mp3"});
    next();
    next(); // C loaded, TrackNumber 3
    t.playPause(0);
    list.removeAt(2);
    list.removeAt(1); // only A is left, and C plays on
    player.log.clear();
    next();
    previous(); // entry 1 is gone
    EXPECT_TRUE(player.log.isEmpty());
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_FALSE(w.decks.PreviousRequested[0]);
    EXPECT_TRUE(t.reporter.empty());

    w.decks.TrackNumber[0] = 0; // nothing loaded from the list
    previous();
    EXPECT_TRUE(player.log.isEmpty());
}

TEST_F(TrackNavigationTest, EntriesThatCannotBePlayedAreSteppedOverBothWays) {
    player.refused["/music/B.mp3"] = "not an audio file";
    t.fill(0, {"A.mp3", "B.mp3", "C.mp3"});
    next();
    EXPECT_EQ(player.FileName(), "/music/C.mp3");
    EXPECT_EQ(w.decks.TrackNumber[0], 3);
    EXPECT_EQ(list.loaded(), 2);
    EXPECT_TRUE(list.isUnplayable(1));
    EXPECT_EQ(t.reporter.notices.size(), 1u);
    player.log.clear();
    previous(); // B is known bad: not tried again
    EXPECT_EQ(player.log, QStringList{"FileName /music/A.mp3"});
    EXPECT_EQ(w.decks.TrackNumber[0], 1);
    EXPECT_EQ(list.loaded(), 0);

    // Playing A with nothing but a marked entry and C after it: next plays C.
    t.playPause(0);
    next();
    EXPECT_EQ(player.FileName(), "/music/C.mp3");
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(t.reporter.notices.size(), 1u);
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(TrackNavigationTest, WithOnlyKnownBadEntriesAheadAPlayingDeckPlaysOn) {
    player.refused["/music/B.mp3"] = "empty file";
    t.fill(0, {"A.mp3", "B.mp3"});
    next(); // B fails once: A stays loaded
    EXPECT_EQ(player.FileName(), "/music/A.mp3");
    EXPECT_EQ(w.decks.TrackNumber[0], 1);
    t.playPause(0);
    player.log.clear();
    next();
    EXPECT_TRUE(player.log.isEmpty());
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_EQ(t.reporter.notices.size(), 1u);
}

TEST_F(TrackNavigationTest, NextTakesADeckStuckOnABadFirstEntryToTheEntryAfterIt) {
    // Nothing opened: the first entry, 0 bytes long, was refused when it was added.
    player.refused["/music/empty.mp3"] = "empty file";
    for (const char* name : {"empty.mp3", "B.mp3", "C.mp3"})
        list.append(name, "/music");
    ASSERT_EQ(player.PlayState(), MediaPlayer::Closed);
    next();
    EXPECT_EQ(player.FileName(), "/music/B.mp3");
    EXPECT_EQ(w.decks.TrackNumber[0], 2);
    EXPECT_TRUE(w.ui.cmdPlayPause[0]->isEnabled());
    t.playPause(0);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
}
