#include "playlist/SavePanel.h"

#include "common/BrowserLists.h"
#include "common/EventHooks.h"
#include "common/Reporter.h"
#include "common/TwipsLayout.h"
#include "common/Widgets.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"
#include "playlist/DeckActivation.h"
#include "playlist/M3u.h"
#include "playlist/PlaylistFiles.h"
#include "playlist/Playlists.h"

#include <QApplication>

namespace velmor {

namespace {
// The hourglass while the file is written.
struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};
} // namespace

bool IsValidListName(const QString& name) {
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (QChar c : name)
        if (forbidden.contains(c))
            return false;
    return true;
}

void SavePanel::wire() {
    Controls& ui = w_.ui;
    QObject::connect(ui.cmdGuardarComo, &QPushButton::clicked, [this] { cmdGuardarComo_Click(); });
    QObject::connect(ui.cmdGuardar, &QPushButton::clicked, [this] { cmdGuardar_Click(); });
    QObject::connect(ui.Command1, &QPushButton::clicked, [this] { Command1_Click(); });
    OnEvent(ui.txtNomArch, QEvent::MouseButtonRelease, [this](QEvent*) {
        // After the box has placed its caret for the click.
        QMetaObject::invokeMethod(
            w_.ui.txtNomArch, [this] { txtNomArch_Click(); }, Qt::QueuedConnection);
        return false;
    });
}

QList<QWidget*> SavePanel::lockedWhileOpen() const {
    const Controls& ui = w_.ui;
    QList<QWidget*> controls{ui.cmdExpandir,   ui.cmdGuardarComo, ui.cmdBorrar,
                             ui.cmdBorrarTodo, ui.cmdOK,          ui.cmdOKCarpeta};
    for (QWidget* option : ui.optPla)
        controls.append(option);
    return controls;
}

void SavePanel::setLocked(bool locked) {
    for (QWidget* control : lockedWhileOpen())
        control->setEnabled(!locked);
}

void SavePanel::setDirHeight(int twips) {
    SetTwipsHeight(w_.ui.dir, twips);
}

void SavePanel::cmdGuardarComo_Click() {
    if (playlists_.list(activation_.ActiveDeck()).count() == 0) {
        w_.reporter.show("There aren't any files in the active list.", kAppTitle, Icon::None);
        return;
    }
    setLocked(true);
    setDirHeight(kDirOpen);
}

void SavePanel::cmdGuardar_Click() {
    const int d = activation_.ActiveDeck();
    QLineEdit* box = w_.ui.txtNomArch;
    if (!IsValidListName(box->text())) {
        w_.reporter.show("Invalid Filename.", kAppTitle, Icon::None);
        box->setFocus();
        box->selectAll();
        return;
    }
    // A save that fails is reported in a box, also while decks play, and leaves the panel
    // open: the user may pick another folder or cancel.
    trappedInBox(w_.reporter, [&] {
        const QString folder = w_.ui.dir->Path();
        {
            const BusyCursor busy;
            const QByteArray bytes = WriteM3u(playlists_.list(d).tracks(), folder);
            SavePlaylistFile(JoinPath(folder, box->text() + ".m3u"), bytes);
        }
        setLocked(false);
        setDirHeight(kDirSaved);
        w_.ui.fil->Refresh(); // the saved file shows up when it lies in the folder shown
    });
}

void SavePanel::Command1_Click() {
    setLocked(false);
    setDirHeight(kDirClosed);
}

void SavePanel::txtNomArch_Click() {
    // Typing then replaces the old name.
    w_.ui.txtNomArch->setSelection(0, int(w_.ui.txtNomArch->text().size()));
}

} // namespace velmor
