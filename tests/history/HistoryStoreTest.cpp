#include "history/HistoryStore.h"

#include "support/Failure.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velmor {
namespace {

using test::FailureOf;

QDateTime At(int h, int m, int s) {
    return QDateTime(QDate(2026, 12, 8), QTime(h, m, s));
}

struct HistoryStoreTest : ::testing::Test {
    PlayedTrack track(const QString& title, QDateTime start) {
        return {start, start.addSecs(200), 3, "Artist", title, "/music/" + title + ".mp3", false};
    }
    QTemporaryDir dir;
    QString file = dir.filePath("velmor/library.sqlite");
};

// Text of any characters, quotes and SQL alike, comes back as it was written.
TEST_F(HistoryStoreTest, ATrackWrittenIsReadBackWhole) {
    HistoryStore store(file, At(20, 0, 0));
    PlayedTrack written = track("One", At(21, 14, 5));
    written.artist = "Zoë's 'quote\" ; DROP TABLE history";
    written.playedToEnd = true;
    store.add(written);
    const QList<PlayedTrack> tracks = store.tracks(store.evening());
    ASSERT_EQ(tracks.size(), 1);
    EXPECT_EQ(tracks[0].start, At(21, 14, 5));
    EXPECT_EQ(tracks[0].stop, At(21, 17, 25));
    EXPECT_EQ(tracks[0].deck, 3);
    EXPECT_EQ(tracks[0].artist, "Zoë's 'quote\" ; DROP TABLE history");
    EXPECT_EQ(tracks[0].title, "One");
    EXPECT_EQ(tracks[0].path, "/music/One.mp3");
    EXPECT_TRUE(tracks[0].playedToEnd);
}

TEST_F(HistoryStoreTest, TracksComeInTheOrderTheyStarted) {
    HistoryStore store(file, At(20, 0, 0));
    store.add(track("Later", At(22, 0, 0)));
    store.add(track("Earlier", At(21, 0, 0)));
    const QList<PlayedTrack> tracks = store.tracks(store.evening());
    ASSERT_EQ(tracks.size(), 2);
    EXPECT_EQ(tracks[0].title, "Earlier");
    EXPECT_EQ(tracks[1].title, "Later");
}

TEST_F(HistoryStoreTest, EveningsAreKeptApartAndCounted) {
    {
        HistoryStore first(file, At(18, 0, 0));
        first.add(track("A", At(18, 5, 0)));
        first.add(track("B", At(18, 9, 0)));
    }
    HistoryStore second(file, At(20, 0, 0));
    second.add(track("C", At(20, 5, 0)));
    const QList<Evening> evenings = second.evenings();
    ASSERT_EQ(evenings.size(), 2);
    EXPECT_EQ(evenings[0].start, At(18, 0, 0));
    EXPECT_EQ(evenings[0].tracks, 2);
    EXPECT_EQ(evenings[1].start, At(20, 0, 0));
    EXPECT_EQ(evenings[1].tracks, 1);
    EXPECT_EQ(second.tracks(evenings[0].id).size(), 2);
}

TEST_F(HistoryStoreTest, TwoConnectionsShareTheFile) {
    HistoryStore first(file, At(20, 0, 0));
    HistoryStore second(file, At(20, 0, 1));
    first.add(track("A", At(20, 5, 0)));
    second.add(track("B", At(20, 6, 0)));
    EXPECT_EQ(first.evenings().size(), 2);
}

TEST_F(HistoryStoreTest, AFileThatIsNoDatabaseFailsToOpenWithAMessage) {
    QDir().mkpath(dir.filePath("velmor"));
    QFile junk(file);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_TRUE(FailureOf([&] {
                    HistoryStore store(file, At(20, 0, 0));
                }).startsWith("The history in " + file + " could not be opened: "));
}

} // namespace
} // namespace velmor
