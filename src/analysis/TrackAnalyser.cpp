#include "analysis/TrackAnalyser.h"

#include "analysis/KnownTracks.h"
#include "audio/Decoder.h"
#include "common/FileNames.h"

namespace velmor {

std::optional<TrackLook> LookOnce(const QString& path, const AnalysisCache& cache,
                                  const OpenDecoderFunction& open,
                                  const std::atomic<bool>& cancelled) {
    const std::optional<FileStamp> stamp = StampOf(path);
    if (stamp)
        if (std::optional<TrackLook> kept = cache.find(path, *stamp))
            return kept;
    TrackLook look;
    try {
        const auto decoder = open(FileNameToBytes(path).toStdString());
        look = LookAtTrack(*decoder, TrackAnalyser::kBins, cancelled);
    } catch (const std::exception&) {
        return std::nullopt; // the deck's own player tells why the file cannot be played
    }
    if (cancelled.load(std::memory_order_relaxed))
        return std::nullopt;
    if (stamp)
        cache.keep(path, *stamp, look);
    return look;
}

TrackAnalyser::TrackAnalyser(KnownTracks& known, QString cacheFolder, OpenDecoderFunction open,
                             QObject* parent)
    : QObject(parent), known_(known), cache_(std::move(cacheFolder)),
      open_(open ? std::move(open) : OpenDecoderFunction(audio::OpenDecoder)) {}

BackgroundWork::Job TrackAnalyser::post(const QString& path,
                                        std::function<void(const TrackLook&)> found) {
    return work_.post([this, path, found = std::move(found)](const BackgroundWork::Task& task) {
        if (task.cancelled())
            return;
        if (auto look = LookOnce(path, cache_, open_, task.cancelledFlag()))
            task.deliver([found, look = std::move(*look)] { found(look); });
        else
            task.deliver([found] { found(TrackLook{}); });
    });
}

void TrackAnalyser::drop(int deck) {
    if (auto job = jobs_.find(deck); job != jobs_.end()) {
        job->cancel();
        jobs_.erase(job);
    }
    nextAhead();
}

void TrackAnalyser::scan(int deck, const QString& path) {
    drop(deck);
    if (aheadJob_.active()) {
        // The deck's own track first; the look ahead starts again after it.
        aheadJob_.cancel();
        ahead_.prepend(aheadPath_);
        aheadPath_.clear();
    }
    jobs_.insert(deck, post(path, [this, deck, path](const TrackLook& look) {
                     jobs_.remove(deck);
                     if (!look.peaks.peaks.empty()) {
                         known_.learnFacts(path, look.facts);
                         emit scanned(deck, look.peaks.peaks);
                     }
                     nextAhead();
                 }));
}

void TrackAnalyser::lookAhead(const QString& path) {
    // The deck tells its next entry at every tick of its display.
    if (path.isEmpty() || known_.facts(path) || unreadable_.contains(path) ||
        ahead_.contains(path) || aheadPath_ == path)
        return;
    ahead_.append(path);
    nextAhead();
}

void TrackAnalyser::nextAhead() {
    if (!jobs_.isEmpty() || aheadJob_.active())
        return;
    while (!ahead_.isEmpty()) {
        const QString path = ahead_.takeFirst();
        if (known_.facts(path))
            continue;
        aheadPath_ = path;
        aheadJob_ = post(path, [this, path](const TrackLook& look) {
            aheadJob_ = {};
            aheadPath_.clear();
            if (look.peaks.peaks.empty())
                unreadable_.insert(path);
            else
                known_.learnFacts(path, look.facts);
            nextAhead();
        });
        return;
    }
}

void TrackAnalyser::waitForDone() {
    work_.waitUntilDone();
}

} // namespace velmor
