#pragma once

#include <QHash>
#include <QObject>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace velmor {

// Works out the overview of a deck's track on a worker thread of its own, with a decoder of
// its own, one track at a time and at a low priority: never on the audio callback or the
// reader threads, never on the UI thread. A deck's newer scan (or a drop) makes its
// unfinished one stop and its result go unheard.
class OverviewScanner : public QObject {
    Q_OBJECT
public:
    static constexpr int kBins = 2048;

    explicit OverviewScanner(QObject* parent = nullptr) : QObject(parent) {}
    ~OverviewScanner() override;

    void scan(int deck, const QString& path);
    void drop(int deck);
    // Waits until no scan is waiting or running (for tests).
    void waitForDone();

signals:
    // The loudest sample of each of kBins stretches of the deck's latest track; those past
    // damage that could not be read are 0. A file that cannot be opened gives none.
    void scanned(int deck, const std::vector<float>& peaks);

private:
    using Cancel = std::shared_ptr<std::atomic<bool>>;
    struct Job {
        uint64_t id = 0;
        Cancel cancelled;
    };
    struct Work {
        int deck = 0;
        Job job;
        std::string file;
    };
    struct Result {
        int deck = 0;
        uint64_t id = 0;
        std::vector<float> peaks;
    };
    void work();
    // The peaks of the work's track; nothing when it cannot be read or is cancelled.
    static std::optional<std::vector<float>> scanOne(const Work& work);
    // Emits the results waiting for the window (invoked through the event loop).
    Q_INVOKABLE void deliver();

    QHash<int, Job> jobs_; // the UI thread's: each deck's latest scan
    uint64_t nextId_ = 0;

    std::mutex mutex_; // guards what follows, shared with the worker
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Work> queue_;
    std::deque<Result> done_; // for the window
    bool busy_ = false;
    bool stopping_ = false;
    std::thread worker_;
};

} // namespace velmor
