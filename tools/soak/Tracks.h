#pragma once

#include <QString>
#include <QStringList>

namespace velmor::soak {

// Writes `count` short tracks into `folder` (created if need be): steady tones of a few
// lengths, every other one an MP3 at 44.1 kHz (so the engine resamples it) when the lame
// encoder is at hand, the rest WAV at 48 kHz. Named so that sorting by name keeps their
// order. Returns the file names in that order; throws std::runtime_error when writing fails.
QStringList WriteTracks(const QString& folder, int deck, int count, bool mp3);

// Fills `folder` with `count` files for a music library to scan: each a further name of the
// file `track` (a hard link), spread over folders of a hundred. Throws std::runtime_error
// when that fails.
void WriteLibrary(const QString& folder, const QString& track, int count);

// Whether the lame encoder can be run.
bool CanEncodeMp3();

} // namespace velmor::soak
