// M3U playlist files: reading their lines, which of them name tracks and where those are, and
// writing a deck's list as one.

#include "playlist/M3u.h"

#include "common/FileNames.h"
#include "legacy/Error.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {
const QStringList kTypes{"mp3", "wav", "flac", "ogg"};

QList<ListEntry> read(const QByteArray& bytes, bool saidUtf8 = false) {
    return ReadM3u(bytes, {"/lists", saidUtf8, kTypes}).toList();
}
} // namespace

TEST(M3uLines, EndAtCrLfCrOrLf) {
    const std::pair<QByteArray, QList<QByteArrayView>> cases[] = {
        {"a\r\nb\nc\rd\n", {"a", "b", "c", "d"}},
        {"a\r\r\nb\r\n", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"", {}},
        {"\xEF\xBB\xBF#EXTM3U\na.mp3", {"#EXTM3U", "a.mp3"}}, // a byte-order mark is no text
    };
    for (const auto& [bytes, lines] : cases)
        EXPECT_EQ(M3uLines(bytes), lines) << bytes.toStdString();
}

TEST(M3uTrackLines, AreTheLinesOfEveryTypeTheDecksPlayInAnyCase) {
    for (const char* line : {"A.MP3", "c.FLAC", "  /m/a.ogg  ", ".mp3", "\ta.mp3", "/music/Z.WaV"})
        EXPECT_TRUE(IsTrackLine(line, kTypes)) << line;
    for (const char* line : {"", "   ", "  #a.mp3", "a.wma", "a.mp3\t", "a.mp", "a.mp3.txt", "mp3"})
        EXPECT_FALSE(IsTrackLine(line, kTypes)) << line;
    EXPECT_FALSE(IsTrackLine(QByteArrayView("a\0b.mp3", 7), kTypes));
    const QByteArray huge = QByteArray(kMaxTrackLine, 'x') + ".mp3";
    EXPECT_FALSE(IsTrackLine(huge, kTypes));
    EXPECT_TRUE(IsTrackLine(QByteArrayView(huge).sliced(4), kTypes));
}

TEST(M3uRead, KeepsOnlyTrackLinesInTheFilesOrder) {
    const QByteArray longName(100000, 'x');
    const std::pair<QByteArray, QStringList> cases[] = {
        {"#EXTM3U\n#EXTINF:185,Someone - Something\n#C:\\Music\\a.mp3\none.flac\n\n   \t  \n"
         "two.WAV\r\nnotes.txt\rthree.ogg",
         {"one.flac", "two.WAV", "three.ogg"}},
        {longName + "\nok.mp3", {"ok.mp3"}},
        {"s/first123.mp3\ns/" + longName + ".mp3\ns/third123.mp3",
         {"first123.mp3", "third123.mp3"}},
    };
    for (const auto& [bytes, names] : cases) {
        QStringList got;
        for (const ListEntry& entry : read(bytes))
            got << entry.track.name;
        EXPECT_EQ(got, names) << bytes.left(40).toStdString();
    }
}

// Names are UTF-8 when the file is marked, said or valid, Windows-1252 otherwise, which offers
// the line's bytes too: a name copied byte for byte.
TEST(M3uRead, DecodesAndPlacesEntriesAgainstTheListsFolderWithEitherSeparator) {
    const std::tuple<const char*, Track, QStringList> cases[] = {
        {"\xC3\xB1u.mp3", {u"ñu.mp3"_qs, "/lists"}, {}},
        {"\xEF\xBB\xBF\xC3\xB1u.mp3", {u"ñu.mp3"_qs, "/lists"}, {}},
        {"\xF1u.mp3", {u"ñu.mp3"_qs, "/lists"}, {FileNameFromBytes("/lists/\xF1u.mp3")}},
        {"\x80 \x9F.mp3", {u"€ Ÿ.mp3"_qs, "/lists"}, {FileNameFromBytes("/lists/\x80 \x9F.mp3")}},
        // Marked UTF-8 but broken: the bytes are kept as the file system's own.
        {"\xEF\xBB\xBF\xF1u.mp3", {FileNameFromBytes("\xF1u.mp3"), "/lists"}, {}},
        {"c.mp3", {"c.mp3", "/lists"}, {}},
        {"sub/b.mp3", {"b.mp3", "/lists/sub"}, {}},
        {"sub\\b.mp3", {"b.mp3", "/lists/sub"}, {}},
        {"../up/./c.mp3", {"c.mp3", "/up"}, {}},
        {"/music/A.MP3", {"A.MP3", "/music"}, {}},
        {"/a.mp3", {"a.mp3", "/"}, {}},
        {"file:///m/a%20b.mp3", {"a b.mp3", "/m"}, {}},
        // Absolute Windows paths: the file of that name beside the list, should they not exist.
        {"C:\\Music\\A.MP3", {"A.MP3", "C:/Music"}, {"/lists/A.MP3"}},
        {"\\\\server\\share\\x.mp3", {"x.mp3", "//server/share"}, {"/lists/x.mp3"}},
        // Spaces are kept as written, and the trimmed line offered after.
        {"  /m/a b.mp3 ", {"a b.mp3 ", "/lists/  /m"}, {"/m/a b.mp3"}},
        {" c.mp3", {" c.mp3", "/lists"}, {"/lists/c.mp3"}},
    };
    for (const auto& [line, track, others] : cases)
        EXPECT_EQ(read(line), (QList<ListEntry>{{track, others}})) << line;
    EXPECT_EQ(read("\xF1u.mp3", true)[0].track.name, FileNameFromBytes("\xF1u.mp3")); // said
}

TEST(M3uWrite, BareNamesInTheSaveFolderFullPathsElsewhereEveryLineCrLf) {
    const QList<Track> tracks{
        {"a.mp3", "/music"}, {"b.mp3", "/other"}, {"c.mp3", "/Music"}, {"d.mp3", "/"}};
    EXPECT_EQ(WriteM3u(tracks, "/music"), "a.mp3\r\n/other/b.mp3\r\n/Music/c.mp3\r\n/d.mp3\r\n");
    EXPECT_EQ(WriteM3u({{u"ñu.mp3"_qs, "/m"}}, "/m"), "\xC3\xB1u.mp3\r\n");
    // A name that is not UTF-8 is written as the file system holds it.
    EXPECT_EQ(WriteM3u({{FileNameFromBytes("caf\xE9.mp3"), "/m"}}, "/"), "/m/caf\xE9.mp3\r\n");
    const QString broken = QString("a") + QChar(0xD800) + ".mp3"; // no file name holds this
    EXPECT_THROW(WriteM3u({{"ok.mp3", "/m"}, {broken, "/m"}}, "/m"), Error);
    EXPECT_THROW(WriteM3u({{"two\nlines.mp3", "/m"}}, "/m"), Error);
}
