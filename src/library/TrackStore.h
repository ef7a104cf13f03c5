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
//
// Tracks written and removed are staged and reach the tracks table (and its search index) in
// one statement at `flush()`: the search index sets down what it holds at the end of every
// statement that writes to it, so row by row a first scan would spend more on the index than
// on reading the files. Flush before a commit.
class TrackStore {
public:
    explicit TrackStore(sqlite::Connection& connection);

    // False with `connection.error()` where the table cannot be read or written.
    bool valid() const;
    QHash<QString, KnownFile> knownFiles();
    bool stage(const TrackRecord& record);
    bool stageRemoval(qint64 id);
    bool flush();
    // Stages and flushes at once.
    bool write(const TrackRecord& record) { return stage(record) && flush(); }
    bool remove(qint64 id) { return stageRemoval(id) && flush(); }
    bool markMissing(qint64 id, bool missing);
    qint64 count();

private:
    sqlite::Connection& connection_;
    bool staging_ = false; // the staging tables are there
    sqlite::Statement known_;
    sqlite::Statement stage_;
    sqlite::Statement stageRemoval_;
    sqlite::Statement write_;
    sqlite::Statement remove_;
    sqlite::Statement clear_;
    sqlite::Statement missing_;
};

} // namespace velmor
