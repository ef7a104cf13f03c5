#include "history/PlayWatcher.h"

#include "deck/DeckFixture.h"

#include <QFileInfo>

namespace velmor::test {
namespace {

// Deck 1 watched on a clock moved by hand, with the tracks it tells kept.
struct PlayWatcherTest : DeckTest {
    PlayWatcherTest() {
        QObject::connect(&watcher, &PlayWatcher::played,
                         [this](const PlayedTrack& track) { played.append(track); });
        fill({"one.mp3", "two.mp3"});
        deck.setLevel(80);
    }
    void pass(int seconds) {
        now = now.addSecs(seconds);
        watcher.look();
    }
    void stop() {
        deck.stop();
        DeliverNotifications();
    }
    void playFor(int seconds) {
        act(&Deck::playPause);
        pass(seconds);
    }

    QDateTime now{QDate(2026, 12, 8), QTime(21, 0, 0)};
    PlayWatcher watcher{deck, [this] { return now; },
                        [](const QString& path) {
                            return PlayWatcher::Names{"Artist", QFileInfo(path).baseName()};
                        }};
    QList<PlayedTrack> played;
};

// The watcher looks at the deck's level by itself only while the deck plays.
TEST_F(PlayWatcherTest, ItLooksByItselfOnlyWhileTheDeckPlays) {
    EXPECT_FALSE(watcher.looking());
    playFor(1);
    EXPECT_TRUE(watcher.looking());
    act(&Deck::playPause);
    EXPECT_FALSE(watcher.looking());
    act(&Deck::playPause);
    stop();
    EXPECT_FALSE(watcher.looking());
}

TEST_F(PlayWatcherTest, TheRowTellsWhenWhereAndWhat) {
    pass(5);
    playFor(40);
    stop();
    ASSERT_EQ(played.size(), 1);
    EXPECT_EQ(played[0].start, QDateTime(QDate(2026, 12, 8), QTime(21, 0, 5)));
    EXPECT_EQ(played[0].stop, QDateTime(QDate(2026, 12, 8), QTime(21, 0, 45)));
    EXPECT_EQ(played[0].deck, 1);
    EXPECT_EQ(played[0].artist, "Artist");
    EXPECT_EQ(played[0].title, "one");
    EXPECT_FALSE(played[0].playedToEnd);
}

TEST_F(PlayWatcherTest, APausedTrackCountsOnceItHasSoundedThirtySeconds) {
    playFor(20);
    act(&Deck::playPause);
    pass(60);
    playFor(10);
    stop();
    ASSERT_EQ(played.size(), 1);
    EXPECT_EQ(played[0].start, QDateTime(QDate(2026, 12, 8), QTime(21, 0, 0)));
}

// Muted, or on the side the crossfader closed, a playing track is not heard.
TEST_F(PlayWatcherTest, TimeNotHeardDoesNotCount) {
    deck.setMuted(true);
    playFor(100);
    deck.setMuted(false);
    deck.setOutputLevel(-4500); // as the crossfader leaves a closed side
    pass(0);                    // the next look on the watcher's timer
    pass(100);
    stop();
    EXPECT_TRUE(played.isEmpty());
}

TEST_F(PlayWatcherTest, ATrackThatEndsIsPlayedToItsEndAndTheNextIsWatchedAfresh) {
    playFor(30);
    endTrack(); // two.mp3 plays on
    ASSERT_EQ(played.size(), 1);
    EXPECT_EQ(played[0].path, "/music/one.mp3");
    EXPECT_TRUE(played[0].playedToEnd);
    pass(30);
    stop();
    ASSERT_EQ(played.size(), 2);
    EXPECT_EQ(played[1].path, "/music/two.mp3");
    EXPECT_EQ(played[1].start, QDateTime(QDate(2026, 12, 8), QTime(21, 0, 30)));
}

// Moved on by hand while it plays, or replaced by another while paused.
TEST_F(PlayWatcherTest, ATrackLeftForAnotherIsToldAsNotPlayedToItsEnd) {
    playFor(30);
    act(&Deck::next); // two.mp3 plays
    ASSERT_EQ(played.size(), 1);
    EXPECT_EQ(played[0].path, "/music/one.mp3");
    EXPECT_FALSE(played[0].playedToEnd);
    pass(30);
    act(&Deck::playPause); // paused
    load(0);
    ASSERT_EQ(played.size(), 2);
    EXPECT_EQ(played[1].path, "/music/two.mp3");
    EXPECT_FALSE(played[1].playedToEnd);
}

TEST_F(PlayWatcherTest, FinishingTellsATrackThatCounts) {
    playFor(30);
    watcher.finish();
    watcher.finish();
    ASSERT_EQ(played.size(), 1);
    EXPECT_EQ(played[0].stop, QDateTime(QDate(2026, 12, 8), QTime(21, 0, 30)));
}

} // namespace
} // namespace velmor::test
