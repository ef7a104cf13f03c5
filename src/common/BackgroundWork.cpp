#include "common/BackgroundWork.h"

#include "common/UiThread.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

namespace velmor {

namespace {
// Every BackgroundWork alive, for the tests' wait (window thread only).
std::vector<BackgroundWork*>& Everyone() {
    static std::vector<BackgroundWork*> everyone;
    return everyone;
}
} // namespace

void BackgroundWork::Job::cancel() {
    if (cancelled_)
        cancelled_->store(true);
}

void BackgroundWork::Task::deliver(std::function<void()> result) const {
    // The result waits under the lock and only a wake-up goes through Qt's event queue (see
    // WakeUiThread).
    const std::lock_guard lock(work_->mutex_);
    work_->done_.push_back({cancelled_, std::move(result)});
    WakeUiThread(work_, "deliverResults");
}

BackgroundWork::BackgroundWork(const char* name, int niceness, QObject* parent)
    : QObject(parent), name_(name), niceness_(niceness) {
    Everyone().push_back(this);
}

BackgroundWork::~BackgroundWork() {
    std::erase(Everyone(), this);
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        if (running_)
            running_->store(true);
        for (Waiting& waiting : queue_)
            waiting.cancelled->store(true);
        for (Result& result : done_)
            result.cancelled->store(true);
    }
    wake_.notify_all();
    if (worker_.joinable())
        worker_.join();
    // What the worker left behind goes with it; nothing is delivered any more.
}

BackgroundWork::Job BackgroundWork::post(std::function<void(const Task&)> task) {
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back({cancelled, std::move(task)});
        if (!worker_.joinable())
            worker_ = std::thread([this] { work(); });
    }
    wake_.notify_one();
    return Job(cancelled);
}

void BackgroundWork::work() {
    pthread_setname_np(pthread_self(), name_);
    if (niceness_ != 0)
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), niceness_);
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty() || !discard_.empty(); });
        if (!discard_.empty()) {
            std::vector<std::function<void()>> discard;
            discard.swap(discard_);
            lock.unlock();
            discard.clear(); // a decoder among them closes its file here
            lock.lock();
            continue;
        }
        if (stopping_)
            return;
        Waiting waiting = std::move(queue_.front());
        queue_.pop_front();
        if (waiting.cancelled->load())
            continue;
        running_ = waiting.cancelled;
        lock.unlock();
        waiting.run(Task(this, waiting.cancelled));
        waiting = {};
        lock.lock();
        running_.reset();
    }
}

void BackgroundWork::deliverResults() {
    std::deque<Result> results;
    {
        const std::lock_guard lock(mutex_);
        results.swap(done_);
    }
    bool discarded = false;
    for (Result& result : results) {
        if (result.cancelled->load()) {
            const std::lock_guard lock(mutex_);
            discard_.push_back(std::move(result.call));
            discarded = true;
            continue;
        }
        result.call();
        result.call = nullptr;
    }
    if (discarded)
        wake_.notify_one();
}

bool BackgroundWork::busy() const {
    const std::lock_guard lock(mutex_);
    return running_ != nullptr || !done_.empty() ||
           std::any_of(queue_.begin(), queue_.end(),
                       [](const Waiting& waiting) { return !waiting.cancelled->load(); });
}

void BackgroundWork::waitUntilDone() {
    while (busy()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

void BackgroundWork::WaitUntilAllDone() {
    const auto anyBusy = [] {
        return std::any_of(Everyone().begin(), Everyone().end(),
                           [](const BackgroundWork* work) { return work->busy(); });
    };
    while (anyBusy()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
}

} // namespace velmor
