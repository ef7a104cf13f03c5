#pragma once

#include "history/PlayedTrack.h"
#include "library/Sqlite.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace velmor {

// An evening kept in the history: a run of the program, named by the time it began.
struct Evening {
    QString id; // the start, "yyyy-MM-ddTHH:mm:ss" in UTC
    QDateTime start;
    int tracks = 0;
};

// The evening's history in the `history` table of the library's database, through a
// connection of its own (WAL, a busy timeout of 5 s, so that the library and a second
// window wait for each other instead of failing). Each track is one small insert, done on
// the window's thread: in WAL mode that is a write to the end of the log.
//
// Every operation throws velmor::Error saying what failed; the store stays usable after a
// failed write.
class HistoryStore {
public:
    // Opens (or makes) the database at `file` for the evening that began at `evening`.
    HistoryStore(const QString& file, const QDateTime& evening);
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    const QString& evening() const { return evening_; }
    void add(const PlayedTrack& track);
    // The evenings kept, oldest first.
    QList<Evening> evenings() const;
    // One evening's tracks in the order they started, times in local time.
    QList<PlayedTrack> tracks(const QString& evening) const;

private:
    [[noreturn]] void fail(const QString& what) const;
    // A statement of `sql`, or a failure to be `what` ("read", "written").
    sqlite::Statement prepare(const char* sql, const char* what) const;

    mutable sqlite::Connection db_;
    QString file_;
    QString evening_;
};

} // namespace velmor
