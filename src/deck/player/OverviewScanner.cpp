#include "deck/player/OverviewScanner.h"

#include "audio/Decoder.h"
#include "audio/TrackPeaks.h"
#include "common/FileNames.h"
#include "common/UiThread.h"

#include <sys/resource.h>
#include <unistd.h>

namespace velmor {

OverviewScanner::~OverviewScanner() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true; // what still waits is never started
    }
    for (const Job& job : std::as_const(jobs_)) // the running scan is some deck's latest
        job.cancelled->store(true);
    wake_.notify_one();
    if (worker_.joinable())
        worker_.join();
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
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back({deck, job, FileNameToBytes(path).toStdString()});
        if (!worker_.joinable())
            worker_ = std::thread([this] { work(); });
    }
    wake_.notify_one();
}

void OverviewScanner::waitForDone() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void OverviewScanner::work() {
    // Below the decks' reader threads, so that they never wait for an overview.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_)
            return;
        const Work work = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        lock.unlock();
        std::optional<std::vector<float>> peaks = scanOne(work);
        lock.lock();
        if (peaks) { // waits under the lock; only a wake-up goes through the event queue
            done_.push_back({work.deck, work.job.id, std::move(*peaks)});
            WakeUiThread(this, "deliver");
        }
        busy_ = false;
        idle_.notify_all();
    }
}

std::optional<std::vector<float>> OverviewScanner::scanOne(const Work& work) {
    if (work.job.cancelled->load())
        return std::nullopt;
    std::vector<float> peaks;
    try {
        auto decoder = audio::OpenDecoder(work.file);
        peaks = audio::ScanPeaks(*decoder, kBins, *work.job.cancelled).peaks;
    } catch (const std::exception&) {
        return std::nullopt; // the deck's own player tells why the file cannot be played
    }
    if (work.job.cancelled->load())
        return std::nullopt;
    return peaks;
}

void OverviewScanner::deliver() {
    std::deque<Result> results;
    {
        const std::lock_guard lock(mutex_);
        results.swap(done_);
    }
    for (const Result& result : results)
        if (auto latest = jobs_.find(result.deck);
            latest != jobs_.end() && latest->id == result.id) {
            jobs_.erase(latest);
            emit scanned(result.deck, result.peaks);
        }
}

} // namespace velmor
