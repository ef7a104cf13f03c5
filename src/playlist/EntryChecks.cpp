#include "playlist/EntryChecks.h"

#include "common/FileNames.h"
#include "common/FileSystem.h"
#include "playlist/DeckPlaylist.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QListWidget>
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

void EntryChecks::append(DeckPlaylist& list, const QList<ListEntry>& entries) {
    QElapsedTimer clock;
    clock.start();
    QList<Track> tracks;
    tracks.reserve(entries.size());
    QList<int> missing;
    qsizetype looked = 0;
    for (; looked < entries.size() && (looked == 0 || clock.elapsed() < budget.count()); ++looked) {
        const ResolvedEntry resolved = ResolveEntry(entries[looked], Exists);
        if (!resolved.found)
            missing.append(int(looked));
        tracks.append(resolved.track);
    }
    for (qsizetype i = looked; i < entries.size(); ++i)
        tracks.append(entries[i].track);
    const int first = list.count();
    list.append(tracks);
    for (int i : missing)
        list.markUnplayable(first + i, MissingReason(tracks[i]));
    if (looked == entries.size())
        return;

    Job job{&list, {}};
    job.rows.reserve(size_t(entries.size() - looked));
    const QAbstractItemModel* model = list.view()->model();
    for (qsizetype i = looked; i < entries.size(); ++i)
        job.rows.emplace_back(model->index(first + int(i), 0));
    const int id = nextJob_++;
    jobs_.insert(id, std::move(job));
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back({id, entries.sliced(looked)});
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
        for (qsizetype from = 0; from < work.entries.size(); from += kBatch) {
            QList<ResolvedEntry> results;
            const qsizetype end = std::min(work.entries.size(), from + kBatch);
            for (qsizetype i = from; i < end; ++i)
                results.append(ResolveEntry(work.entries[i], Exists));
            // The window waits for this thread before it goes, so `this` is alive here.
            QMetaObject::invokeMethod(
                this, [this, job = work.job, from, results] { found(job, from, results); },
                Qt::QueuedConnection);
            const std::lock_guard stop(mutex_);
            if (stopping_)
                return;
        }
        lock.lock();
    }
}

void EntryChecks::found(int id, qsizetype from, const QList<ResolvedEntry>& results) {
    const auto job = jobs_.find(id);
    if (job == jobs_.end())
        return;
    for (qsizetype i = 0; i < results.size(); ++i) {
        const QPersistentModelIndex& row = job->rows[size_t(from + i)];
        if (!row.isValid())
            continue; // deleted meanwhile
        const ResolvedEntry& result = results[i];
        if (result.track != job->list->track(row.row()))
            job->list->setTrack(row.row(), result.track);
        if (!result.found)
            job->list->markUnplayable(row.row(), MissingReason(result.track));
    }
    job->done += results.size();
    if (job->done == qsizetype(job->rows.size()))
        jobs_.erase(job);
}

void EntryChecks::waitUntilDone() {
    while (busy()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

} // namespace velmor
