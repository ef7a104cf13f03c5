#pragma once

#include "common/Decks.h"
#include "history/PlayWatcher.h"

#include <QObject>
#include <QSet>
#include <array>
#include <memory>

namespace velmor {

class Deck;
class HistoryStore;
class Reporter;

// The evening's history as the window keeps it: a watcher on each deck, the store the tracks
// played are written to, and the set of tracks played tonight for the lists to mark.
//
// A store that will not open gives one notice, and the evening goes on without a history
// (the lists still mark what was played). A write that fails gives one notice, and no more
// until a write succeeds again.
class EveningHistory : public QObject {
    Q_OBJECT
public:
    // `file` "" keeps no history on disk.
    EveningHistory(const PerDeck<Deck>& decks, Reporter& reporter, const QString& file,
                   PlayWatcher::Clock clock, PlayWatcher::Naming naming, QObject* parent = nullptr);
    ~EveningHistory() override;

    HistoryStore* store() const { return store_.get(); }
    const QSet<QString>& played() const { return played_; }
    // The program closes: the tracks still playing that count are written.
    void finish();

signals:
    void playedChanged(const QSet<QString>& paths);

private:
    void keep(const PlayedTrack& track);

    Reporter& reporter_;
    std::unique_ptr<HistoryStore> store_;
    std::array<std::unique_ptr<PlayWatcher>, kDecks> watchers_;
    QSet<QString> played_;
    bool writeFailed_ = false;
};

} // namespace velmor
