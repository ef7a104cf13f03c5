#pragma once

#include <QString>
#include <QStringList>
#include <atomic>
#include <vector>

namespace velmor {

// A file found in a music folder, with what tells one version of it from another.
struct FoundFile {
    QString path;
    qint64 size = 0;
    qint64 modifiedMs = 0; // since the epoch, as the analysis cache stamps files
};

// A file or folder that could not be looked at, and why, in plain words.
struct PassedOver {
    QString path;
    QString why;
    bool folder = false;
    bool operator==(const PassedOver&) const = default;
};

struct FolderListing {
    std::vector<FoundFile> files;
    std::vector<PassedOver> passedOver;
};

// The files below `root` whose extension (any case) is one of `extensions` (lower case,
// without the dot), each looked at once: one stat a file. Hidden files and folders (a dot
// first, as the "._" shadows a Mac leaves on a stick) are left out, and a folder reached twice
// through links is walked once. Stops early, with what it has, when `cancelled` is set.
FolderListing ListMusicFiles(const QString& root, const QStringList& extensions,
                             const std::atomic<bool>& cancelled);

} // namespace velmor
