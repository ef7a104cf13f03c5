#include "playlist/FileBrowser.h"

#include "app/Main.h"
#include "common/AutoFocus.h"
#include "common/EventHooks.h"
#include "common/Widgets.h"
#include "playlist/BrowserLists.h"
#include "playlist/M3u.h"
#include "playlist/PlaylistFiles.h"

#include <QDir>
#include <QMouseEvent>

namespace velmor {

void FileBrowser::wire() {
    Controls& ui = w_.ui;
    QObject::connect(ui.drv, &QComboBox::currentIndexChanged, [this] { drv_Change(); });
    QObject::connect(ui.dir, &FolderList::folderChosen,
                     [this](const QString& path) { dir_Choose(path); });
    QObject::connect(ui.fil, &QListWidget::itemDoubleClicked, [this] { fil_DblClick(); });
    // A right click adds what is selected; it does not change the selection first.
    OnEvent(ui.fil->viewport(), QEvent::MouseButtonPress, [](QEvent* event) {
        return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
    });
    OnEvent(ui.fil->viewport(), QEvent::MouseButtonRelease, [this](QEvent* event) {
        fil_MouseUp(static_cast<QMouseEvent*>(event)->button());
        return false;
    });
    FocusOnMouseOver(ui.dir, ui.chkFocus);
    FocusOnMouseOver(ui.fil, ui.chkFocus);
    QObject::connect(ui.cmdOK, &QPushButton::clicked, [this] { cmdOK_Click(); });
    QObject::connect(ui.cmdOKCarpeta, &QPushButton::clicked, [this] { cmdOKCarpeta_Click(); });

    openOn(QDir::currentPath());
}

void FileBrowser::openOn(const QString& path) {
    // Start-up has nobody to tell: a current folder that cannot be read opens the root.
    for (const QString& folder : {path, QDir::rootPath()}) {
        try {
            w_.ui.dir->setPath(folder);
            w_.ui.fil->setPath(w_.ui.dir->Path());
            w_.ui.drv->showDriveOf(w_.ui.dir->Path());
            return;
        } catch (const std::exception&) {
        }
    }
}

void FileBrowser::drv_Change() {
    trapped(w_.reporter, [&] {
        w_.ui.dir->setPath(w_.ui.drv->Drive());
        dir_Change();
    });
}

void FileBrowser::dir_Choose(const QString& path) {
    trapped(w_.reporter, [&] {
        w_.ui.dir->setPath(path);
        dir_Change();
    });
}

void FileBrowser::dir_Change() {
    trapped(w_.reporter, [&] { w_.ui.fil->setPath(w_.ui.dir->Path()); });
}

void FileBrowser::fil_MouseUp(Qt::MouseButton button) {
    if (button == Qt::RightButton)
        cmdOK_Click();
}

void FileBrowser::cmdOK_Click() {
    // The user waits for what adding gives: a failure is a box, also while decks play.
    trappedInBox(w_.reporter, [&] {
        const int d = w_.activation.ActiveDeck();
        DeckPlaylist& list = w_.playlists.list(d);
        const QString folder = w_.ui.dir->Path();
        // Tracks are gathered and appended together; before an M3U file is read, what came
        // before it is in the playlist, so a file that cannot be read keeps it there.
        QList<Track> tracks;
        for (int i : SelectedRows(w_.ui.fil)) {
            const QString name = w_.ui.fil->item(i)->text();
            if (name.endsWith(QStringLiteral(".m3u"), Qt::CaseInsensitive)) {
                list.append(tracks);
                tracks.clear();
                AddM3UTracks(name);
            } else {
                tracks.append({name, folder});
            }
        }
        list.append(tracks);
        // A deck that never had a file gets the first entry, unstarted, or the first one after
        // it that plays. Nothing to load when nothing could be added.
        if (w_.pla[d]->FileName().isEmpty() && list.count() > 0)
            LoadUnlessPlaying(d, 0);
    });
}

void FileBrowser::cmdOKCarpeta_Click() {
    w_.ui.fil->selectAll();
    cmdOK_Click();
    w_.ui.fil->clearSelection();
}

void FileBrowser::AddM3UTracks(const QString& name) {
    const int d = w_.activation.ActiveDeck();
    const QString folder = w_.ui.dir->Path();
    const QByteArray bytes = ReadPlaylistFile(JoinPath(folder, name));
    w_.playlists.list(d).append(ReadM3u(bytes, folder));
}

void FileBrowser::LoadUnlessPlaying(int d, int entry) {
    if (w_.pla[d]->PlayState() != MediaPlayer::Playing)
        w_.loader.LoadPlayableEntry(d, entry, +1);
}

} // namespace velmor
