// The list of music folders, kept in a file of its own: read as written, written whole or not
// at all.

#include "library/MusicFolders.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;

namespace {

struct MusicFoldersTest : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QTemporaryDir dir;
    const QString file = dir.path() + "/velmor/library.conf";
    QString error;
};

} // namespace

TEST_F(MusicFoldersTest, FoldersWrittenAreReadBackInTheirOrder) {
    const QStringList folders{"/home/dj/Music", QString::fromUtf8("/media/stick/Musique à moi"),
                              "/srv/ music with spaces "};
    EXPECT_EQ(ReadMusicFolders(file), QStringList{}); // no file yet
    ASSERT_TRUE(WriteMusicFolders(file, folders, &error));
    EXPECT_EQ(ReadMusicFolders(file), folders);
}

TEST_F(MusicFoldersTest, BlankLinesCommentsAndRepeatsArePassedOver) {
    ASSERT_TRUE(WriteMusicFolders(file, {}, &error));
    test::WriteBytes(file.toStdString(), "# mine\n\n/a\r\n   \n/b\n/a\n");
    EXPECT_EQ(ReadMusicFolders(file), (QStringList{"/a", "/b"}));
}

TEST_F(MusicFoldersTest, AFolderWithALineBreakIsRefusedAndTheOldListKept) {
    ASSERT_TRUE(WriteMusicFolders(file, {"/a"}, &error));
    EXPECT_FALSE(WriteMusicFolders(file, {"/b", "/two\nlines"}, &error));
    EXPECT_EQ(error, "/two\nlines cannot be kept: its name holds a line break.");
    EXPECT_EQ(ReadMusicFolders(file), QStringList{"/a"});
}

TEST_F(MusicFoldersTest, AFileThatCannotBeWrittenSaysSo) {
    test::WriteBytes((dir.path() + "/plain").toStdString(), "a file, not a folder");
    EXPECT_FALSE(WriteMusicFolders(dir.path() + "/plain/library.conf", {"/a"}, &error));
    EXPECT_TRUE(error.startsWith("The music folders cannot be kept in "));
}
