#include "deck/player/PlayableTypes.h"

#include "audio/PlayableTypes.h"

namespace velmor {

const QStringList& PlayableExtensions() {
    static const QStringList extensions = [] {
        QStringList all;
        for (const std::string& extension : audio::PlayableExtensions())
            all.append(QString::fromStdString(extension));
        return all;
    }();
    return extensions;
}

bool HasExtension(QStringView name, const QStringList& extensions) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QStringView extension = name.sliced(dot + 1);
    for (const QString& candidate : extensions)
        if (extension.compare(candidate, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace velmor
