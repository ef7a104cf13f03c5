#pragma once

#include "analysis/TrackAnalysis.h"

#include <QString>
#include <optional>

namespace velmor {

// What tells one version of a file from another: its size and when it was last written.
struct FileStamp {
    qint64 size = 0;
    qint64 modifiedMs = 0; // since the epoch, UTC
    bool operator==(const FileStamp&) const = default;
};
// The file's stamp now; none when it cannot be seen.
std::optional<FileStamp> StampOf(const QString& path);

// The looks at tracks kept on disk, a file for each track in `folder` (named by a hash of the
// track's path), so that a track seen once is never decoded for a look again while it stays
// as it was. A kept look holds the track's path and stamp and is found only for that very
// version of the file. A damaged or foreign file in the folder is no look: it is passed over
// without a word and written anew at the next keep. Safe to use from any one thread.
class AnalysisCache {
public:
    // The folder of the user's cache: $XDG_CACHE_HOME/velmor/looks.
    static QString DefaultFolder();

    explicit AnalysisCache(QString folder);

    std::optional<TrackLook> find(const QString& path, const FileStamp& stamp) const;
    // Writes the look whole or not at all; a failure to write is no failure of the look.
    void keep(const QString& path, const FileStamp& stamp, const TrackLook& look) const;
    // The file `path`'s look is kept in.
    QString fileFor(const QString& path) const;

private:
    QString folder_;
};

} // namespace velmor
