#pragma once

#include "analysis/TrackFacts.h"
#include "analysis/TrackTags.h"
#include "library/Sqlite.h"

#include <QHash>
#include <QString>

namespace velmor {

// What the library holds of a file it has listed, to tell whether the file has changed.
struct KnownFile {
    qint64 id = 0;
    qint64 size = 0;
    qint64 modifiedMs = 0;
    bool missing = false;
};

// All a scan writes of one track.
struct TrackRecord {
    QString path;
    qint64 size = 0;
    qint64 modifiedMs = 0;
    TaggedTrack tagged;
    TrackFacts facts; // from the analysis cache, where the track has been looked at
};

// The writes of a scan to the tracks table, through statements prepared once.
class TrackStore {
public:
    explicit TrackStore(sqlite::Connection& connection);

    // False with `connection.error()` where the table cannot be read or written.
    bool valid() const;
    QHash<QString, KnownFile> knownFiles();
    bool write(const TrackRecord& record);
    bool markMissing(qint64 id, bool missing);
    bool remove(qint64 id);
    qint64 count();

private:
    sqlite::Connection& connection_;
    sqlite::Statement known_;
    sqlite::Statement write_;
    sqlite::Statement missing_;
    sqlite::Statement remove_;
};

} // namespace velmor
