#include "deck/player/OverviewScanner.h"

#include "audio/Decoder.h"
#include "audio/TrackPeaks.h"
#include "common/FileNames.h"

namespace velmor {

OverviewScanner::OverviewScanner(QObject* parent) : QObject(parent) {}

void OverviewScanner::drop(int deck) {
    if (auto job = jobs_.find(deck); job != jobs_.end()) {
        job->cancel();
        jobs_.erase(job);
    }
}

void OverviewScanner::scan(int deck, const QString& path) {
    drop(deck);
    jobs_.insert(deck, work_.post([this, deck, file = FileNameToBytes(path).toStdString()](
                                      const BackgroundWork::Task& task) {
        if (auto peaks = scanOne(file, task))
            task.deliver([this, deck, peaks = std::move(*peaks)] {
                jobs_.remove(deck);
                emit scanned(deck, peaks);
            });
    }));
}

std::optional<std::vector<float>> OverviewScanner::scanOne(const std::string& file,
                                                           const BackgroundWork::Task& task) {
    if (task.cancelled())
        return std::nullopt;
    std::vector<float> peaks;
    try {
        auto decoder = audio::OpenDecoder(file);
        peaks = audio::ScanPeaks(*decoder, kBins, task.cancelledFlag()).peaks;
    } catch (const std::exception&) {
        return std::nullopt; // the deck's own player tells why the file cannot be played
    }
    if (task.cancelled())
        return std::nullopt;
    return peaks;
}

} // namespace velmor
