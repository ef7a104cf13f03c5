#include "history/HistoryExport.h"

#include "legacy/Error.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velmor {
namespace {

QDateTime At(int h, int m, int s) {
    return QDateTime(QDate(2026, 12, 8), QTime(h, m, s));
}

PlayedTrack Track(const QString& artist, const QString& title, const QString& path) {
    return {At(21, 14, 5), At(21, 17, 40), 2, artist, title, path, true};
}

QStringList Lines(const QByteArray& text, const char* end) {
    return QString::fromUtf8(text).split(QString::fromLatin1(end));
}

TEST(HistoryCsv, StartsWithItsHeader) {
    EXPECT_EQ(Lines(HistoryCsv({}), "\r\n")[0], "Start,Stop,Deck,Artist,Title,Path,Played to end");
}

TEST(HistoryCsv, WritesOneLinePerTrack) {
    const QStringList lines =
        Lines(HistoryCsv({Track("Michael Jackson", "Beat It", "/music/beat.mp3")}), "\r\n");
    ASSERT_EQ(lines.size(), 3); // header, the track, and nothing after the last CR LF
    EXPECT_EQ(lines[1], "2026-12-08 21:14:05,2026-12-08 21:17:40,2,Michael Jackson,Beat It,"
                        "/music/beat.mp3,yes");
    EXPECT_EQ(lines[2], "");
}

TEST(HistoryCsv, SaysNoForATrackStoppedBeforeItsEnd) {
    PlayedTrack track = Track("A", "B", "/c.mp3");
    track.playedToEnd = false;
    EXPECT_EQ(Lines(HistoryCsv({track}), "\r\n")[1],
              "2026-12-08 21:14:05,2026-12-08 21:17:40,2,A,B,/c.mp3,no");
}

TEST(HistoryCsv, QuotesFieldsWithCommasAndDoublesTheirQuotes) {
    const QStringList lines =
        Lines(HistoryCsv({Track("Earth, Wind & Fire", "The \"Best\"", "/m/x.mp3")}), "\r\n");
    EXPECT_EQ(lines[1], "2026-12-08 21:14:05,2026-12-08 21:17:40,2,\"Earth, Wind & Fire\","
                        "\"The \"\"Best\"\"\",/m/x.mp3,yes");
}

TEST(HistoryCsv, IsUtf8) {
    const QByteArray text = HistoryCsv({Track("Beyoncé", "Halo", "/m/h.mp3")});
    EXPECT_TRUE(text.contains("Beyonc\xc3\xa9"));
}

TEST(HistoryM3u8, GivesEachTrackItsStartItsLengthAndItsPath) {
    const QStringList lines =
        Lines(HistoryM3u8({Track("Michael Jackson", "Beat It", "/music/beat.mp3")}), "\n");
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "#EXTM3U");
    EXPECT_EQ(lines[1], "# 21:14:05");
    EXPECT_EQ(lines[2], "#EXTINF:215,Michael Jackson - Beat It");
    EXPECT_EQ(lines[3], "/music/beat.mp3");
    EXPECT_EQ(lines[4], "");
}

TEST(HistoryM3u8, NamesATrackWithoutArtistByItsTitle) {
    const QStringList lines = Lines(HistoryM3u8({Track("", "beat", "/music/beat.mp3")}), "\n");
    EXPECT_EQ(lines[2], "#EXTINF:215,beat");
}

TEST(WriteExport, AnUnwritableTargetSaysWhereAndWhy) {
    QTemporaryDir dir;
    const QString file = dir.filePath("no such folder/evening.csv");
    try {
        WriteExport(file, "x");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_TRUE(
            error.description().startsWith("The history could not be written to " + file + ": "));
    }
}

TEST(WriteExport, AFolderInTheWayIsReported) {
    QTemporaryDir dir;
    EXPECT_THROW(WriteExport(dir.path(), "x"), Error);
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
