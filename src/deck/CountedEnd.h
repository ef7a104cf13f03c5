#pragma once

#include <QString>
#include <optional>

namespace velmor {

class KnownTracks;

// Where a deck's remaining time and end-of-track warning count to from `position` in the
// track at `path` of `length` seconds: its last sound where a look found it and the evening
// skips the silence at the ends of tracks (never before the position: in the silent tail
// nothing remains), else the track's end.
double CountedEnd(const KnownTracks& known, const QString& path, double position, double length);

// The seconds the track at `path` plays when a deck moves on into it and through it: from its
// first sound to its last where the evening skips the silence at the ends and a look found
// them, else its length; none while its length is not known.
std::optional<double> PlayedSeconds(const KnownTracks& known, const QString& path);

// Where the sound of the track at `path` runs, as shares of its length: the overview shades
// what lies outside. The whole track where that is not known or silence is not skipped.
struct SoundShares {
    double start = 0;
    double end = 1;
};
SoundShares SoundSharesOf(const KnownTracks& known, const QString& path);

} // namespace velmor
