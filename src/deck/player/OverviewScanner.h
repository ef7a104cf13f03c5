#pragma once

#include "common/BackgroundWork.h"

#include <QHash>
#include <QObject>
#include <optional>
#include <string>
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

    explicit OverviewScanner(QObject* parent = nullptr);

    void scan(int deck, const QString& path);
    void drop(int deck);
    // Waits until no scan is waiting or running (for tests).
    void waitForDone() { work_.waitUntilDone(); }

signals:
    // The loudest sample of each of kBins stretches of the deck's latest track; those past
    // damage that could not be read are 0. A file that cannot be opened gives none.
    void scanned(int deck, const std::vector<float>& peaks);

private:
    // The peaks of the file; nothing when it cannot be read or the task is cancelled.
    static std::optional<std::vector<float>> scanOne(const std::string& file,
                                                     const BackgroundWork::Task& task);

    QHash<int, BackgroundWork::Job> jobs_; // each deck's latest scan
    // Below the decks' reader threads, so that they never wait for an overview.
    BackgroundWork work_{10};
};

} // namespace velmor
