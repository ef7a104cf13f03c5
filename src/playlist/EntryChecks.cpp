#include "playlist/EntryChecks.h"

#include "common/FileNames.h"
#include "common/FileSystem.h"
#include "common/UiThread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cerrno>

namespace velmor {

namespace {
// Findings travel to the window in batches: few events, yet marks appear as they are found.
constexpr qsizetype kBatch = 500;
} // namespace

EntryChecks::EntryChecks(QObject* parent) : QObject(parent) {}

EntryChecks::~EntryChecks() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
        found_.clear();
    }
    wake_.notify_all();
    if (worker_.joinable())
        worker_.join();
}

bool EntryChecks::Exists(const QString& path) {
    const FileKind kind = KindOf(path);
    return kind != FileKind::Missing && kind != FileKind::Folder;
}

QString EntryChecks::MissingReason(const Track& track) {
    return CannotBe(JoinPath(track.folder, track.name), QStringLiteral("played"),
                    PlainCause(ENOENT, Access::Read));
}

void EntryChecks::append(DeckPlaylist& list, const M3uEntries& entries) {
    QElapsedTimer clock;
    clock.start();
    const int first = list.count();
    QList<Track> tracks;
    tracks.reserve(entries.size());
    QList<DeckPlaylist::Mark> missing;
    qsizetype looked = 0;
    for (; looked < entries.size() && (looked == 0 || clock.elapsed() < budget.count()); ++looked) {
        const ResolvedEntry resolved = ResolveEntry(entries.at(looked), Exists);
        if (!resolved.found)
            missing.append({first + int(looked), MissingReason(resolved.track)});
        tracks.append(resolved.track);
    }
    for (qsizetype i = looked; i < entries.size(); ++i)
        tracks.append(entries.at(i).track);
    list.append(tracks);
    list.markUnplayable(missing);
    if (looked == entries.size())
        return;

    const int id = nextJob_++;
    jobs_.insert(id, Job{&list, list.id(first + int(looked)), entries.size() - looked});
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back({id, entries, looked});
        if (!worker_.joinable())
            worker_ = std::thread([this] { work(); });
    }
    wake_.notify_one();
}

void EntryChecks::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_)
            return;
        const Work work = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        for (qsizetype from = work.from; from < work.entries.size(); from += kBatch) {
            // Only what the playlist does not show yet goes back to the window.
            QList<Finding> findings;
            const qsizetype end = std::min(work.entries.size(), from + kBatch);
            for (qsizetype i = from; i < end; ++i) {
                const ListEntry entry = work.entries.at(i);
                const ResolvedEntry result = ResolveEntry(entry, Exists);
                if (!result.found)
                    findings.append({i - work.from, result.track, MissingReason(result.track)});
                else if (result.track != entry.track)
                    findings.append({i - work.from, result.track, {}});
            }
            // The findings wait under the lock and only a wake-up goes through Qt's event
            // queue (see WakeUiThread). The window waits for this thread before it goes.
            const std::lock_guard hand(mutex_);
            found_.push_back({work.job, end - from, std::move(findings)});
            WakeUiThread(this, "deliver");
            if (stopping_)
                return;
        }
        lock.lock();
    }
}

void EntryChecks::deliver() {
    std::deque<Batch> batches;
    {
        const std::lock_guard lock(mutex_);
        batches.swap(found_);
    }
    for (const Batch& batch : batches)
        found(batch.job, batch.looked, batch.findings);
}

void EntryChecks::found(int id, qsizetype looked, const QList<Finding>& findings) {
    const auto job = jobs_.find(id);
    if (job == jobs_.end())
        return;
    DeckPlaylist& list = *job->list;
    QList<DeckPlaylist::Mark> marks;
    int from = 0;
    for (const Finding& finding : findings) {
        const int row = list.find(job->first + finding.entry, from);
        if (row < 0)
            continue; // deleted meanwhile
        from = row + 1;
        if (finding.reason.isEmpty())
            list.setTrack(row, finding.track);
        else
            marks.append({row, finding.reason});
    }
    list.markUnplayable(marks);
    job->done += looked;
    if (job->done == job->count)
        jobs_.erase(job);
}

void EntryChecks::waitUntilDone() {
    while (busy()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

} // namespace velmor
