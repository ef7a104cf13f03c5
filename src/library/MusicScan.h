#pragma once

#include "analysis/TrackTags.h"
#include "library/FolderWalk.h"
#include "library/Sqlite.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <vector>

namespace velmor {

class AnalysisCache;

// The extensions of the types the audio engine plays, as a scan looks for them.
QStringList PlayableExtensionNames();

// What a scan needs besides the database: the reader of a file's tags and length (TagLib's,
// or a test's that counts), the analysis cache where tracks' looks are kept (none: no looks),
// and the extensions of the playable types.
struct ScanTools {
    std::function<TaggedTrack(const QString& path)> read = ReadTaggedTrack;
    const AnalysisCache* cache = nullptr;
    QStringList extensions = PlayableExtensionNames();
};

struct ScanSummary {
    qint64 tracks = 0;  // in the library when the scan was done
    qint64 read = 0;    // files whose tags were read: new or changed ones
    qint64 dropped = 0; // tracks gone from their folders
    std::vector<PassedOver> passedOver;
    QStringList missingFolders; // music folders not there (a stick not mounted)
    QString failure;            // the library could not be written, and why
    bool cancelled = false;
};

// Brings the library's tracks in step with the music folders. A file new or changed (its size
// or time) has its tags read and its look taken from the analysis cache; an unchanged one is
// not opened. Tracks whose files are gone are dropped, and so are those of folders no longer
// listed; the tracks of a music folder that is not there are kept, marked missing, until it
// comes back. Writes in transactions of a few hundred tracks, so that a search on another
// connection waits little. `progress` hears of each file (seen, total). A cancelled scan keeps
// what it wrote and drops nothing.
ScanSummary ScanMusicFolders(sqlite::Connection& connection, const QStringList& folders,
                             const ScanTools& tools, const std::atomic<bool>& cancelled,
                             const std::function<void(qint64 seen, qint64 total)>& progress);

// "12,034 tracks; 3 files could not be read: a.mp3 (why), b.mp3 (why), c.mp3 (why)", with
// the first few named, and the music folders that are not there.
QString ScanSummaryText(const ScanSummary& summary);

} // namespace velmor
