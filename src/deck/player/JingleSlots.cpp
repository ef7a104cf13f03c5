#include "deck/player/JingleSlots.h"

#include "common/FileNames.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace velmor {

namespace {
const char* const kHeading = "# Velmor's jingle slots: the key, then the file (percent-encoded)";
} // namespace

QString JingleSlotsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/velmor/jingles.conf";
}

QByteArray JingleSlotsText(const QStringList& files) {
    QByteArray text = QByteArray(kHeading) + '\n';
    for (int slot = 0; slot < files.size(); ++slot)
        if (!files[slot].isEmpty())
            text += "F" + QByteArray::number(slot + 1) + ' ' +
                    FileNameToBytes(files[slot]).toPercentEncoding("/") + '\n';
    return text;
}

QStringList ReadJingleSlotsText(const QByteArray& text, int count, int* strange) {
    QStringList files(count);
    int notUnderstood = 0;
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const qsizetype space = line.indexOf(' ');
        bool number = false;
        const int slot = line.startsWith('F') ? line.mid(1, space - 1).toInt(&number) - 1 : -1;
        const QByteArray name = QByteArray::fromPercentEncoding(line.mid(space + 1));
        if (space < 0 || !number || slot < 0 || slot >= count || name.isEmpty()) {
            ++notUnderstood;
            continue;
        }
        files[slot] = FileNameFromBytes(name);
    }
    if (strange)
        *strange = notUnderstood;
    return files;
}

bool WriteJingleSlots(const QString& file, const QStringList& files) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(JingleSlotsText(files)) >= 0 && out.commit();
}

} // namespace velmor
