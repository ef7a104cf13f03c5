#pragma once

#include <QList>
#include <QString>

namespace velmor {

// The few calls of the operating system that take or give file names, each through
// FileNameToBytes / FileNameFromBytes, so that any name the file system holds can be listed,
// opened and written. Paths are full paths or relative to the current folder.

enum class FileKind { Missing, File, Folder, Other };

// What lies at `path`, links followed ("Missing" also when it cannot be looked at).
FileKind KindOf(const QString& path);

struct FolderEntry {
    QString name;
    FileKind kind = FileKind::Other; // links followed
};

// The entries of a folder ("." and ".." left out), in no particular order. Throws Error
// "<folder>: <the system's description>" when it cannot be listed.
QList<FolderEntry> ListFolder(const QString& path);

// The process's current folder, whatever bytes its name holds.
QString CurrentFolder();

// The system's description of an error number ("No such file or directory").
QString SystemError(int number);

} // namespace velmor
