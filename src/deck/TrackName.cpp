#include "deck/TrackName.h"

#include "common/Error.h"

#include <QDir>

namespace velmor {

QString LoadedName(const QString& path) {
    return path.mid(path.lastIndexOf(QDir::separator()) + 1);
}

QString TitleOf(const QString& path) {
    const QString name = LoadedName(path);
    if (name.size() < 4)
        throw Error(QStringLiteral("\"%1\" is too short a file name to show a title").arg(name));
    return name.left(name.size() - 4);
}

} // namespace velmor
