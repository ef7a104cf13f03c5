#include "app/MusicLibrary.h"

#include "app/LibraryWindow.h"
#include "app/Main.h"
#include "audio/PlayableTypes.h"
#include "common/Paths.h"
#include "history/HistoryExport.h"
#include "history/HistoryStore.h"
#include "legacy/Error.h"
#include "library/LibraryDatabase.h"
#include "library/LibraryScan.h"
#include "library/LibrarySearch.h"
#include "library/MusicFolders.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>

namespace velmor {

namespace {
QStringList Extensions() {
    QStringList all;
    for (const std::string& extension : audio::PlayableExtensions())
        all << QString::fromStdString(extension);
    return all;
}
} // namespace

MusicLibrary::MusicLibrary(Main& window) : w_(window) {}

MusicLibrary::~MusicLibrary() {
    // The window has no parent, so that it is a window of its own; it goes with the library.
    delete window_.data();
}

void MusicLibrary::start(const QString& databaseFile, const QString& foldersFile) {
    if (databaseFile.isEmpty())
        return;
    database_ = std::make_unique<LibraryDatabase>(databaseFile);
    if (!database_->notice().isEmpty())
        w_.reporter.notice(database_->notice());
    if (database_->isOpen())
        w_.history->open(database_->path());
    search_ = std::make_unique<LibrarySearch>(database_->connection());
    cache_ = std::make_unique<AnalysisCache>(AnalysisCache::DefaultFolder());
    ScanTools tools;
    tools.cache = cache_.get();
    tools.extensions = Extensions();
    scan_ = std::make_unique<LibraryScan>(database_->path(), tools);
    connect(scan_.get(), &LibraryScan::progressed, this,
            [this](qint64 seen, qint64 total) { progressed(seen, total); });
    connect(scan_.get(), &LibraryScan::finished, this,
            [this](const ScanSummary& summary) { scanned(summary); });
    foldersFile_ = foldersFile;
    folders_ = foldersFile.isEmpty() ? QStringList() : ReadMusicFolders(foldersFile);
    searchFor({});
    rescan();
}

void MusicLibrary::show() {
    if (window_ != nullptr && !window_->isVisible())
        delete window_.data(); // closed, not yet deleted: not open
    if (window_ == nullptr) {
        window_ = new LibraryWindow(w_.DesignFont(), results_);
        wireWindow();
        window_->move(w_.frameGeometry().topRight() + QPoint(8, 0));
    }
    showEvenings();
    window_->show();
    window_->raise();
    window_->activateWindow();
    window_->search->setFocus();
    window_->search->selectAll();
}

void MusicLibrary::wireWindow() {
    LibraryWindow& win = *window_;
    // Deck keys act from the window, but never while typing into its search box.
    w_.shortcuts.forwardKeysFrom(&win);
    win.search->installEventFilter(this);
    win.results->installEventFilter(this);
    connect(win.search, &QLineEdit::textChanged, this,
            [this](const QString& typed) { trapped(w_.reporter, [&] { searchFor(typed); }); });
    connect(win.results, &QTableView::doubleClicked, this, [this] { addChosen(Place::End); });
    connect(win.addFolder, &QPushButton::clicked, this, [this] {
        const QString folder = QFileDialog::getExistingDirectory(window_, "Add a Music Folder");
        if (!folder.isEmpty())
            addFolder(folder);
    });
    connect(win.removeFolder, &QPushButton::clicked, this,
            [this] { removeFolder(window_->folders->currentRow()); });
    connect(win.rescan, &QPushButton::clicked, this, [this] { rescan(); });
    connect(win.exportEvening, &QPushButton::clicked, this, [this] { chooseExport(); });
    auto* find = new QShortcut(QKeySequence::Find, &win);
    connect(find, &QShortcut::activated, this, [this] { show(); });
    win.scanText->setText(scanText_);
    showFolders();
    const bool library = database_ != nullptr;
    for (QWidget* needsLibrary :
         {static_cast<QWidget*>(win.addFolder), static_cast<QWidget*>(win.removeFolder),
          static_cast<QWidget*>(win.rescan)})
        needsLibrary->setEnabled(library);
    if (!library)
        win.scanText->setText("There is no music library in this run of Velmor.");
    if (results_.rowCount() > 0)
        win.results->selectRow(0);
}

void MusicLibrary::searchFor(const QString& typed) {
    if (!search_)
        return;
    results_.setRows(search_->search(typed));
    if (window_ != nullptr && results_.rowCount() > 0)
        window_->results->selectRow(0);
}

void MusicLibrary::addChosen(Place place) {
    if (window_ == nullptr)
        return;
    QList<Track> tracks;
    for (const QModelIndex& row : window_->results->selectionModel()->selectedRows())
        tracks.append(SplitPath(row.data(LibraryModel::PathRole).toString()));
    if (tracks.isEmpty())
        return;
    trapped(w_.reporter, [&] {
        const int d = w_.activation.ActiveDeck();
        if (place == Place::End)
            return w_.browser.addAndLoad(d, tracks);
        DeckPlaylist& list = w_.playlists.list(d);
        list.insert(std::clamp(w_.decks[d]->nextEntry(), 0, list.count()), tracks);
        w_.decks[d]->queueNext(); // a deck ending its track goes on into them
        w_.browser.addAndLoad(d, {});
    });
}

void MusicLibrary::addFolder(const QString& folder) {
    if (folders_.contains(folder))
        return;
    folders_.append(folder);
    keepFolders();
    rescan();
}

void MusicLibrary::removeFolder(int row) {
    if (row < 0 || row >= folders_.size())
        return;
    folders_.removeAt(row);
    keepFolders();
    rescan();
}

void MusicLibrary::keepFolders() {
    QString error;
    if (!foldersFile_.isEmpty() && !WriteMusicFolders(foldersFile_, folders_, &error))
        w_.reporter.notice(error);
    showFolders();
}

void MusicLibrary::showFolders() {
    if (window_ == nullptr)
        return;
    window_->folders->clear();
    window_->folders->addItems(folders_);
}

void MusicLibrary::showEvenings() {
    QComboBox& evenings = *window_->evenings;
    evenings.clear();
    if (HistoryStore* store = w_.history->store()) {
        const QList<Evening> kept = store->evenings();
        for (auto evening = kept.rbegin(); evening != kept.rend(); ++evening)
            evenings.addItem(QString("%1 (%2 tracks)")
                                 .arg(QLocale().toString(evening->start, QLocale::ShortFormat))
                                 .arg(evening->tracks),
                             evening->id);
    }
    window_->exportEvening->setEnabled(evenings.count() > 0);
}

void MusicLibrary::chooseExport() {
    const QString evening = window_->evenings->currentData().toString();
    if (evening.isEmpty())
        return;
    const QString file = QFileDialog::getSaveFileName(
        window_, "Export the Evening", QString("Velmor %1.csv").arg(evening.left(10)),
        "CSV for a spreadsheet (*.csv);;M3U8 playlist (*.m3u8)");
    if (!file.isEmpty())
        trappedInBox(w_.reporter, [&] { exportEvening(evening, file); });
}

void MusicLibrary::exportEvening(const QString& evening, const QString& file) {
    HistoryStore* store = w_.history->store();
    if (store == nullptr)
        throw Error("No history is kept in this run of Velmor.");
    const QList<PlayedTrack> tracks = store->tracks(evening);
    WriteExport(file, file.endsWith(".m3u8", Qt::CaseInsensitive) ? HistoryM3u8(tracks)
                                                                  : HistoryCsv(tracks));
}

void MusicLibrary::rescan() {
    if (!scan_)
        return;
    scan_->start(folders_);
}

void MusicLibrary::waitForScan() {
    if (scan_)
        scan_->waitUntilDone();
}

void MusicLibrary::progressed(qint64 seen, qint64 total) {
    scanText_ = QString("Scanning the music folders: %1 of %2 files").arg(seen).arg(total);
    if (window_ == nullptr)
        return;
    window_->scan->setRange(0, int(std::min<qint64>(total, INT_MAX)));
    window_->scan->setValue(int(std::min<qint64>(seen, INT_MAX)));
    window_->scanText->setText(scanText_);
}

void MusicLibrary::scanned(const ScanSummary& summary) {
    scanText_ = ScanSummaryText(summary);
    if (!summary.failure.isEmpty())
        w_.reporter.notice(summary.failure);
    searchFor(window_ != nullptr ? window_->search->text() : QString());
    if (window_ == nullptr)
        return;
    window_->scan->setRange(0, 1);
    window_->scan->setValue(1);
    window_->scanText->setText(scanText_);
}

bool MusicLibrary::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || window_ == nullptr)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        addChosen(key->modifiers() & Qt::ShiftModifier ? Place::Next : Place::End);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // From the search box, the arrows move through the results.
        if (watched != window_->search)
            return false;
        QCoreApplication::sendEvent(window_->results, event);
        return true;
    default:
        return false;
    }
}

} // namespace velmor
