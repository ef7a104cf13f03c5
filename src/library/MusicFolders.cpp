#include "library/MusicFolders.h"

#include "common/FileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace velmor {

QString MusicFoldersFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/velmor/library.conf");
}

QStringList ReadMusicFolders(const QString& file) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QStringList folders;
    for (const QByteArray& line : in.readAll().split('\n')) {
        const QString folder = FileNameFromBytes(line.endsWith('\r') ? line.chopped(1) : line);
        if (folder.trimmed().isEmpty() || folder.startsWith(QChar(u'#')) ||
            folders.contains(folder))
            continue;
        folders.append(folder);
    }
    return folders;
}

bool WriteMusicFolders(const QString& file, const QStringList& folders, QString* error) {
    QByteArray text = "# The music folders of Velmor's library, one a line.\n";
    for (const QString& folder : folders) {
        if (folder.contains(QChar(u'\n')) || folder.contains(QChar(u'\r'))) {
            *error = QStringLiteral("%1 cannot be kept: its name holds a line break.").arg(folder);
            return false;
        }
        text += FileNameToBytes(folder) + '\n';
    }
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit()) {
        *error = QStringLiteral("The music folders cannot be kept in %1: %2.")
                     .arg(QDir::toNativeSeparators(file), out.errorString());
        return false;
    }
    return true;
}

} // namespace velmor
