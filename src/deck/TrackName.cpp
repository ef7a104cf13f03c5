#include "deck/TrackName.h"

#include "deck/player/PlayableTypes.h"
#include "legacy/Error.h"

#include <QDir>

namespace velmor {

QString LoadedName(const QString& path) {
    return path.mid(path.lastIndexOf(QDir::separator()) + 1);
}

QString TitleOf(const QString& path) {
    const QString name = LoadedName(path);
    if (name.size() < 4)
        throw Error(QStringLiteral("\"%1\" is too short a file name to show a title").arg(name));
    // Four characters are ".mp3" and ".wav"; "Song.flac" is "Song" all the same.
    const qsizetype dot = name.lastIndexOf(u'.');
    return name.left(dot >= 0 && IsPlayableName(name) ? dot : name.size() - 4);
}

} // namespace velmor
