// The file browser: the folders and files it shows, and adding and dropping onto the decks.

#include "playlist/MusicFolderTest.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmor;
using namespace velmor::test;

namespace {
using FileBrowserTest = MusicFolderTest;
} // namespace

// The folder list: the root, then each folder one step further in. The file list: the tracks
// and the lists the decks take, in name order.
TEST_F(FileBrowserTest, ItShowsTheFolderChainFromTheRootAndTheFolderTracksAndLists) {
    const int depth = int(music.count('/'));
    EXPECT_EQ(ui.dir->currentItem()->text(), QString(2 * depth, ' ') + "music");
    EXPECT_EQ(shownFiles(), (QStringList{"a.mp3", "b.mp3", "C.MP3", "list.M3U", "m.wav"}));
}

TEST_F(FileBrowserTest, TheRootDriveShowsTheRoot) {
    ui.drv->addItem(music);
    ui.drv->setCurrentIndex(ui.drv->count() - 1);
    ui.drv->setCurrentIndex(0); // the root, whose links are followed
    EXPECT_EQ(ui.fil->Path(), "/");
}

// A folder gone, a drive with no medium, a list gone between listing and adding: each is
// told, and what was shown and added stays.
TEST_F(FileBrowserTest, WhatCannotBeReadIsToldAndChangesNothing) {
    w.browser.dir_Choose(tmp.filePath("gone"));
    ui.drv->addItem(tmp.filePath("no medium"));
    ui.drv->setCurrentIndex(ui.drv->count() - 1); // raises drv_Change
    QFile::remove(tmp.filePath("music/list.M3U"));
    add({"a.mp3", "list.M3U", "m.wav"});
    EXPECT_EQ(ui.fil->Path(), music);
    EXPECT_EQ(entries(0), QStringList{"~/a.mp3"}); // what came before the list
    EXPECT_EQ(t.reporter.messages.size(), size_t(3));
    EXPECT_TRUE(t.reporter.last().text.endsWith("list.M3U cannot be read: it does not exist."));
}

TEST_F(FileBrowserTest, NamesThatAreNotUtf8AreShownReadableAndAddedByteForByte) {
    const QByteArray odd = FileNameToBytes(music) + "/\xC9t\xE9";
    ASSERT_EQ(::mkdir(odd.constData(), 0755), 0);
    ::close(::open((odd + "/caf\xE9.mp3").constData(), O_WRONLY | O_CREAT, 0644));
    browse(FileNameFromBytes(odd));
    EXPECT_TRUE(ui.dir->currentItem()->text().endsWith(u" \uFFFDt\uFFFD"_qs));
    EXPECT_EQ(shownFiles(), QStringList{u"caf\uFFFD.mp3"_qs});
    w.browser.cmdOKCarpeta_Click();
    EXPECT_EQ(FileNameToBytes(list0.fullPath(0)), odd + "/caf\xE9.mp3");
    ::remove((odd + "/caf\xE9.mp3").constData()); // Qt's file functions cannot name it
    ::rmdir(odd.constData());
}

// The files chosen in name order; a deck without a file loads the first entry added, unstarted.
TEST_F(FileBrowserTest, AddingGoesToTheActiveDeckAListExpandedInPlace) {
    t.player(3).log.clear();
    w.activation.fra_Click(3);
    add({"m.wav", "list.M3U", "a.mp3"});
    EXPECT_EQ(entries(3),
              (QStringList{"~/a.mp3", "~/x.mp3", "~/Sub/y.mp3", "/abs/z.MP3", "~/m.wav"}));
    EXPECT_EQ(list0.count(), 0);
    EXPECT_EQ(t.player(3).log, QStringList{"FileName " + music + "/a.mp3"});
    EXPECT_EQ(w.playlists.list(3).loaded(), 0);
}

TEST_F(FileBrowserTest, ARightClickInTheFileListAddsTheSelectionAsItWas) {
    ui.fil->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
    mouse(ui.fil, QEvent::MouseButtonPress, Qt::RightButton, 0);
    mouse(ui.fil, QEvent::MouseButtonRelease, Qt::RightButton, 0);
    EXPECT_EQ(entries(0), QStringList{"~/b.mp3"});
    w.browser.fil_MouseUp(Qt::LeftButton); // adds nothing
    EXPECT_EQ(entries(0), QStringList{"~/b.mp3"});
}

// Dropped folders, lists and tracks add in the drop's order; what is none of them, and a drop
// of only other computers' files, is told without blocking.
TEST_F(FileBrowserTest, WhatIsDroppedOnADeckAddsInTheDropsOrder) {
    for (const char* name : {"f/b.mp3", "f/a.FLAC", "f/notes.txt", "f/sub/deeper.mp3"})
        file(QString("music/") + name);
    file("music/l.m3u8", "m.wav\r\n");
    drop(lst, {});
    EXPECT_EQ(list0.count(), 0);
    drop(ui.lstPlay[2], {"f", "l.m3u8", "b.mp3", "f/notes.txt", "gone.mp3"});
    EXPECT_EQ(entries(2), (QStringList{"~/f/a.FLAC", "~/f/b.mp3", "~/m.wav", "~/b.mp3"}));
    ASSERT_EQ(t.reporter.notices.size(), size_t(2));
    EXPECT_TRUE(t.reporter.notices[1].endsWith("notes.txt, gone.mp3"));
    EXPECT_EQ(t.reporter.messages.size(), size_t(0));
}

TEST_F(FileBrowserTest, AFolderOrFileDroppedOnTheBrowserOpensItsFolder) {
    file("music/f/a.FLAC");
    drop(ui.dir, {"f"});
    EXPECT_EQ(shownFiles(), QStringList{"a.FLAC"});
    drop(ui.dir, {"m.wav"});
    EXPECT_EQ(ui.dir->Path(), music);
}
