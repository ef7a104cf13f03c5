#pragma once

#include <QStringView>
#include <optional>

namespace velmor {

// The loudness, in LUFS, that a track's gain tags imply. A gain tag says how far to turn a
// track to bring it to its reference loudness, so the track itself is as far the other way.
// Text that is not a gain, and gains beyond ±30 dB, imply nothing.

// A ReplayGain track gain ("-3.21 dB"), to -18 LUFS: the track is at -18 - gain.
std::optional<double> LoudnessFromReplayGain(QStringView text);

// An R128 track gain (a whole number of 1/256 dB, "-512"), to -23 LUFS.
std::optional<double> LoudnessFromR128Gain(QStringView text);

// The R128 gain where it says something, the ReplayGain gain otherwise.
std::optional<double> TaggedLoudness(QStringView replayGain, QStringView r128Gain);

} // namespace velmor
