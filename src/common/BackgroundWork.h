#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace velmor {

// A worker thread of its own that takes tasks one after another, in the order given, and
// hands what they find to the window's thread. Reading a long file or looking a thousand
// entries up on a slow disk happens here, never on the window's thread.
//
// A task may hand over any number of results (`Task::deliver`): each is a call that runs on
// the window's thread, through its event loop, in the order handed over. A cancelled task is
// not started if it still waits, stops at its next look at `cancelled()` if it runs, and
// none of its results is delivered after the cancel, even one already on its way: what its
// results hold is let go on the worker, never on the window's thread.
//
// The object lives on the window's thread; it is made, given tasks, cancelled and destroyed
// there. Destroying it cancels every task and waits for the one running to come back.
class BackgroundWork : public QObject {
    Q_OBJECT
public:
    // How a task sees its own cancel and hands its results over.
    class Task {
    public:
        bool cancelled() const { return cancelled_->load(std::memory_order_relaxed); }
        const std::atomic<bool>& cancelledFlag() const { return *cancelled_; }
        void deliver(std::function<void()> result) const;

    private:
        friend class BackgroundWork;
        Task(BackgroundWork* work, std::shared_ptr<std::atomic<bool>> cancelled)
            : work_(work), cancelled_(std::move(cancelled)) {}
        BackgroundWork* work_;
        std::shared_ptr<std::atomic<bool>> cancelled_;
    };

    // A handle on a task given: cancels it. Empty handles do nothing.
    class Job {
    public:
        Job() = default;
        void cancel();
        bool active() const { return cancelled_ && !cancelled_->load(); }

    private:
        friend class BackgroundWork;
        explicit Job(std::shared_ptr<std::atomic<bool>> cancelled)
            : cancelled_(std::move(cancelled)) {}
        std::shared_ptr<std::atomic<bool>> cancelled_;
    };

    // `name` is the worker thread's, as a profile or `top -H` shows it (at most 15 bytes);
    // `niceness` lowers the worker below the other threads (0 leaves it as it is started).
    explicit BackgroundWork(const char* name, int niceness = 0, QObject* parent = nullptr);
    ~BackgroundWork() override;

    Job post(std::function<void(const Task&)> task);

    // Whether a task waits, runs or has results not yet delivered.
    bool busy() const;
    // Delivers results on the calling (window) thread until nothing is busy (for tests).
    void waitUntilDone();
    // The same for every BackgroundWork of the program (for tests: a deck's notifications
    // may wait on a worker's open).
    static void WaitUntilAllDone();

private:
    struct Waiting {
        std::shared_ptr<std::atomic<bool>> cancelled;
        std::function<void(const Task&)> run;
    };
    struct Result {
        std::shared_ptr<std::atomic<bool>> cancelled;
        std::function<void()> call;
    };
    void work();
    // Runs the results waiting for the window (invoked through the event loop).
    Q_INVOKABLE void deliverResults();

    const char* const name_;
    const int niceness_;
    mutable std::mutex mutex_; // guards what follows, shared with the worker
    std::condition_variable wake_;
    std::deque<Waiting> queue_;
    std::deque<Result> done_;                    // for the window
    std::vector<std::function<void()>> discard_; // results cancelled on their way, let go here
    std::shared_ptr<std::atomic<bool>> running_; // the cancel of the task running, if any
    bool stopping_ = false;
    std::thread worker_;
};

} // namespace velmor
