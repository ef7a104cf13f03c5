#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace velmor {

// An M3U file is read whole; one this large is no playlist (100,000 tracks take ~10 MB).
inline constexpr qint64 kMaxPlaylistFileSize = 64 * 1024 * 1024;

// A playlist file's name ends in .m3u or .m3u8, in any letter case.
bool IsPlaylistName(QStringView name);

// What the file list shows and adding takes: every type the decks play, and playlists.
QString AddablePattern();

// The bytes of the playlist file at `path`. Throws Error with the system's description
// when it cannot be opened or read, or when it is no file of a playlist's size.
QByteArray ReadPlaylistFile(const QString& path);

// Replaces the file at `path` by `bytes` in one step: a temporary file in the same folder
// is written, then renamed over the old one. On failure throws Error with the system's
// description; the old file stays whole and no temporary file is left behind.
void SavePlaylistFile(const QString& path, const QByteArray& bytes);

} // namespace velmor
