#include "library/LibraryScan.h"

#include "library/LibraryDatabase.h"

#include <chrono>

namespace velmor {

namespace {

// The window hears of the progress this often, not once a file.
constexpr auto kProgressEvery = std::chrono::milliseconds(200);

} // namespace

LibraryScan::LibraryScan(QString databasePath, ScanTools tools, QObject* parent)
    : QObject(parent), databasePath_(std::move(databasePath)), tools_(std::move(tools)) {}

void LibraryScan::start(const QStringList& folders) {
    job_.cancel();
    // The worker is this object's own: none of its results comes after this object is gone.
    LibraryScan* self = this;
    job_ = work_.post(
        [self, path = databasePath_, tools = tools_, folders](const BackgroundWork::Task& task) {
            ScanSummary summary;
            LibraryDatabase database(path, LibraryDatabase::Check::Quick);
            if (!database.isOpen()) {
                summary.failure = database.notice();
            } else {
                auto last = std::chrono::steady_clock::now() - kProgressEvery;
                const auto progress = [&](qint64 seen, qint64 total) {
                    const auto now = std::chrono::steady_clock::now();
                    if (now - last < kProgressEvery && seen < total)
                        return;
                    last = now;
                    task.deliver([self, seen, total] { emit self->progressed(seen, total); });
                };
                summary = ScanMusicFolders(database.connection(), folders, tools,
                                           task.cancelledFlag(), progress);
            }
            task.deliver([self, summary] { emit self->finished(summary); });
        });
}

} // namespace velmor
