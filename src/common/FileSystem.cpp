#include "common/FileSystem.h"

#include "common/FileNames.h"
#include "legacy/Error.h"

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

QString PlainCause(int systemError, Access access) {
    const bool writing = access == Access::Write;
    switch (systemError) {
    case ENOENT:
        return writing ? QStringLiteral("its folder does not exist")
                       : QStringLiteral("it does not exist");
    case ENOTDIR:
        return QStringLiteral("a folder on its way is a file");
    case EACCES:
    case EPERM:
        return writing ? QStringLiteral("the folder cannot be written")
                       : QStringLiteral("you have no permission to read it");
    case EROFS:
        return QStringLiteral("the disk is read-only");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("the disk is full");
    case EISDIR:
        return QStringLiteral("it is a folder");
    case ENAMETOOLONG:
        return QStringLiteral("its name is too long");
    case EIO:
        return writing ? QStringLiteral("the disk cannot be written")
                       : QStringLiteral("the disk cannot be read");
    default:
        QString text = QString::fromLocal8Bit(std::strerror(systemError));
        return QStringLiteral("the system says \"%1\"").arg(text);
    }
}

QString CannotBe(const QString& path, const QString& done, const QString& cause) {
    return QStringLiteral("%1 cannot be %2: %3.").arg(DisplayName(path), done, cause);
}

QList<FolderEntry> ListFolder(const QString& path) {
    const QByteArray folder = FileNameToBytes(path);
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        throw Error(CannotBe(path, QStringLiteral("opened"), PlainCause(errno, Access::Read)));
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
