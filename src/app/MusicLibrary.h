#pragma once

#include "analysis/AnalysisCache.h"
#include "app/LibraryWindow.h"
#include "library/LibraryModel.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>

namespace velmor {

class LibraryDatabase;
class LibraryScan;
class LibrarySearch;
class Main;
struct ScanSummary;

// The music library of the window: the database of the tracks in the music folders, their
// scan, and the library window, which searches it as you type and adds what it finds to the
// decks. Without a database file (tests of other things) there is no library: the window
// opens on nothing and says so.
class MusicLibrary : public QObject {
public:
    explicit MusicLibrary(Main& window);
    ~MusicLibrary() override;

    // Opens the library's database and rescans the music folders: after the main window is
    // shown. A database that had to be set aside and rebuilt is told in a notice.
    void start(const QString& databaseFile, const QString& foldersFile);
    // Shows the library window, its search box focused with its text selected.
    void show();
    LibraryWindow* window() const { return window_; }
    LibraryModel& results() { return results_; }

    // The results of what is typed, the first selected.
    void searchFor(const QString& typed);
    // Adds the selected results to the active deck: at the end of its list, or right after
    // the entry it plays (played next).
    enum class Place { End, Next };
    void addChosen(Place place);
    void addFolder(const QString& folder);
    void removeFolder(int row);
    void rescan();
    // Writes the history of `evening` to `file`: M3U8 for a name ending in ".m3u8", CSV
    // otherwise. Throws Error saying why it could not.
    void exportEvening(const QString& evening, const QString& file);
    // What the window says of the scan: its progress, or the summary of the last one.
    const QString& scanText() const { return scanText_; }
    // Waits until the scan is done (for tests).
    void waitForScan();

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wireWindow();
    void showFolders();
    void showEvenings();
    void chooseExport();
    void scanned(const ScanSummary& summary);
    void progressed(qint64 seen, qint64 total);
    void keepFolders();

    Main& w_;
    std::unique_ptr<LibraryDatabase> database_;
    std::unique_ptr<LibrarySearch> search_;
    std::unique_ptr<LibraryScan> scan_;
    std::unique_ptr<AnalysisCache> cache_;
    LibraryModel results_;
    QString foldersFile_;
    QStringList folders_;
    QString scanText_ = "No music folders yet: add one below.";
    QPointer<LibraryWindow> window_;
};

} // namespace velmor
