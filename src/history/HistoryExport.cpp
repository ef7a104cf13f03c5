#include "history/HistoryExport.h"

#include "legacy/Error.h"

#include <QDir>
#include <QSaveFile>

namespace velmor {

namespace {

const char* const kTimeFormat = "yyyy-MM-dd HH:mm:ss";

QString CsvField(const QString& field) {
    static const QString kSpecial = QStringLiteral(",\"\r\n");
    for (QChar c : field) {
        if (kSpecial.contains(c)) {
            QString quoted = field;
            quoted.replace('"', QStringLiteral("\"\""));
            return '"' + quoted + '"';
        }
    }
    return field;
}

} // namespace

QByteArray HistoryCsv(const QList<PlayedTrack>& tracks) {
    QString text = QStringLiteral("Start,Stop,Deck,Artist,Title,Path,Played to end\r\n");
    for (const PlayedTrack& t : tracks) {
        const QStringList fields{t.start.toString(kTimeFormat),
                                 t.stop.toString(kTimeFormat),
                                 QString::number(t.deck),
                                 CsvField(t.artist),
                                 CsvField(t.title),
                                 CsvField(t.path),
                                 t.playedToEnd ? QStringLiteral("yes") : QStringLiteral("no")};
        text += fields.join(',') + QStringLiteral("\r\n");
    }
    return text.toUtf8();
}

QByteArray HistoryM3u8(const QList<PlayedTrack>& tracks) {
    QString text = QStringLiteral("#EXTM3U\n");
    for (const PlayedTrack& t : tracks) {
        const qint64 seconds = qMax<qint64>(0, t.start.secsTo(t.stop));
        const QString name = t.artist.isEmpty() ? t.title : t.artist + " - " + t.title;
        text += "# " + t.start.toString(QStringLiteral("HH:mm:ss")) + '\n';
        text += "#EXTINF:" + QString::number(seconds) + ',' + name + '\n';
        text += t.path + '\n';
    }
    return text.toUtf8();
}

void WriteExport(const QString& fileName, const QByteArray& text) {
    QSaveFile file(fileName);
    const bool written =
        file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
    if (!written)
        throw Error("The history could not be written to " + QDir::toNativeSeparators(fileName) +
                    ": " + file.errorString() + ".");
}

} // namespace velmor
