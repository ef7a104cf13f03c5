// Lists and tracks brought from other players and other systems, through the real window.

#include "PlaylistFixture.h"

#include "common/FileNames.h"
#include "playlist/PlaylistFiles.h"
#include "support/Failure.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct ListsFromAnywhere : PlaylistFixture {
    QString lists = folder("lists");
    QStringList marks(int d) {
        QStringList all;
        for (int i = 0; i < w.playlists.list(d).count(); ++i)
            all << w.playlists.list(d).unplayableReason(i);
        return all;
    }
    void drop(QAbstractItemView* list, const QStringList& paths) {
        QMimeData data;
        QByteArray uris;
        for (const QString& path : paths)
            uris += QUrl::fromLocalFile(path).toEncoded() + "\r\n";
        data.setData("text/uri-list", uris);
        QDragEnterEvent enter({20, 20}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(list->viewport(), &enter);
        QDropEvent dropped(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(list->viewport(), &dropped);
        EXPECT_TRUE(enter.isAccepted() && dropped.isAccepted());
    }
};
} // namespace

TEST_F(ListsFromAnywhere, ANameThatIsNotUtf8IsListedShownAndAddedByteForByte) {
    const QByteArray folderBytes = FileNameToBytes(lists) + "/\xC9t\xE9";
    ASSERT_EQ(::mkdir(folderBytes.constData(), 0755), 0);
    ::close(::open((folderBytes + "/caf\xE9.mp3").constData(), O_WRONLY | O_CREAT, 0644));
    browse(lists);
    EXPECT_FALSE(ui.dir->findItems(u"\uFFFDt\uFFFD"_qs, Qt::MatchEndsWith).isEmpty());
    browse(FileNameFromBytes(folderBytes));
    EXPECT_EQ(shownFiles(), QStringList{u"caf\uFFFD.mp3"_qs});
    w.browser.cmdOKCarpeta_Click();
    EXPECT_EQ(t.player(0).FileName(), FileNameFromBytes(folderBytes + "/caf\xE9.mp3"));
    EXPECT_TRUE(t.reporter.empty());
    ::remove((folderBytes + "/caf\xE9.mp3").constData()); // Qt's file functions cannot name it
    ::rmdir(folderBytes.constData());
}

TEST_F(ListsFromAnywhere, FoldersListsAndTracksDroppedOnADeckAddInTheDropsOrder) {
    for (const char* name : {"drop/f/b.mp3", "drop/f/a.FLAC", "drop/f/notes.txt", "drop/x.wav",
                             "drop/single.opus", "drop/f/sub/deeper.mp3"})
        file(name);
    file("drop/l.m3u8", "x.wav\r\n");
    const QString base = tmp.filePath("drop");
    drop(ui.lstPlay[2], {base + "/f", base + "/l.m3u8", base + "/single.opus",
                         base + "/f/notes.txt", base + "/gone.mp3"});
    EXPECT_EQ(entries(2), (QStringList{base + "/f|a.FLAC", base + "/f|b.mp3", base + "|x.wav",
                                       base + "|single.opus"}));
    EXPECT_EQ(t.player(2).FileName(), base + "/f/a.FLAC");
    ASSERT_EQ(t.reporter.notices.size(), 1u); // said without blocking
    EXPECT_TRUE(t.reporter.notices[0].endsWith("notes.txt, gone.mp3"));
    drop(ui.lstPlay[0], {}); // only other computers' files, on the first deck: nothing
    EXPECT_EQ(t.reporter.notices.size(), 2u);
    drop(ui.dir, {base + "/f"});
    EXPECT_EQ(shownFiles(), (QStringList{"a.FLAC", "b.mp3"}));
    drop(ui.dir, {base + "/x.wav"}); // a file opens its folder
    EXPECT_EQ(ui.dir->Path(), base);
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(ListsFromAnywhere, ALongListIsLookedUpOnAWorkerAndMarkedAsFound) {
    QByteArray list;
    for (int i = 0; i < 1500; ++i) {
        if (i % 3 == 0)
            file(QString("lists/t%1.mp3").arg(i));
        list += QString(i == 1401 ? "C:\\x\\t%1.mp3\n" : "t%1.mp3\n").arg(i).toUtf8();
    }
    file("lists/long.m3u", list);
    browse(lists);
    w.browser.entryChecks().budget = std::chrono::milliseconds(0); // all but the first
    add({"long.m3u"});
    w.playlists.list(0).removeAt(4); // deleted while being looked up: the marks below stay
    w.playlists.list(0).removeAt(3); // on their own entries
    w.activation.fra_Click(1);
    add({"long.m3u"});
    w.playlists.cmdBorrarTodo_Click(); // deleted while being looked up
    w.browser.entryChecks().waitUntilDone();
    const QStringList found = marks(0);
    ASSERT_EQ(found.size(), 1498);
    for (int j = 0; j < 1498; ++j) {
        const int i = j < 3 ? j : j + 2;
        ASSERT_EQ(found[j].isEmpty(), i % 3 == 0) << i;
    }
    // Found beside the list rather than where a Windows path said.
    EXPECT_EQ(w.playlists.list(0).folder(1399), lists);
    EXPECT_EQ(w.playlists.list(1).count(), 0);
}

TEST_F(ListsFromAnywhere, APipeOrAFolderNamedLikeAListIsNoList) {
    ASSERT_EQ(::mkfifo(FileNameToBytes(lists + "/pipe.m3u").constData(), 0644), 0);
    // The file list shows no pipe, but a list may be dropped or gone by then.
    const std::pair<QString, const char*> cases[] = {{lists + "/pipe.m3u", "it is not a file"},
                                                     {lists, "it is a folder"}};
    for (const auto& [path, cause] : cases)
        EXPECT_EQ(FailureOf([&] { ReadPlaylistFile(path); }),
                  path + " cannot be read: " + cause + ".");
}
