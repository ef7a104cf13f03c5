#pragma once

#include "analysis/LoudnessPlan.h"
#include "analysis/TrackFacts.h"
#include "analysis/TrackTags.h"

#include <QHash>
#include <QObject>
#include <QString>

namespace velmor {

// What the window has learnt of tracks this evening, by path: the facts of each look and
// the tags read; and how the evening evens its tracks out. The window's thread only; the
// workers that learn deliver to it.
class KnownTracks : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    const TrackFacts* facts(const QString& path) const;
    const TrackTags* tags(const QString& path) const;
    void learnFacts(const QString& path, const TrackFacts& facts);
    void learnTags(const QString& path, const TrackTags& tags);
    // The track's length: the look's where there was one, else its file's headers'; none
    // while neither is known.
    std::optional<double> length(const QString& path) const;
    void learnLength(const QString& path, double seconds) { lengths_.insert(path, seconds); }

    const Levelling& levelling() const { return levelling_; }
    void setLevelling(const Levelling& levelling);
    // The plan a deck plays `path` by now, with the loudness its own tags imply.
    audio::TrackPlan plan(const QString& path, std::optional<double> taggedLoudness) const;

signals:
    // Something new is known of `path`.
    void learned(const QString& path);
    void levellingChanged();

private:
    QHash<QString, TrackFacts> facts_;
    QHash<QString, TrackTags> tags_;
    QHash<QString, double> lengths_; // from the files' headers
    Levelling levelling_;
};

} // namespace velmor
