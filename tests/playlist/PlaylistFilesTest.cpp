// Playlist files on the disk: which names are lists, reading one whole and replacing one in a
// single step.

#include "playlist/PlaylistFiles.h"

#include "common/FileNames.h"
#include "legacy/Error.h"
#include "support/AsAnyUser.h"
#include "support/Failure.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct PlaylistFilesTest : ::testing::Test {
    QTemporaryDir tmp;
    QString path(const QString& name) const { return tmp.filePath(name); }
};
} // namespace

TEST(PlaylistNames, EndInM3uOrM3u8InAnyCase) {
    EXPECT_TRUE(IsPlaylistName(u"set.m3u"));
    EXPECT_TRUE(IsPlaylistName(u"SET.M3U8"));
    EXPECT_FALSE(IsPlaylistName(u"set.m3u.txt"));
    EXPECT_FALSE(IsPlaylistName(u"m3u"));
}

// A pipe, which the file list does not show, may be dropped as a list: it must not hang.
TEST_F(PlaylistFilesTest, WhatIsNoFileCannotBeReadAndSaysWhy) {
    ASSERT_EQ(::mkfifo(FileNameToBytes(path("pipe.m3u")).constData(), 0644), 0);
    EXPECT_EQ(FailureOf([&] { ReadPlaylistFile(path("gone.m3u")); }),
              path("gone.m3u") + " cannot be read: it does not exist.");
    EXPECT_EQ(FailureOf([&] { ReadPlaylistFile(tmp.path()); }),
              tmp.path() + " cannot be read: it is a folder.");
    EXPECT_EQ(FailureOf([&] { ReadPlaylistFile(path("pipe.m3u")); }),
              path("pipe.m3u") + " cannot be read: it is not a file.");
}

TEST_F(PlaylistFilesTest, ASaveReplacesTheOldFileAndKeepsItsPermissions) {
    SavePlaylistFile(path("set.m3u"), "old\r\n");
    const QByteArray file = FileNameToBytes(path("set.m3u"));
    ASSERT_EQ(::chmod(file.constData(), 0640), 0);
    SavePlaylistFile(path("set.m3u"), "new\r\n");
    EXPECT_EQ(ReadPlaylistFile(path("set.m3u")), "new\r\n");
    struct stat saved {};
    ASSERT_EQ(::stat(file.constData(), &saved), 0);
    EXPECT_EQ(saved.st_mode & 07777, 0640u);
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"set.m3u"});
}

TEST_F(PlaylistFilesTest, AReadOnlyFileIsNotReplaced) {
    SavePlaylistFile(path("set.m3u"), "old\r\n");
    QFile::setPermissions(path("set.m3u"), QFile::ReadOwner);
    const test::AsAnyUser asAnyUser;
    EXPECT_EQ(FailureOf([&] { SavePlaylistFile(path("set.m3u"), "new\r\n"); }),
              path("set.m3u") + " cannot be saved: it is read-only.");
    EXPECT_EQ(ReadPlaylistFile(path("set.m3u")), "old\r\n");
}

TEST_F(PlaylistFilesTest, AFailedSaveLeavesNoTemporaryFile) {
    QDir().mkpath(path("taken.m3u"));
    EXPECT_THROW(SavePlaylistFile(path("taken.m3u"), "new\r\n"), Error);
    EXPECT_TRUE(QFileInfo(path("taken.m3u")).isDir());
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
}
