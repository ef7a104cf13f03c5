#pragma once

#include "common/BackgroundWork.h"
#include "playlist/DeckPlaylist.h"
#include "playlist/M3u.h"

#include <QHash>
#include <QObject>
#include <chrono>

namespace velmor {

// Puts entries read from playlist files into a deck's playlist, each where it exists, and
// marks those that exist nowhere. Looking a long list up on the disk takes a while (on a
// network share far longer), so the window looks for a moment only; the rest of the entries
// go into the playlist as written at once and are looked up on a worker thread, whose
// findings arrive through the event loop. Entries deleted meanwhile are left alone.
class EntryChecks : public QObject {
    Q_OBJECT
public:
    explicit EntryChecks(QObject* parent = nullptr);

    // Appends `entries` to `list`. At least the first is looked up before this returns.
    void append(DeckPlaylist& list, const M3uEntries& entries);

    bool busy() const { return !jobs_.isEmpty(); }
    // Delivers the worker's findings until it has looked at everything.
    void waitUntilDone();

    // How long the window itself looks entries up, per call of append.
    std::chrono::milliseconds budget{25};

    // A file of a playlist exists where something other than a folder lies.
    static bool Exists(const QString& path);
    static QString MissingReason(const Track& track);

private:
    // Those entries in the playlist: consecutive ids from `first` on.
    struct Job {
        DeckPlaylist* list;
        DeckPlaylist::EntryId first;
        qsizetype count;
        qsizetype done = 0;
    };
    // An entry (counted from the job's first) that is not where the playlist shows it: found
    // at `track`, or missing for `reason`.
    struct Finding {
        qsizetype entry;
        Track track;
        QString reason;
    };
    // Looks up the entries from `from` on (on the worker).
    void work(int job, const M3uEntries& entries, qsizetype from, const BackgroundWork::Task& task);
    void found(int job, qsizetype looked, const QList<Finding>& findings);

    QHash<int, Job> jobs_;
    int nextJob_ = 0;
    BackgroundWork work_{"velmor checks"}; // last: it stops before what its findings reach goes
};

} // namespace velmor
