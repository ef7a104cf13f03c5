#pragma once

#include "common/BrowserLists.h"
#include "playlist/SavePanel.h"
#include "support/TestWindow.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

// Readable failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace velmor::test {

// The real window with a scratch folder of music to browse, add and save into.
struct PlaylistFixture : ::testing::Test {
    TestWindow t;
    Main& w = t.w();
    Controls& ui = w.ui;
    QTemporaryDir tmp;

    // A folder below the scratch folder, made on demand.
    QString folder(const QString& sub) const {
        QDir().mkpath(tmp.filePath(sub));
        return tmp.filePath(sub);
    }
    // Writes a file (empty files do for tracks: the fake player reads none).
    QString file(const QString& relative, const QByteArray& bytes = {}) const {
        const QString path = tmp.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return path;
    }
    QByteArray contents(const QString& relative) const {
        QFile in(tmp.filePath(relative));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<missing>");
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
    void select(const QStringList& names) {
        ui.fil->clearSelection();
        for (const QString& name : names) {
            const auto found = ui.fil->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << name.toStdString();
            found.first()->setSelected(true);
        }
    }
    void add(const QStringList& names) {
        select(names);
        w.browser.cmdOK_Click();
    }
    // Saves the active deck's list through the save panel, as `name`.m3u.
    void save(const QString& name) {
        w.savePanel.cmdGuardarComo_Click();
        ui.txtNomArch->setText(name);
        w.savePanel.cmdGuardar_Click();
    }
    // Deck d's entries as "folder|name".
    QStringList entries(int d) {
        QStringList all;
        const DeckPlaylist& list = w.playlists.list(d);
        for (int i = 0; i < list.count(); ++i)
            all << list.folder(i) + "|" + list.name(i);
        return all;
    }
    void appendTracks(int d, const QStringList& paths) {
        for (const QString& path : paths)
            w.playlists.list(d).append(QFileInfo(path).fileName(), QFileInfo(path).path());
    }
};

} // namespace velmor::test
