#include "playlist/PlaylistFiles.h"

#include "common/Error.h"

#include <QFile>
#include <QSaveFile>

namespace velmor {

namespace {
[[noreturn]] void fail(const QString& path, const QString& description) {
    throw Error(QStringLiteral("%1: %2").arg(path, description));
}
} // namespace

QByteArray ReadPlaylistFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path, file.errorString());
    if (file.size() > kMaxPlaylistFileSize)
        fail(path, QStringLiteral("The file is too large to be a playlist"));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        fail(path, file.errorString());
    return bytes;
}

void SavePlaylistFile(const QString& path, const QByteArray& bytes) {
    // QSaveFile discards its temporary file unless commit() renames it into place.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        fail(path, file.errorString());
    if (file.write(bytes) != bytes.size())
        fail(path, file.errorString());
    if (!file.commit())
        fail(path, file.errorString());
}

} // namespace velmor
