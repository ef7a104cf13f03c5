#include "playlist/M3u.h"
#include "common/Error.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {
QList<Track> read(const QByteArray& bytes) {
    return ReadM3u(bytes, "/lists");
}
} // namespace

TEST(M3uLines, EndAtCarriageReturnOrCrLfButNotAtALoneLineFeed) {
    EXPECT_EQ(M3uLines("a\r\nb\rc"), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(M3uLines("a\nb\nc"), QStringList{"a\nb\nc"});
    EXPECT_EQ(M3uLines("a\r\r\nb\r\n"), (QStringList{"a", "", "b"}));
    EXPECT_EQ(M3uLines("a\n\r\n"), QStringList{"a\n"});
    EXPECT_EQ(M3uLines(""), QStringList{});
    EXPECT_EQ(M3uLines("\r\n"), QStringList{""});
    // A byte-order mark belongs to no line.
    EXPECT_EQ(M3uLines("\xEF\xBB\xBF#EXTM3U\r\na.mp3"), (QStringList{"#EXTM3U", "a.mp3"}));
}

TEST(M3uTrackLines, AreTheMp3LinesInAnyCaseTrimmedOfSpacesOnly) {
    for (const char* line : {"a.mp3", "A.MP3", "b.Mp3", "c.mP3", "  /m/a.mp3  ", ".mp3"})
        EXPECT_TRUE(IsTrackLine(QString(line))) << line;
    for (const char* line : {"", "   ", "\t", "#a.mp3", "  #a.mp3", "a.wav", "a.mp3\t", "\ta.mp3\t",
                             "a.mp", "a.mp3.txt", "#EXTINF:123,Artist - Title"})
        EXPECT_FALSE(IsTrackLine(QString(line))) << line;
    EXPECT_TRUE(IsTrackLine(u"\ta.mp3")); // a tab is text, not a space
}

TEST(M3uTrackLines, SkipWhatCannotNameAFile) {
    EXPECT_FALSE(IsTrackLine(QString::fromLatin1("a\0b.mp3", 7)));
    const QString huge = QString(kMaxTrackLine, u'x') + ".mp3";
    EXPECT_FALSE(IsTrackLine(huge));
    EXPECT_TRUE(IsTrackLine(huge.sliced(4)));
}

TEST(M3uTrackLines, SplitAtTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(TrackOfLine(u"/music/A.MP3", "/lists"), (Track{"A.MP3", "/music"}));
    EXPECT_EQ(TrackOfLine(u"C:\\Music\\A.MP3", "/lists"), (Track{"A.MP3", "C:/Music"}));
    EXPECT_EQ(TrackOfLine(u"Sub\\b.mp3", "/lists"), (Track{"b.mp3", "Sub"}));
    EXPECT_EQ(TrackOfLine(u"Sub/Deeper\\b.mp3", "/lists"), (Track{"b.mp3", "Sub/Deeper"}));
    EXPECT_EQ(TrackOfLine(u"c.mp3", "/lists"), (Track{"c.mp3", "/lists"}));
    EXPECT_EQ(TrackOfLine(u"/a.mp3", "/lists"), (Track{"a.mp3", "/"}));
    EXPECT_EQ(TrackOfLine(u"\\a.mp3", "/lists"), (Track{"a.mp3", "/"}));
    // The line is split as it was read: blanks stay where they were.
    EXPECT_EQ(TrackOfLine(u"  /music/a b.mp3", "/lists"), (Track{"a b.mp3", "  /music"}));
    EXPECT_EQ(TrackOfLine(u" c.mp3", "/lists"), (Track{" c.mp3", "/lists"}));
}

TEST(M3uRead, KeepsTheFilesOrderAndSkipsAllButTrackLines) {
    const QByteArray file = "#EXTM3U\r\n"
                            "#EXTINF:185,Someone - Something\r\n"
                            "#C:\\Music\\a.mp3\r\n"
                            "C:\\Music\\A.MP3\r\n"
                            "\r\n"
                            "   \t  \r\n"
                            "Sub\\b.mp3\r\n"
                            "song.wav\r\n"
                            "c.mp3";
    EXPECT_EQ(read(file),
              (QList<Track>{{"A.MP3", "C:/Music"}, {"b.mp3", "Sub"}, {"c.mp3", "/lists"}}));
}

TEST(M3uRead, ALineFeedOnlyFileIsOneLine) {
    EXPECT_EQ(read("/m/a.mp3\n/m/b.mp3"), (QList<Track>{{"b.mp3", "/m/a.mp3\n/m"}}));
    EXPECT_TRUE(read("/m/a.mp3\n/m/b.wav\n").isEmpty());
}

TEST(M3uRead, BadInputGivesNoTracksRatherThanGarbage) {
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk.append(char((i * 7919) % 256));
    junk.replace("\r", "");
    EXPECT_TRUE(read(junk).isEmpty());
    EXPECT_TRUE(read(QByteArray(1000, '\0')).isEmpty());
    EXPECT_EQ(read(QByteArray("a\0.mp3\r\nb.mp3", 13)), (QList<Track>{{"b.mp3", "/lists"}}));
    EXPECT_TRUE(read(QByteArray(10 * 1024 * 1024, 'x') + ".mp3").isEmpty());
    EXPECT_TRUE(read(QByteArray(10 * 1024 * 1024, 'x')).isEmpty());
}

TEST(M3uRead, NamesKeepTheirLettersAndSpaces) {
    const QByteArray file = "\xEF\xBB\xBF/música/Ça va ñu.mp3\r\n/m/  two  spaces.mp3";
    EXPECT_EQ(read(file),
              (QList<Track>{{u"Ça va ñu.mp3"_qs, u"/música"_qs}, {"  two  spaces.mp3", "/m"}}));
}

TEST(M3uWrite, BareNamesInTheSaveFolderFullPathsElsewhereEveryLineCrLf) {
    const QList<Track> tracks{
        {"a.mp3", "/music"}, {"b.mp3", "/other"}, {"c.mp3", "/Music"}, {"d.mp3", "/"}};
    EXPECT_EQ(WriteM3u(tracks, "/music"), "a.mp3\r\n/other/b.mp3\r\n/Music/c.mp3\r\n/d.mp3\r\n");
    EXPECT_EQ(WriteM3u({}, "/music"), "");
    EXPECT_EQ(WriteM3u({{u"ñu.mp3"_qs, "/m"}}, "/m"), "\xC3\xB1u.mp3\r\n");
}

TEST(M3uWrite, RefusesANameTheEncodingCannotHold) {
    const QString broken = QString("a") + QChar(0xD800) + ".mp3"; // a lone surrogate
    EXPECT_THROW(WriteM3u({{"ok.mp3", "/m"}, {broken, "/m"}}, "/m"), Error);
}

TEST(M3uRoundTrip, SavedListsReadBackToTheSameEntriesExceptWav) {
    const QList<Track> tracks{{"a.mp3", "/music"},
                              {"b.MP3", "/music/sub folder"},
                              {"c.wav", "/music"},
                              {" d.mp3", "/Music"},
                              {"e.mp3", "/"}};
    const QList<Track> back = ReadM3u(WriteM3u(tracks, "/music"), "/music");
    EXPECT_EQ(back, (QList<Track>{tracks[0], tracks[1], tracks[3], tracks[4]}));
}

TEST(JoinPath, UsesOneSeparator) {
    EXPECT_EQ(JoinPath("/music", "a.mp3"), "/music/a.mp3");
    EXPECT_EQ(JoinPath("/", "a.mp3"), "/a.mp3");
    EXPECT_EQ(JoinPath("Sub", "b.mp3"), "Sub/b.mp3");
}
