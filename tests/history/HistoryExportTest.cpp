#include "history/HistoryExport.h"

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

PlayedTrack Track(const QString& artist, const QString& title, const QString& path) {
    return {At(21, 14, 5), At(21, 17, 40), 2, artist, title, path, true};
}

// A header, then a line per track, each ended by CR LF, in UTF-8; a field with a comma is
// quoted and its own quotes doubled.
TEST(HistoryCsv, IsItsHeaderThenALinePerTrack) {
    PlayedTrack stopped = Track("Earth, Wind & Fire", "The \"Best\"", "/m/x.mp3");
    stopped.playedToEnd = false;
    EXPECT_EQ(
        HistoryCsv({Track("Beyoncé", "Halo", "/music/halo.mp3"), stopped}),
        "Start,Stop,Deck,Artist,Title,Path,Played to end\r\n"
        "2026-12-08 21:14:05,2026-12-08 21:17:40,2,Beyonc\xc3\xa9,Halo,/music/halo.mp3,yes\r\n"
        "2026-12-08 21:14:05,2026-12-08 21:17:40,2,\"Earth, Wind & Fire\","
        "\"The \"\"Best\"\"\",/m/x.mp3,no\r\n");
}

// A track without an artist is named by its title alone.
TEST(HistoryM3u8, GivesEachTrackItsStartItsLengthAndItsPath) {
    EXPECT_EQ(HistoryM3u8({Track("Michael Jackson", "Beat It", "/music/beat.mp3"),
                           Track("", "halo", "/music/halo.mp3")}),
              "#EXTM3U\n"
              "# 21:14:05\n"
              "#EXTINF:215,Michael Jackson - Beat It\n"
              "/music/beat.mp3\n"
              "# 21:14:05\n"
              "#EXTINF:215,halo\n"
              "/music/halo.mp3\n");
}

TEST(WriteExport, AFailureSaysWhereAndWhy) {
    QTemporaryDir dir;
    const QString file = dir.filePath("no such folder/evening.csv");
    EXPECT_TRUE(FailureOf([&] {
                    WriteExport(file, "x");
                }).startsWith("The history could not be written to " + file + ": "));
    EXPECT_TRUE(FailureOf([&] {
                    WriteExport(dir.path(), "x");
                }).startsWith("The history could not be written to " + dir.path() + ": "));
}

TEST(WriteExport, ReplacesAnEarlierExport) {
    QTemporaryDir dir;
    const QString file = dir.filePath("evening.csv");
    WriteExport(file, "old");
    WriteExport(file, "new");
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "new");
}

} // namespace
} // namespace velmor
