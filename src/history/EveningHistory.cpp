#include "history/EveningHistory.h"

#include "common/Reporter.h"
#include "history/HistoryStore.h"
#include "legacy/Error.h"

namespace velmor {

EveningHistory::EveningHistory(const PerDeck<Deck>& decks, Reporter& reporter,
                               PlayWatcher::Clock clock, const PlayWatcher::Naming& naming,
                               QObject* parent)
    : QObject(parent), reporter_(reporter), clock_(std::move(clock)) {
    for (int d = 0; d < kDecks; ++d) {
        watchers_[d] = std::make_unique<PlayWatcher>(*decks[d], clock_, naming);
        connect(watchers_[d].get(), &PlayWatcher::played, this, &EveningHistory::keep);
    }
}

EveningHistory::~EveningHistory() = default;

void EveningHistory::open(const QString& file) {
    try {
        store_ = std::make_unique<HistoryStore>(file, clock_());
    } catch (const Error& error) {
        reporter_.notice(error.description() + " Tonight's history is not kept.");
    }
}

void EveningHistory::finish() {
    for (auto& watcher : watchers_)
        watcher->finish();
}

void EveningHistory::keep(const PlayedTrack& track) {
    played_.insert(track.path);
    emit playedChanged(played_);
    if (!store_)
        return;
    try {
        store_->add(track);
        writeFailed_ = false;
    } catch (const Error& error) {
        if (!std::exchange(writeFailed_, true))
            reporter_.notice(error.description());
    }
}

} // namespace velmor
