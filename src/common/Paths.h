#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace velmor {

// The folder separator of the platform ("/" here, "\" on Windows).
#ifdef Q_OS_WIN
inline constexpr QChar kSeparator = u'\\';
#else
inline constexpr QChar kSeparator = u'/';
#endif

// A playlist entry: the file's name as the list shows it, and the folder it lies in.
struct Track {
    QString name;
    QString folder;
    bool operator==(const Track&) const = default;
};

// Joins a folder and a file name with one separator (a root already ends in one).
QString JoinPath(const QString& folder, const QString& name);

// The folder and the name of a full path (the root "/" is the folder of "/a.mp3").
Track SplitPath(QStringView path);

} // namespace velmor
