#include "playlist/FileBrowser.h"

#include "common/AutoFocus.h"
#include "common/BrowserLists.h"
#include "common/EventHooks.h"
#include "common/FileNames.h"
#include "common/FileSystem.h"
#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/Deck.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"
#include "deck/player/PlayableTypes.h"
#include "playlist/DeckActivation.h"
#include "playlist/FileUris.h"
#include "playlist/M3u.h"
#include "playlist/PlaylistFiles.h"
#include "playlist/Playlists.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace velmor {

namespace {
void onFileDrop(QAbstractItemView* view, const std::function<void(const QStringList&)>& dropped) {
    // What a file manager drags: a list of URIs. The list's own handling never sees it.
    auto offered = [](QEvent* event) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!drag->mimeData()->hasFormat(QStringLiteral("text/uri-list")))
            return false;
        drag->acceptProposedAction();
        return true;
    };
    OnEvent(view->viewport(), QEvent::DragEnter, offered);
    OnEvent(view->viewport(), QEvent::DragMove, offered);
    OnEvent(view->viewport(), QEvent::Drop, [offered, dropped](QEvent* event) {
        if (!offered(event))
            return false;
        const QMimeData* data = static_cast<QDropEvent*>(event)->mimeData();
        dropped(LocalPathsOfUriList(data->data(QStringLiteral("text/uri-list"))));
        return true;
    });
}
} // namespace

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
    for (int d = 0; d < kDecks; ++d)
        onFileDrop(ui.lstPlay[d],
                   [this, d](const QStringList& paths) { lstPlay_OLEDragDrop(d, paths); });
    onFileDrop(ui.dir, [this](const QStringList& paths) { dir_OLEDragDrop(paths); });

    openOn(CurrentFolder());
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
        QList<Track> files;
        for (int i : SelectedRows(w_.ui.fil))
            files.append({w_.ui.fil->name(i), w_.ui.dir->Path()});
        addAndLoad(activation_.ActiveDeck(), files);
    });
}

void FileBrowser::addAndLoad(int d, const QList<Track>& files) {
    DeckPlaylist& list = playlists_.list(d);
    // Tracks are gathered and appended together; before a playlist file is read, what came
    // before it is in the playlist, so a file that cannot be read keeps it there.
    QList<Track> tracks;
    for (const Track& file : files) {
        if (IsPlaylistName(file.name)) {
            list.append(tracks);
            tracks.clear();
            addList(d, file);
        } else {
            tracks.append(file);
        }
    }
    list.append(tracks);
    // A deck that never had a file gets the first entry, unstarted, or the first one after
    // it that plays. Nothing to load when nothing could be added.
    if (w_.pla[d]->FileName().isEmpty() && list.count() > 0)
        LoadUnlessPlaying(d, 0);
}

void FileBrowser::cmdOKCarpeta_Click() {
    w_.ui.fil->selectAll();
    cmdOK_Click();
    w_.ui.fil->clearSelection();
}

void FileBrowser::addList(int d, const Track& file) {
    const QByteArray bytes = ReadPlaylistFile(JoinPath(file.folder, file.name));
    const bool utf8 = file.name.endsWith(QStringLiteral(".m3u8"), Qt::CaseInsensitive);
    checks_.append(playlists_.list(d), ReadM3u(bytes, {file.folder, utf8, PlayableExtensions()}));
}

void FileBrowser::lstPlay_OLEDragDrop(int d, const QStringList& paths) {
    trappedInBox(w_.reporter, [&] {
        QList<Track> files;
        QStringList left; // what is neither a track, a playlist nor a folder
        for (const QString& dropped : paths) {
            const QString path = QDir::cleanPath(dropped);
            const Track file = SplitPath(path);
            const FileKind kind = KindOf(path);
            if (kind == FileKind::Folder) {
                for (const QString& name : ListFiles(path, w_.ui.fil->patterns()))
                    files.append({name, path});
            } else if (kind == FileKind::File &&
                       (IsPlayableName(file.name) || IsPlaylistName(file.name))) {
                files.append(file);
            } else {
                left.append(DisplayName(file.name));
            }
        }
        addAndLoad(d, files);
        if (paths.isEmpty())
            w_.reporter.notice(QStringLiteral("Nothing was added: only files and folders of this "
                                              "computer can be dropped here."));
        else if (!left.isEmpty())
            w_.reporter.notice(QStringLiteral("Not added, being no track, playlist or folder: %1")
                                   .arg(left.join(QStringLiteral(", "))));
    });
}

void FileBrowser::dir_OLEDragDrop(const QStringList& paths) {
    if (paths.isEmpty())
        return;
    const QString path = QDir::cleanPath(paths.first());
    dir_Choose(KindOf(path) == FileKind::Folder ? path : SplitPath(path).folder);
}

void FileBrowser::LoadUnlessPlaying(int d, int entry) {
    if (w_.pla[d]->PlayState() != MediaPlayer::Playing)
        w_.decks[d]->load(entry, +1);
}

} // namespace velmor
