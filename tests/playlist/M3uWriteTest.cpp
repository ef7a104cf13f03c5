// Writing a deck's list as an M3U playlist file.

#include "playlist/M3u.h"

#include "common/FileNames.h"
#include "legacy/Error.h"

#include <gtest/gtest.h>

using namespace velmor;

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
