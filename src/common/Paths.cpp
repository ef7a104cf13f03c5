#include "common/Paths.h"

namespace velmor {

QString JoinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(kSeparator) || folder.endsWith(u'/'))
        return folder + name;
    return folder + kSeparator + name;
}

Track SplitPath(QStringView path) {
    const qsizetype p = path.lastIndexOf(kSeparator);
    if (p < 0)
        return {path.toString(), QString()};
    return {path.sliced(p + 1).toString(), p == 0 ? QString(kSeparator) : path.first(p).toString()};
}

} // namespace velmor
