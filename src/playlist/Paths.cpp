#include "playlist/Paths.h"

namespace velmor {

QString JoinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(kSeparator) || folder.endsWith(u'/'))
        return folder + name;
    return folder + kSeparator + name;
}

} // namespace velmor
