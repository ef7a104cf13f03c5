#include "playlist/PlaylistFiles.h"

#include "common/FileNames.h"
#include "common/FileSystem.h"
#include "deck/player/PlayableTypes.h"
#include "legacy/Error.h"

#include <QStringList>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmor {

namespace {
[[noreturn]] void fail(const QString& path, Access access, const QString& cause) {
    const QString done = access == Access::Read ? QStringLiteral("read") : QStringLiteral("saved");
    throw Error(CannotBe(path, done, cause));
}

[[noreturn]] void failWithErrno(const QString& path, Access access) {
    fail(path, access, PlainCause(errno, access));
}

// Closes a descriptor at the end of a scope.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

void writeAll(int fd, const QByteArray& bytes, const QString& path) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            failWithErrno(path, Access::Write);
        done += n;
    }
}
} // namespace

bool IsPlaylistName(QStringView name) {
    static const QStringList lists{QStringLiteral("m3u"), QStringLiteral("m3u8")};
    return HasExtension(name, lists);
}

QString AddablePattern() {
    QStringList patterns;
    for (const QString& extension : PlayableExtensions() + QStringList{"m3u", "m3u8"})
        patterns.append("*." + extension);
    return patterns.join(';');
}

QByteArray ReadPlaylistFile(const QString& path) {
    // Non-blocking: a pipe or a device named like a list must not hang the window.
    const Descriptor file{
        ::open(FileNameToBytes(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0)
        failWithErrno(path, Access::Read);
    struct stat st {};
    if (::fstat(file.fd, &st) != 0)
        failWithErrno(path, Access::Read);
    if (S_ISDIR(st.st_mode))
        fail(path, Access::Read, PlainCause(EISDIR, Access::Read));
    if (!S_ISREG(st.st_mode))
        fail(path, Access::Read, QStringLiteral("it is not a file"));
    if (st.st_size > kMaxPlaylistFileSize)
        fail(path, Access::Read,
             QStringLiteral("it is larger than %1 MB, more than a playlist or a session ever holds")
                 .arg(kMaxPlaylistFileSize / (1024 * 1024)));
    QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(file.fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failWithErrno(path, Access::Read);
        if (n == 0)
            break; // it shrank while being read: what was there
        done += n;
    }
    bytes.truncate(done);
    return bytes;
}

void SavePlaylistFile(const QString& path, const QByteArray& bytes) {
    const QByteArray target = FileNameToBytes(path);
    // The new file gets the old one's permissions, or the usual ones of a new file.
    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode);
    // A file its owner made read-only is not replaced behind their back. Asked with the rights
    // the program has, as the writing will be done.
    if (replacing && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0 &&
        errno == EACCES)
        fail(path, Access::Write, QStringLiteral("it is read-only"));
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = target + ".velmor-" + QByteArray::number(::getpid()) + "-" +
                    QByteArray::number(attempt);
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            failWithErrno(path, Access::Write);
    }
    if (fd < 0)
        failWithErrno(path, Access::Write);
    try {
        const Descriptor file{fd};
        writeAll(fd, bytes, path);
        if (replacing)
            ::fchmod(fd, old.st_mode & 07777);
        // On the disk before it takes the old file's place.
        if (::fsync(fd) != 0)
            failWithErrno(path, Access::Write);
        if (::rename(temporary.constData(), target.constData()) != 0)
            failWithErrno(path, Access::Write);
    } catch (...) {
        ::unlink(temporary.constData());
        throw;
    }
}

} // namespace velmor
