#include "analysis/TagReading.h"

#include "analysis/KnownTracks.h"
#include "analysis/TrackTags.h"

#include <chrono>
#include <utility>
#include <vector>

namespace velmor {

namespace {

// The window hears of tags a handful of times a second, not once a file.
constexpr qsizetype kBatch = 256;
constexpr auto kBatchTime = std::chrono::milliseconds(200);

struct Read {
    QString path;
    TrackTags tags;
    std::optional<double> seconds; // as the headers give it, for when a list ends
};

Read ReadTrack(const QString& path) {
    TaggedTrack track = ReadTaggedTrack(path);
    if (!track.readable) // tags without a sound TagLib can measure are tags all the same
        return {path, ReadTrackTags(path), std::nullopt};
    return {path, std::move(track.tags), track.seconds};
}

} // namespace

void TagReading::read(const QList<Track>& tracks) {
    if (tracks.isEmpty())
        return;
    KnownTracks* known = &known_;
    work_.post([known, tracks](const BackgroundWork::Task& task) {
        std::vector<Read> batch;
        auto since = std::chrono::steady_clock::now();
        const auto hand = [&] {
            task.deliver([known, read = std::move(batch)] {
                for (const Read& r : read) {
                    if (r.seconds)
                        known->learnLength(r.path, *r.seconds);
                    known->learnTags(r.path, r.tags);
                }
            });
            batch = {};
            since = std::chrono::steady_clock::now();
        };
        for (const Track& track : tracks) {
            if (task.cancelled())
                return;
            const QString path = JoinPath(track.folder, track.name);
            batch.push_back(ReadTrack(path));
            if (qsizetype(batch.size()) >= kBatch ||
                std::chrono::steady_clock::now() - since > kBatchTime)
                hand();
        }
        if (!batch.empty())
            hand();
    });
}

} // namespace velmor
