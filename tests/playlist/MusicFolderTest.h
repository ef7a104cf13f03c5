#pragma once

#include "common/BrowserLists.h"
#include "common/FileNames.h"
#include "support/WindowTest.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

namespace velmor::test {

// The window with a scratch folder of music shown in the browser: "a.mp3", "b.mp3",
// "C.MP3", "m.wav", "list.M3U" (naming "x.mp3", "Sub\y.mp3" and "/abs/z.MP3") and files the
// browser does not show.
struct MusicFolderTest : WindowTest {
    FakePlayer& player = t.player(0);
    QListView* lst = ui.lstPlay[0];
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
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(bytes), bytes.size());
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
    // Deck d's entries as paths, the music folder written "~".
    QStringList entries(int d) const {
        QStringList all;
        const DeckPlaylist& list = w.playlists.list(d);
        for (int i = 0; i < list.count(); ++i)
            all << list.fullPath(i).replace(music, "~");
        return all;
    }
    void choose(int row) { lst->setCurrentIndex(list0.index(row)); }
    static void mouse(QAbstractItemView* view, QEvent::Type type, Qt::MouseButton button, int row) {
        const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        QMouseEvent event(type, at, view->viewport()->mapToGlobal(at), button, button, {});
        QCoreApplication::sendEvent(view->viewport(), &event);
    }
    // Drops files of the music folder.
    void drop(QAbstractItemView* view, const QStringList& names) const {
        QByteArray uris;
        for (const QString& name : names)
            uris += QUrl::fromLocalFile(music + "/" + name).toEncoded() + "\r\n";
        QMimeData data;
        data.setData("text/uri-list", uris);
        QDragEnterEvent enter({20, 20}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(view->viewport(), &enter);
        QDropEvent dropped(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(view->viewport(), &dropped);
        EXPECT_TRUE(enter.isAccepted());
        EXPECT_TRUE(dropped.isAccepted());
    }
};

} // namespace velmor::test
