#include "common/FileSystem.h"

#include "common/Error.h"
#include "common/FileNames.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmor {

namespace {
FileKind kindAt(const char* path) {
    struct stat st {};
    if (::stat(path, &st) != 0)
        return FileKind::Missing;
    if (S_ISDIR(st.st_mode))
        return FileKind::Folder;
    return S_ISREG(st.st_mode) ? FileKind::File : FileKind::Other;
}
} // namespace

FileKind KindOf(const QString& path) {
    return kindAt(FileNameToBytes(path).constData());
}

QString CurrentFolder() {
    QByteArray path(4096, Qt::Uninitialized);
    while (!::getcwd(path.data(), size_t(path.size()))) {
        if (errno != ERANGE)
            return QStringLiteral("/");
        path.resize(path.size() * 2);
    }
    return FileNameFromBytes(path.constData());
}

QString SystemError(int number) {
    return QString::fromLocal8Bit(std::strerror(number));
}

QList<FolderEntry> ListFolder(const QString& path) {
    const QByteArray folder = FileNameToBytes(path);
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        throw Error(QStringLiteral("%1: %2").arg(DisplayName(path), SystemError(errno)));
    QList<FolderEntry> entries;
    QByteArray full = folder.endsWith('/') ? folder : folder + '/';
    const qsizetype base = full.size();
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        FileKind kind = entry->d_type == DT_DIR   ? FileKind::Folder
                        : entry->d_type == DT_REG ? FileKind::File
                                                  : FileKind::Other;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            // Links are followed, as a file manager does.
            full.truncate(base);
            full.append(name);
            kind = kindAt(full.constData());
        }
        entries.append({FileNameFromBytes(name), kind});
    }
    ::closedir(dir);
    return entries;
}

} // namespace velmor
