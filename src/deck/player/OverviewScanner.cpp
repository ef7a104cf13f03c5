#include "deck/player/OverviewScanner.h"

#include "audio/Decoder.h"
#include "audio/TrackPeaks.h"
#include "common/FileNames.h"

namespace velmor {

OverviewScanner::OverviewScanner(QObject* parent) : QObject(parent) {
    // One track at a time, below the reader threads, so that the decks never wait for it.
    pool_.setMaxThreadCount(1);
    pool_.setThreadPriority(QThread::LowPriority);
}

OverviewScanner::~OverviewScanner() {
    for (const Job& job : std::as_const(jobs_))
        job.cancelled->store(true);
    pool_.waitForDone();
}

void OverviewScanner::drop(int deck) {
    if (auto job = jobs_.find(deck); job != jobs_.end()) {
        job->cancelled->store(true);
        jobs_.erase(job);
    }
}

void OverviewScanner::scan(int deck, const QString& path) {
    drop(deck);
    const Job job{++nextId_, std::make_shared<std::atomic<bool>>(false)};
    jobs_.insert(deck, job);
    const std::string file = FileNameToBytes(path).toStdString();
    pool_.start([this, deck, job, file] {
        std::vector<float> peaks;
        try {
            auto decoder = audio::OpenDecoder(file);
            peaks = audio::ScanPeaks(*decoder, kBins, *job.cancelled).peaks;
        } catch (const std::exception&) {
            return; // the deck's own player tells why the file cannot be played
        }
        if (job.cancelled->load())
            return;
        // The destructor waits for this thread, so the scanner is still there to post to.
        QMetaObject::invokeMethod(
            this,
            [this, deck, id = job.id, peaks = std::move(peaks)] {
                if (auto latest = jobs_.find(deck); latest != jobs_.end() && latest->id == id) {
                    jobs_.erase(latest);
                    emit scanned(deck, peaks);
                }
            },
            Qt::QueuedConnection);
    });
}

} // namespace velmor
