#include "library/FolderWalk.h"

#include "common/FileNames.h"
#include "common/FileSystem.h"
#include "common/Paths.h"

#include <cerrno>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <utility>

namespace velmor {

namespace {

class Walk {
public:
    Walk(const QStringList& extensions, const std::atomic<bool>& cancelled)
        : extensions_(extensions), cancelled_(cancelled) {}

    void folder(const QString& path, const struct stat& info) {
        if (!visited_.insert({info.st_dev, info.st_ino}).second)
            return;
        const QByteArray bytes = FileNameToBytes(path);
        DIR* dir = opendir(bytes.constData());
        if (!dir) {
            passOver(path, true);
            return;
        }
        std::vector<QString> subfolders;
        while (const dirent* entry = readdir(dir)) {
            if (cancelled_.load(std::memory_order_relaxed))
                break;
            if (entry->d_name[0] == '.')
                continue;
            const QString name = FileNameFromBytes(entry->d_name);
            const QString child = JoinPath(path, name);
            struct stat childInfo {};
            if (stat(FileNameToBytes(child).constData(), &childInfo) != 0) {
                if (playable(name)) // a broken link, most likely: only a track's is news
                    passOver(child, false);
                continue;
            }
            if (S_ISDIR(childInfo.st_mode))
                subfolders.push_back(child);
            else if (S_ISREG(childInfo.st_mode) && playable(name))
                listing_.files.push_back({child, qint64(childInfo.st_size), ModifiedMs(childInfo)});
        }
        closedir(dir);
        for (const QString& subfolder : subfolders) {
            struct stat subInfo {};
            if (stat(FileNameToBytes(subfolder).constData(), &subInfo) == 0)
                folder(subfolder, subInfo);
        }
    }

    FolderListing take() { return std::move(listing_); }

private:
    static qint64 ModifiedMs(const struct stat& info) {
        return qint64(info.st_mtim.tv_sec) * 1000 + info.st_mtim.tv_nsec / 1000000;
    }

    bool playable(const QString& name) const {
        const qsizetype dot = name.lastIndexOf(QChar(u'.'));
        if (dot < 0)
            return false;
        const QString extension = name.mid(dot + 1).toLower();
        return extensions_.contains(extension);
    }

    void passOver(const QString& path, bool isFolder) {
        listing_.passedOver.push_back({path, PlainCause(errno, Access::Read), isFolder});
    }

    const QStringList& extensions_;
    const std::atomic<bool>& cancelled_;
    std::set<std::pair<dev_t, ino_t>> visited_;
    FolderListing listing_;
};

} // namespace

FolderListing ListMusicFiles(const QString& root, const QStringList& extensions,
                             const std::atomic<bool>& cancelled) {
    Walk walk(extensions, cancelled);
    struct stat info {};
    if (stat(FileNameToBytes(root).constData(), &info) == 0 && S_ISDIR(info.st_mode))
        walk.folder(root, info);
    return walk.take();
}

} // namespace velmor
