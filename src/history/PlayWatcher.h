#pragma once

#include "history/PlayedTrack.h"
#include "history/SoundingTime.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>

namespace velmor {

class Deck;

// Watches one deck for the tracks it plays and tells each one that counts as played, once,
// when it stops, ends, is replaced, or the watching ends (the program closes).
//
// A track sounds while the deck plays it, not muted, at a level above the bottom of the
// volume law: the deck's volume, the crossfader and fades all move that level. The deck
// tells its transport and mute, but not every level change, so the watcher also looks on a
// timer of its own.
class PlayWatcher : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;
    struct Names {
        QString artist;
        QString title;
    };
    using Naming = std::function<Names(const QString& path)>;

    static constexpr int kLookEveryMs = 500;

    PlayWatcher(Deck& deck, Clock clock, Naming naming, QObject* parent = nullptr);
    ~PlayWatcher() override;

    // Notes whether the deck sounds now.
    void look();
    // Whether it looks by itself (every kLookEveryMs, while its deck plays).
    bool looking() const { return timer_.isActive(); }
    // The watching ends: a track that counts is told now, as stopped.
    void finish();

signals:
    void played(const velmor::PlayedTrack& track);

private:
    struct Play {
        QString path;
        QDateTime start;
        SoundingTime time;
    };
    void playing();
    void opened();
    void end(bool reachedEnd);
    bool sounding() const;
    double seconds(const QDateTime& time) const;

    Deck& deck_;
    Clock clock_;
    Naming naming_;
    QDateTime epoch_;
    std::optional<Play> play_;
    QTimer timer_;
};

} // namespace velmor
