#include "deck/CountedEnd.h"

#include "analysis/KnownTracks.h"

#include <algorithm>

namespace velmor {

namespace {

// The facts of `path` when the evening skips silence and they are of use; else none.
const TrackFacts* SilenceFacts(const KnownTracks& known, const QString& path) {
    if (!known.levelling().skipSilence || path.isEmpty())
        return nullptr;
    return known.facts(path);
}

} // namespace

double CountedEnd(const KnownTracks& known, const QString& path, double position, double length) {
    const TrackFacts* facts = SilenceFacts(known, path);
    if (!facts || !facts->soundEnd || *facts->soundEnd >= length)
        return length;
    return std::max(position, *facts->soundEnd);
}

std::optional<double> PlayedSeconds(const KnownTracks& known, const QString& path) {
    const TrackFacts* facts = SilenceFacts(known, path);
    if (facts && facts->soundStart && facts->soundEnd)
        return std::max(0.0, *facts->soundEnd - *facts->soundStart);
    return known.length(path);
}

SoundShares SoundSharesOf(const KnownTracks& known, const QString& path) {
    const TrackFacts* facts = SilenceFacts(known, path);
    if (!facts || facts->lengthSeconds <= 0 || !facts->soundStart || !facts->soundEnd)
        return {};
    return {std::clamp(*facts->soundStart / facts->lengthSeconds, 0.0, 1.0),
            std::clamp(*facts->soundEnd / facts->lengthSeconds, 0.0, 1.0)};
}

} // namespace velmor
