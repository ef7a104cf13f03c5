#pragma once

#include "playlist/Paths.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QStringView>

namespace velmor {

// M3U playlists as this program reads and writes them. Pure functions: bytes in, tracks
// out, and back; opening and writing files is the caller's business.
//
// Written: one line per entry in playlist order, each ending in CR LF, in the locale's
// 8-bit encoding; nothing else (no header, no comments). An entry that lies in the folder
// the file is saved in is written as its bare name, any other as its full path.
//
// Read: a line ends at CR or CR LF (a line feed alone is part of the line). A track line is
// one whose text, spaces trimmed, does not start with "#" and ends in ".mp3" in any case;
// every other line is skipped. It splits at its last separator ("\" counts as one too, so
// that playlists written on Windows play here); a line without one names a file in the
// playlist's own folder. A relative folder stays relative.

// Longer than any path a file system takes; such a line is junk, not a track.
inline constexpr qsizetype kMaxTrackLine = 32767;

// The lines of an M3U file, decoded (a UTF-8 byte-order mark at the start is dropped).
QStringList M3uLines(const QByteArray& bytes);

bool IsTrackLine(QStringView line);

// The track a track line names; `m3uFolder` is where a bare name lies.
Track TrackOfLine(QStringView line, const QString& m3uFolder);

// Every track of an M3U file, in the file's order.
QList<Track> ReadM3u(const QByteArray& bytes, const QString& m3uFolder);

// The bytes of an M3U file saved into `saveFolder`. Throws Error when a name cannot be
// written in the locale's encoding, rather than writing a file that names other files.
QByteArray WriteM3u(const QList<Track>& tracks, const QString& saveFolder);

} // namespace velmor
