#pragma once

#include "analysis/TrackFacts.h"
#include "analysis/TrackTags.h"

#include <QHash>
#include <QObject>
#include <QString>

namespace velmor {

// What the window has learnt of tracks this evening, by path: the facts of each look and
// the tags read. The window's thread only; the workers that learn deliver to it.
class KnownTracks : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    const TrackFacts* facts(const QString& path) const;
    const TrackTags* tags(const QString& path) const;
    void learnFacts(const QString& path, const TrackFacts& facts);
    void learnTags(const QString& path, const TrackTags& tags);

signals:
    // Something new is known of `path`.
    void learned(const QString& path);

private:
    QHash<QString, TrackFacts> facts_;
    QHash<QString, TrackTags> tags_;
};

} // namespace velmor
