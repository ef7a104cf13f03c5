#include "playlist/EntryChecks.h"

#include "common/FileNames.h"
#include "common/FileSystem.h"

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
    work_.post([this, id, entries, looked](const BackgroundWork::Task& task) {
        work(id, entries, looked, task);
    });
}

void EntryChecks::work(int job, const M3uEntries& entries, qsizetype start,
                       const BackgroundWork::Task& task) {
    for (qsizetype from = start; from < entries.size() && !task.cancelled(); from += kBatch) {
        // Only what the playlist does not show yet goes back to the window.
        QList<Finding> findings;
        const qsizetype end = std::min(entries.size(), from + kBatch);
        for (qsizetype i = from; i < end; ++i) {
            const ListEntry entry = entries.at(i);
            const ResolvedEntry result = ResolveEntry(entry, Exists);
            if (!result.found)
                findings.append({i - start, result.track, MissingReason(result.track)});
            else if (result.track != entry.track)
                findings.append({i - start, result.track, {}});
        }
        task.deliver([this, job, looked = end - from, findings = std::move(findings)] {
            found(job, looked, findings);
        });
    }
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
