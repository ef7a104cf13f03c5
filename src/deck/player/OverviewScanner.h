#pragma once

#include <QHash>
#include <QObject>
#include <QThreadPool>
#include <atomic>
#include <memory>
#include <vector>

namespace velmor {

// Works out the overview of a deck's track on a worker thread of its own, with a decoder of
// its own: never on the audio callback or the reader threads, never on the UI thread. A
// deck's newer scan (or a drop) makes its unfinished one stop and its result go unheard.
class OverviewScanner : public QObject {
    Q_OBJECT
public:
    static constexpr int kBins = 2048;

    explicit OverviewScanner(QObject* parent = nullptr);
    ~OverviewScanner() override;

    void scan(int deck, const QString& path);
    void drop(int deck);
    // Waits until no scan is running (for tests and the end).
    void waitForDone() { pool_.waitForDone(); }

signals:
    // The loudest sample of each of kBins stretches of the deck's latest track; those past
    // damage that could not be read are 0. A file that cannot be opened gives none.
    void scanned(int deck, const std::vector<float>& peaks);

private:
    struct Job {
        uint64_t id = 0;
        std::shared_ptr<std::atomic<bool>> cancelled;
    };
    QThreadPool pool_;
    QHash<int, Job> jobs_;
    uint64_t nextId_ = 0;
};

} // namespace velmor
