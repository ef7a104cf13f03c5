// Lists and tracks brought from other players and other systems, through the real window.

#include "PlaylistFixture.h"

#include "common/Error.h"
#include "common/FileNames.h"
#include "playlist/PlaylistFiles.h"

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
    QString lists;
    QString startedIn = QDir::currentPath();
    void SetUp() override {
        lists = folder("lists");
        // Started from somewhere else than the lists' folder, as from a desktop menu.
        QDir::setCurrent(folder("elsewhere"));
    }
    void TearDown() override {
        QDir::setCurrent(startedIn);
        // Qt's own file functions cannot name these to remove them.
        for (auto raw = made.rbegin(); raw != made.rend(); ++raw)
            ::remove(raw->constData());
    }
    std::vector<QByteArray> made;

    // A file whose name is given as the file system's bytes.
    QString rawFile(const QString& in, const QByteArray& name, const QByteArray& bytes = {}) {
        const QByteArray path = FileNameToBytes(in) + "/" + name;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
        ::close(fd);
        made.push_back(path);
        return FileNameFromBytes(path);
    }
    QStringList marks(int d) {
        QStringList all;
        const DeckPlaylist& list = w.playlists.list(d);
        for (int i = 0; i < list.count(); ++i)
            all << list.unplayableReason(i);
        return all;
    }
    void drop(QWidget* list, const QStringList& paths) {
        QMimeData data;
        QByteArray uris;
        for (const QString& path : paths)
            uris += QUrl::fromLocalFile(path).toEncoded() + "\r\n";
        data.setData("text/uri-list", uris);
        QWidget* target = static_cast<QAbstractItemView*>(list)->viewport();
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &dropped);
        EXPECT_TRUE(dropped.isAccepted());
    }
};
} // namespace

TEST_F(ListsFromAnywhere, ALinuxListWithRelativeEntriesPlaysFromAnotherCurrentFolder) {
    for (const char* name : {"sub/b.mp3", "sub/c.flac", "d.mp3"})
        file(QString("lists/") + name);
    file("lists/set.m3u",
         "#EXTM3U\n#EXTINF:2,B\nsub/b.mp3\nsub\\c.flac\nC:\\Music\\d.mp3\ngone.ogg\n");
    browse(lists);
    add({"set.m3u"});
    EXPECT_EQ(entries(0), (QStringList{lists + "/sub|b.mp3", lists + "/sub|c.flac",
                                       lists + "|d.mp3", lists + "|gone.ogg"}));
    EXPECT_EQ(marks(0),
              (QStringList{"", "", "", lists + "/gone.ogg cannot be played: it does not exist."}));
    EXPECT_EQ(t.player(0).FileName(), lists + "/sub/b.mp3");
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(ListsFromAnywhere, ANameThatIsNotUtf8IsListedAddedAndWrittenByteForByte) {
    const QString track = rawFile(lists, "caf\xE9.mp3");
    rawFile(lists, "ok.wav");
    made.push_back(FileNameToBytes(lists) + "/\xC9t\xE9");
    ASSERT_EQ(::mkdir(made.back().constData(), 0755), 0);
    browse(lists);
    EXPECT_EQ(shownFiles(), (QStringList{u"caf\uFFFD.mp3"_qs, "ok.wav"}));
    EXPECT_FALSE(ui.dir->findItems(u"\uFFFDt\uFFFD"_qs, Qt::MatchEndsWith).isEmpty());

    w.browser.cmdOKCarpeta_Click();
    EXPECT_EQ(w.playlists.list(0).fullPath(0), track);
    EXPECT_EQ(ui.lstPlay[0]->item(0)->text(), u"caf\uFFFD.mp3"_qs);
    EXPECT_EQ(t.player(0).FileName(), track);
    save("both");
    EXPECT_EQ(contents("lists/both.m3u"), "caf\xE9.mp3\r\nok.wav\r\n");

    // Read back: not UTF-8, so read as Windows-1252, where "café.mp3" does not exist; the
    // line's own bytes do.
    w.activation.fra_Click(1);
    add({"both.m3u"});
    EXPECT_EQ(entries(1), entries(0));
    EXPECT_EQ(marks(1), (QStringList{"", ""}));

    // A folder with such a name opens and lists its files.
    w.browser.dir_Choose(FileNameFromBytes(FileNameToBytes(lists) + "/\xC9t\xE9"));
    EXPECT_TRUE(t.reporter.empty());
    EXPECT_EQ(ui.fil->count(), 0);
}

TEST_F(ListsFromAnywhere, AFolderAndAListDroppedOnDeck3AddInTheDropsOrder) {
    for (const char* name : {"drop/f/b.mp3", "drop/f/a.FLAC", "drop/f/notes.txt", "drop/x.wav",
                             "drop/single.opus", "drop/f/sub/deeper.mp3"})
        file(name);
    file("drop/l.m3u8", "x.wav\r\n");
    const QString base = tmp.filePath("drop");
    drop(ui.lstPlay[2],
         {base + "/f", base + "/l.m3u8", base + "/single.opus", base + "/f/notes.txt"});
    EXPECT_EQ(entries(2), (QStringList{base + "/f|a.FLAC", base + "/f|b.mp3", base + "|x.wav",
                                       base + "|single.opus"}));
    EXPECT_EQ(t.player(2).FileName(), base + "/f/a.FLAC");
    EXPECT_EQ(w.playlists.list(0).count(), 0);
    ASSERT_EQ(t.reporter.notices.size(), 1u); // the text file, said without blocking
    EXPECT_TRUE(t.reporter.notices[0].contains("notes.txt"));

    drop(ui.dir, {base + "/f"});
    EXPECT_EQ(ui.dir->Path(), base + "/f");
    EXPECT_EQ(shownFiles(), (QStringList{"a.FLAC", "b.mp3"}));
}

TEST_F(ListsFromAnywhere, ALongListIsLookedUpOnAWorkerAndMarkedAsFound) {
    QByteArray list;
    for (int i = 0; i < 1500; ++i) {
        if (i % 3 == 0)
            file(QString("lists/t%1.mp3").arg(i));
        list += QString("t%1.mp3\n").arg(i).toUtf8();
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
    EXPECT_EQ(w.playlists.list(1).count(), 0);
}

TEST_F(ListsFromAnywhere, BadListsAddNothingAndNeverHang) {
    QByteArray junk(10 * 1024 * 1024, Qt::Uninitialized);
    for (qsizetype i = 0; i < junk.size(); ++i)
        junk[i] = char((i * 2654435761u) >> 13);
    file("lists/junk.m3u", junk);
    file("lists/self.m3u", "self.m3u\r\n" + QByteArray(100000, 'y') + "\r\nok.mp3\r\n");
    file("lists/ok.mp3");
    ASSERT_EQ(::mkfifo(FileNameToBytes(lists + "/pipe.m3u").constData(), 0644), 0);
    browse(lists);
    appendTracks(0, {"/m/kept.mp3"});
    add({"junk.m3u", "self.m3u"});
    EXPECT_EQ(entries(0).first(), "/m|kept.mp3");
    EXPECT_EQ(entries(0).last(), lists + "|ok.mp3");
    EXPECT_LE(entries(0).size(), 4); // junk lines that end like a track name, at worst
    EXPECT_TRUE(t.reporter.empty());
    try { // the file list shows no pipe, but a list may be dropped or gone by then
        ReadPlaylistFile(lists + "/pipe.m3u");
        ADD_FAILURE() << "a pipe was read";
    } catch (const Error& e) {
        EXPECT_TRUE(e.description().endsWith("pipe.m3u cannot be read: it is not a file."));
    }
}
