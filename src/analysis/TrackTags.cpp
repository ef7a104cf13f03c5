#include "analysis/TrackTags.h"

namespace velmor {

TrackTags ReadTrackTags(const QString&) {
    return {};
}

QString TaggedName(const TrackTags& tags) {
    if (tags.artist.isEmpty() || tags.title.isEmpty())
        return {};
    return tags.artist + QStringLiteral(" \u2013 ") + tags.title;
}

} // namespace velmor
