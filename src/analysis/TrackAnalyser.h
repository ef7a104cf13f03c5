#pragma once

#include "analysis/AnalysisCache.h"
#include "analysis/TrackAnalysis.h"
#include "common/BackgroundWork.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmor {

class KnownTracks;
namespace audio {
class Decoder;
}

using OpenDecoderFunction = std::function<std::unique_ptr<audio::Decoder>(const std::string&)>;

// The look at the file `path`: the one kept in `cache` while the file is as it was, else one
// decode with a decoder from `open`, kept for the next time. None when the file cannot be
// read or `cancelled` is set.
std::optional<TrackLook> LookOnce(const QString& path, const AnalysisCache& cache,
                                  const OpenDecoderFunction& open,
                                  const std::atomic<bool>& cancelled);

// Looks at the decks' tracks on a worker thread of its own, one track at a time and at a low
// priority: never on the audio callback or the reader threads, never on the window's thread.
// What it finds goes to the overview (`scanned`) and to the window's known tracks. A deck's
// newer scan (or a drop) makes its unfinished one stop and its result go unheard.
//
// The entry a deck would play next is looked at ahead, so that an automatic advance starts
// with its figures known: one such look at a time, behind the decks' own scans (a scan
// given while one runs has it stop and start again afterwards), none for a track known or
// one that could not be read.
class TrackAnalyser : public QObject {
    Q_OBJECT
public:
    static constexpr int kBins = 2048;

    explicit TrackAnalyser(KnownTracks& known, QString cacheFolder = AnalysisCache::DefaultFolder(),
                           OpenDecoderFunction open = nullptr, QObject* parent = nullptr);

    void scan(int deck, const QString& path);
    void drop(int deck);
    void lookAhead(const QString& path);
    // Waits until no look is waiting or running (for tests).
    void waitForDone();

signals:
    // The loudest sample of each of kBins stretches of the deck's latest track; those past
    // damage that could not be read are 0. A file that cannot be opened gives none.
    void scanned(int deck, const std::vector<float>& peaks);

private:
    BackgroundWork::Job post(const QString& path, std::function<void(const TrackLook&)> found);
    // Starts the next look ahead when nothing else is to be done.
    void nextAhead();

    KnownTracks& known_;
    const AnalysisCache cache_;
    const OpenDecoderFunction open_;
    QHash<int, BackgroundWork::Job> jobs_; // each deck's latest scan
    QStringList ahead_;                    // the looks ahead waiting, the next first
    QString aheadPath_;                    // the look ahead running, if any
    QSet<QString> unreadable_;             // looked at ahead and found unreadable
    BackgroundWork::Job aheadJob_;
    // Below the decks' reader threads, so that they never wait for a look.
    BackgroundWork work_{"velmor analysis", 10};
};

} // namespace velmor
