#pragma once

#include <QString>
#include <QStringList>

namespace velmor {

// The music folders the library scans, kept in a plain text file, one folder a line.

// $XDG_CONFIG_HOME/velmor/library.conf
QString MusicFoldersFile();

// The folders listed in `file`, each once, in their order; none where there is no file yet.
// Blank lines and lines beginning with "#" are passed over.
QStringList ReadMusicFolders(const QString& file);

// Writes the list whole or not at all (the old list stays on a failure); false with `error`
// saying why. A folder whose name holds a line break cannot be kept, and says so.
bool WriteMusicFolders(const QString& file, const QStringList& folders, QString* error);

} // namespace velmor
