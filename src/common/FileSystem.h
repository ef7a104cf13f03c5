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
// ("Music cannot be opened: you have no permission to read it.") when it cannot be listed.
QList<FolderEntry> ListFolder(const QString& path);

// The process's current folder, whatever bytes its name holds.
QString CurrentFolder();

// What a system error means for a file being read or written, in plain words that follow
// "cannot be ...:" ("it does not exist", "the folder cannot be written").
enum class Access { Read, Write };
QString PlainCause(int systemError, Access access);

// The one sentence that says a file could not be dealt with: "<name> cannot be <done>:
// <cause>.", the name shown once.
QString CannotBe(const QString& path, const QString& done, const QString& cause);

} // namespace velmor
