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
// The store is opened once the window can show notices: one that will not open gives one
// notice, and the evening goes on without a history (the lists still mark what was played). A write
// that fails gives one notice, and no more until a write succeeds again.
class EveningHistory : public QObject {
    Q_OBJECT
public:
    // Until opened, no history is written on disk.
    EveningHistory(const PerDeck<Deck>& decks, Reporter& reporter, PlayWatcher::Clock clock,
                   const PlayWatcher::Naming& naming, QObject* parent = nullptr);
    ~EveningHistory() override;

    // Writes the tracks played from now on into the database at `file`, the evening
    // beginning now.
    void open(const QString& file);
    HistoryStore* store() const { return store_.get(); }
    const QSet<QString>& played() const { return played_; }
    // The program closes: the tracks still playing that count are written.
    void finish();

signals:
    void playedChanged(const QSet<QString>& paths);

private:
    void keep(const PlayedTrack& track);

    Reporter& reporter_;
    PlayWatcher::Clock clock_;
    std::unique_ptr<HistoryStore> store_;
    std::array<std::unique_ptr<PlayWatcher>, kDecks> watchers_;
    QSet<QString> played_;
    bool writeFailed_ = false;
};

} // namespace velmor
