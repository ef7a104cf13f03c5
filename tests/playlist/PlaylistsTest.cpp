// The playlist room through the real window: browsing, adding, dropping, the deck lists and
// the save panel, with lists and names from this and other systems.

#include "common/BrowserLists.h"
#include "common/FileNames.h"
#include "common/Twips.h"
#include "common/Widgets.h"
#include "playlist/PlaylistFiles.h"
#include "support/Failure.h"
#include "support/WindowTest.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velmor;
using namespace velmor::test;

namespace {
// The window with a scratch folder of music shown in the browser.
struct PlaylistsTest : WindowTest {
    FakePlayer& player = t.player(0);
    QListWidget* lst = ui.lstPlay[0];
    DeckPlaylist& list0 = w.playlists.list(0);
    QTemporaryDir tmp;
    QString music = tmp.filePath("music");
    void SetUp() override {
        for (const char* name :
             {"b.mp3", "a.mp3", "C.MP3", "m.wav", "notes.txt", "l.wma", "x.mp3.part"})
            file(QString("music/") + name);
        file("music/list.M3U", "#EXTM3U\r\nx.mp3\r\nSub\\y.mp3\r\n/abs/z.MP3\r\n");
        browse(music);
    }
    // Empty files do for tracks: the fake player reads none.
    void file(const QString& relative, const QByteArray& bytes = {}) const {
        QDir().mkpath(QFileInfo(tmp.filePath(relative)).path());
        QFile out(tmp.filePath(relative));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
    }
    void browse(const QString& path) {
        w.browser.dir_Choose(path);
        ASSERT_EQ(ui.dir->Path(), path);
    }
    QStringList shownFiles() const {
        QStringList names;
        for (int i = 0; i < ui.fil->count(); ++i)
            names << ui.fil->item(i)->text();
        return names;
    }
    void add(const QStringList& names) {
        ui.fil->clearSelection();
        for (const QString& name : names)
            ui.fil->findItems(name, Qt::MatchExactly).value(0)->setSelected(true);
        w.browser.cmdOK_Click();
    }
    // Deck d's entries as "folder|name", the music folder written "~".
    QString entries(int d) {
        QStringList all;
        for (const Track& track : w.playlists.list(d).tracks())
            all << QString(track.folder + "|" + track.name).replace(music, "~");
        return all.join(' ');
    }
    void mouse(QAbstractItemView* view, QEvent::Type type, Qt::MouseButton button, int row) {
        const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), button, button, {});
        QCoreApplication::sendEvent(view->viewport(), &event);
    }
    // Drops files of the music folder.
    void drop(QAbstractItemView* view, const QStringList& names) {
        QByteArray uris;
        for (const QString& name : names)
            uris += QUrl::fromLocalFile(music + "/" + name).toEncoded() + "\r\n";
        QMimeData data;
        data.setData("text/uri-list", uris);
        QDragEnterEvent enter({20, 20}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(view->viewport(), &enter);
        QDropEvent dropped(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(view->viewport(), &dropped);
        EXPECT_TRUE(enter.isAccepted() && dropped.isAccepted());
    }
    // Open: the controls that would change the list locked, the folder list short.
    bool panelOpen() {
        return !ui.cmdOK->isEnabled() && !ui.optPla[3]->isEnabled() &&
               ui.dir->height() == TwipsToPixels(SavePanel::kDirOpen);
    }
};
} // namespace

// The browser shows the chain of folders from the root, and names that are not UTF-8 as they
// can be shown while adding them byte for byte; what cannot be read changes nothing.
TEST_F(PlaylistsTest, TheBrowserShowsTheChainFromTheRootAndWhatCannotBeReadChangesNothing) {
    // The root, then each folder one step further in.
    EXPECT_EQ(ui.dir->currentItem()->text(), QString(2 * int(music.count('/')), ' ') + "music");
    EXPECT_EQ(shownFiles(), (QStringList{"a.mp3", "b.mp3", "C.MP3", "list.M3U", "m.wav"}));
    w.browser.dir_Choose(tmp.filePath("gone"));
    ui.drv->addItem(tmp.filePath("no medium"));
    ui.drv->setCurrentIndex(ui.drv->count() - 1);  // raises drv_Change
    QFile::remove(tmp.filePath("music/list.M3U")); // gone between listing and adding
    add({"a.mp3", "list.M3U", "m.wav"});
    EXPECT_EQ(std::tuple(ui.fil->Path(), entries(0), t.reporter.messages.size()),
              std::tuple(music, QString("~|a.mp3"), size_t(3))); // what came before
    EXPECT_TRUE(t.reporter.last().text.endsWith("list.M3U cannot be read: it does not exist."));
    // A pipe, which the file list does not show, or a folder may be dropped as a list.
    ASSERT_EQ(::mkfifo(FileNameToBytes(music + "/pipe.m3u").constData(), 0644), 0);
    EXPECT_EQ(FailureOf([&] { ReadPlaylistFile(music + "/pipe.m3u"); }) + "|" +
                  FailureOf([&] { ReadPlaylistFile(music); }),
              music + "/pipe.m3u cannot be read: it is not a file.|" + music +
                  " cannot be read: it is a folder.");
    const QByteArray odd = FileNameToBytes(music) + "/\xC9t\xE9";
    ASSERT_EQ(::mkdir(odd.constData(), 0755), 0);
    ::close(::open((odd + "/caf\xE9.mp3").constData(), O_WRONLY | O_CREAT, 0644));
    browse(FileNameFromBytes(odd));
    EXPECT_TRUE(ui.dir->currentItem()->text().endsWith(u" \uFFFDt\uFFFD"_qs));
    EXPECT_EQ(shownFiles(), QStringList{u"caf\uFFFD.mp3"_qs});
    w.browser.cmdOKCarpeta_Click();
    EXPECT_EQ(list0.tracks().last(),
              (Track{FileNameFromBytes("caf\xE9.mp3"), FileNameFromBytes(odd)}));
    ::remove((odd + "/caf\xE9.mp3").constData()); // Qt's file functions cannot name it
    ::rmdir(odd.constData());
    ui.drv->setCurrentIndex(0); // the root, whose links are followed
    EXPECT_EQ(ui.fil->Path(), "/");
}

// Adding goes to the active deck, a list expanded in place, the first entry loaded unstarted;
// a right click in the file list adds the selection as it was. Dropped folders, lists and
// tracks add in the drop's order; a folder or file dropped on the browser opens its folder.
TEST_F(PlaylistsTest, AddingAndDroppingExpandListsInPlaceOnTheDeckInTheirOrder) {
    w.activation.fra_Click(3);
    t.player(3).log.clear();
    add({"m.wav", "list.M3U", "a.mp3"});
    EXPECT_EQ(entries(3), "~|a.mp3 ~|x.mp3 ~/Sub|y.mp3 /abs|z.MP3 ~|m.wav");
    ui.fil->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
    mouse(ui.fil, QEvent::MouseButtonPress, Qt::RightButton, 0);
    mouse(ui.fil, QEvent::MouseButtonRelease, Qt::RightButton, 0);
    w.browser.fil_MouseUp(Qt::LeftButton); // adds nothing
    EXPECT_EQ(entries(3), "~|a.mp3 ~|x.mp3 ~/Sub|y.mp3 /abs|z.MP3 ~|m.wav ~|b.mp3");
    EXPECT_EQ(t.player(3).log, QStringList{"FileName " + music + "/a.mp3"}); // not started
    for (const char* name : {"f/b.mp3", "f/a.FLAC", "f/notes.txt", "f/sub/deeper.mp3"})
        file(QString("music/") + name);
    file("music/l.m3u8", "m.wav\r\n");
    drop(ui.lstPlay[2], {"f", "l.m3u8", "b.mp3", "f/notes.txt", "gone.mp3"});
    EXPECT_EQ(entries(2), "~/f|a.FLAC ~/f|b.mp3 ~|m.wav ~|b.mp3");
    drop(lst, {}); // only other computers' files, on the first deck: nothing
    EXPECT_TRUE(t.reporter.notices.size() == 2 && // said without blocking
                t.reporter.notices[0].endsWith("notes.txt, gone.mp3"));
    drop(ui.dir, {"f"});
    EXPECT_EQ(shownFiles(), (QStringList{"a.FLAC", "b.mp3"}));
    drop(ui.dir, {"m.wav"});
    EXPECT_EQ(ui.dir->Path(), music);
}

// Named for the ThreadSanitizer run of tests/extra, which picks this test by its name.
using ListsFromAnywhere = PlaylistsTest;
TEST_F(ListsFromAnywhere, ALongListIsLookedUpOnAWorkerAndMarkedAsFound) {
    QByteArray list;
    for (int i = 0; i < 1500; ++i) {
        if (i % 3 == 0)
            file(QString("music/t%1.mp3").arg(i));
        list += QString(i == 1401 ? "C:\\x\\t%1.mp3\n" : "t%1.mp3\n").arg(i).toUtf8();
    }
    file("music/long.m3u", list);
    browse(music);
    w.browser.entryChecks().budget = std::chrono::milliseconds(0); // all but the first
    add({"long.m3u"});
    list0.removeAt(4); // deleted while being looked up: the marks below stay on their own
    list0.removeAt(3); // entries
    w.browser.entryChecks().waitUntilDone();
    ASSERT_EQ(list0.count(), 1498);
    for (int j = 0; j < 1498; ++j)
        ASSERT_EQ(list0.unplayableReason(j).isEmpty(), (j < 3 ? j : j + 2) % 3 == 0) << j;
    EXPECT_EQ(list0.folder(1399), music); // found beside the list, not where Windows said
}

TEST(DeckPlaylist, RemovesRunsOfRowsAndKeepsMarksAndNamesWithTheirEntries) {
    QListWidget view;
    view.setSelectionMode(QAbstractItemView::ExtendedSelection);
    DeckPlaylist list(&view);
    const QString odd = FileNameFromBytes("caf\xE9.mp3"); // shown otherwise than named: kept
    list.append({{"a", "/0"}, {"b", "/1"}, {odd, "/2"}, {"d", "/3"}, {"e", "/4"}, {"f", "/5"}});
    list.setLoaded(2);
    list.markUnplayable(2, "why"); // the loaded entry, bold: struck as well
    list.markUnplayable(5, "gone");
    for (int row : {0, 1, 3})
        view.item(row)->setSelected(true);
    list.removeSelected();
    EXPECT_EQ(list.tracks(), (QList<Track>{{odd, "/2"}, {"e", "/4"}, {"f", "/5"}}));
    auto looks = [&] {
        return std::pair(view.item(0)->font().bold(), view.item(0)->font().strikeOut());
    };
    EXPECT_EQ(std::tuple(looks(), list.loaded(), list.unplayableReason(2)),
              std::tuple(std::pair(true, true), 0, QString("gone")));
    list.setLoaded(1);
    list.clearUnplayable(0);
    EXPECT_EQ(looks(), std::pair(false, false));
    list.removeAt(1);
    EXPECT_EQ(list.loaded(), -1);
}

// A double click stops the deck and plays the chosen entry, or the next that plays; a right
// press stops it and the release cues the entry clicked last, the selection kept.
TEST_F(PlaylistsTest, DoubleClickPlaysTheChosenEntryAndARightClickCuesIt) {
    list0.append(
        {{"t.mp3", "/m0"}, {"t.mp3", "/m1"}, {"c.mp3", "/m2"}, {"d.wav", "/m3"}, {"e.mp3", "/m4"}});
    mouse(lst, QEvent::MouseButtonRelease, Qt::RightButton, 0); // nothing chosen: one box
    t.open(0, "/elsewhere/x.mp3");
    t.playPause(0);
    player.log.clear();
    player.refused["/m2/c.mp3"] = "not an audio file";
    lst->setCurrentRow(2);
    w.playlists.lstPlay_DblClick(0);
    DeliverNotifications(); // the refusal comes once the player has tried the file
    EXPECT_EQ(QStringList{player.log.first()} + player.log.last(2)
                  << QString::number(list0.isUnplayable(2)),
              (QStringList{"Stop", "FileName /m3/d.wav", "Play", "1"})); // 1: marked
    lst->setCurrentRow(0); // the first entry is as much a choice as any other
    w.playlists.lstPlay_DblClick(0);
    EXPECT_EQ(player.log.last(2), (QStringList{"FileName /m0/t.mp3", "Play"}));
    player.refused.clear(); // a marked entry chosen again is tried again: its file may be back
    lst->setCurrentRow(1);
    mouse(lst, QEvent::MouseButtonPress, Qt::RightButton, 4);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Stopped);
    lst->setCurrentRow(2);
    mouse(lst, QEvent::MouseButtonRelease, Qt::RightButton, 4); // the right button moves nothing
    EXPECT_EQ(std::tuple(player.FileName(), list0.isUnplayable(2), SelectedRows(lst)),
              std::tuple(QString("/m2/c.mp3"), false, QList<int>{2}));
    mouse(lst, QEvent::MouseButtonPress, Qt::LeftButton, 4);
    EXPECT_EQ(lst->currentRow(), 4);
    // Delete, not Backspace, deletes the selection of the active deck's list.
    QTest::keySequence(lst, QKeySequence(Qt::Key_Backspace, Qt::Key_Delete));
    EXPECT_EQ(std::pair(list0.count(), t.reporter.messages.size()), std::pair(4, size_t(1)));
}

TEST_F(PlaylistsTest, TheSavePanelRefusesUntilASaveSucceedsKeepingTheOldFileMeanwhile) {
    const QString lists = tmp.filePath("lists");
    file("lists/set.m3u", "old\r\n");
    QDir().mkpath(lists + "/taken.m3u");
    browse(lists);
    w.savePanel.cmdGuardarComo_Click(); // the active deck's list is empty: a box
    EXPECT_FALSE(panelOpen());
    t.open(1, "/elsewhere/x.mp3");
    t.playPause(1); // a box all the same: the user waits for the answer
    list0.append({{"a.mp3", lists}});
    w.savePanel.cmdGuardarComo_Click();
    // Refused: a forbidden character, a folder's name (the new file cannot take its place),
    // a name too long for even the temporary file.
    for (const QString& name : {QString("my:list"), QString("taken"), QString(300, 'x')}) {
        ui.txtNomArch->setText(name);
        w.savePanel.cmdGuardar_Click();
        EXPECT_TRUE(panelOpen() && (name.contains(":") || t.reporter.last().text.contains(name)));
    }
    EXPECT_EQ(std::tuple(t.reporter.messages.size(), ReadPlaylistFile(lists + "/set.m3u"),
                         QDir(lists).entryList(QDir::Files | QDir::Hidden)),
              std::tuple(size_t(4), QByteArray("old\r\n"), QStringList{"set.m3u"})); // no temporary
    // Saved at last: the old file replaced, the panel closed, the file shown.
    ui.txtNomArch->setText("set");
    w.savePanel.cmdGuardar_Click();
    EXPECT_EQ(ReadPlaylistFile(lists + "/set.m3u"), "a.mp3\r\n");
    EXPECT_TRUE(ui.cmdOK->isEnabled() && ui.dir->height() == TwipsToPixels(SavePanel::kDirSaved));
    EXPECT_EQ(shownFiles(), QStringList{"set.m3u"});
}
