// The window keeps the evening's history of the tracks its decks played.

#include "history/HistoryStore.h"
#include "support/TestWindow.h"

#include <QFont>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
// The window on fake players and a clock moved by hand, keeping its history in a fresh
// file; Deck 1 holds "/music/a.mp3" and "/music/b.mp3".
struct PlayedHistoryTest : ::testing::Test {
    PlayedHistoryTest() {
        t.w().history->open(file);
        t.fill(0, {"a.mp3", "b.mp3"});
    }
    // Plays Deck 1 for `seconds` and stops it.
    void playFor(int seconds) {
        t.playPause(0);
        now = now.addSecs(seconds);
        t.w().panels[0]->cmdStop_Click();
        DeliverNotifications();
    }
    QList<PlayedTrack> written() const {
        HistoryStore store(file, now);
        const QList<Evening> evenings = store.evenings();
        return evenings.isEmpty() ? QList<PlayedTrack>() : store.tracks(evenings[0].id);
    }

    QTemporaryDir dir;
    QString file = dir.filePath("velmor/library.sqlite");
    QDateTime now{QDate(2026, 12, 8), QTime(21, 0, 0)};
    TestWindow t{11520, true,
                 [this](MainOptions& options) { options.clock = [this] { return now; }; }};
};
} // namespace

// The row is written and the list marks the entry played.
TEST_F(PlayedHistoryTest, ADeckPlayingThirtySecondsWritesOneRowAndMarksItsEntry) {
    playFor(30);
    const QList<PlayedTrack> rows = written();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].path, "/music/a.mp3");
    EXPECT_EQ(rows[0].title, "a");
    EXPECT_EQ(rows[0].deck, 1);
    const DeckPlaylist& list = t.w().playlists.list(0);
    EXPECT_TRUE(list.data(list.index(0), Qt::FontRole).value<QFont>().italic());
    EXPECT_FALSE(list.data(list.index(1), Qt::FontRole).value<QFont>().italic());
}

TEST_F(PlayedHistoryTest, ClosingTheProgramWritesTheTrackStillPlaying) {
    t.playPause(0);
    now = now.addSecs(45);
    t.window.reset();
    EXPECT_EQ(written().size(), 1);
}
