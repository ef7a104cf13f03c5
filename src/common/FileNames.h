#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace velmor {

// File names as the file system holds them are bytes: UTF-8 by custom, not by rule (a folder
// copied from an old Windows drive may hold Latin-1 names). Every path that goes to or comes
// from the operating system passes through this pair, so that no name is lost on the way.
//
// A byte that is not part of valid UTF-8 becomes one of the code points U+DC80..U+DCFF (a
// lone low surrogate, which no valid UTF-8 decodes to) and turns back into that same byte:
// FileNameToBytes(FileNameFromBytes(b)) == b for every b.
QString FileNameFromBytes(QByteArrayView bytes);
QByteArray FileNameToBytes(QStringView name);

// False when `name` holds a lone surrogate that no file name can give (FileNameToBytes then
// writes U+FFFD for it).
bool IsFileNameEncodable(QStringView name);

// The name as the user sees it: each kept byte shown as the replacement character.
QString DisplayName(QStringView name);
QString DisplayName(const QString& name); // no copy when the name shows as it is

bool IsValidUtf8(QByteArrayView bytes);

// Windows-1252, the 8-bit text of Windows players (the five bytes it leaves unassigned
// stand for the C1 controls of the same number, as Windows itself reads them).
QString FromWindows1252(QByteArrayView bytes);

} // namespace velmor
