#include "playlist/M3u.h"

#include "common/Error.h"

namespace velmor {

namespace {
QString decode(const QByteArray& bytes) {
    static const QByteArray bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom))
        return QString::fromLocal8Bit(bytes.constData() + bom.size(), bytes.size() - bom.size());
    return QString::fromLocal8Bit(bytes);
}

// Calls `take` with every line of `text`: lines end at CR or CR LF; the end of the text
// ends the last line (an empty last line after a final CR is no line).
template <typename Take> void forEachLine(QStringView text, Take take) {
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = text.indexOf(u'\r', start);
        if (end < 0)
            end = size;
        take(text.sliced(start, end - start));
        start = end + 1;
        if (start < size && text[start] == u'\n')
            ++start;
    }
}

QStringView trimSpaces(QStringView line) {
    qsizetype first = 0, last = line.size();
    while (first < last && line[first] == u' ')
        ++first;
    while (last > first && line[last - 1] == u' ')
        --last;
    return line.sliced(first, last - first);
}

bool isSeparator(QChar c) {
    return c == kSeparator || c == u'\\';
}
} // namespace

QStringList M3uLines(const QByteArray& bytes) {
    const QString text = decode(bytes);
    QStringList lines;
    forEachLine(text, [&](QStringView line) { lines.append(line.toString()); });
    return lines;
}

bool IsTrackLine(QStringView line) {
    const QStringView text = trimSpaces(line);
    if (text.isEmpty() || text.front() == u'#' || line.size() > kMaxTrackLine)
        return false;
    // No file name holds a NUL: such a line is binary junk.
    if (text.contains(QChar(u'\0')))
        return false;
    return text.endsWith(u".mp3", Qt::CaseInsensitive);
}

Track TrackOfLine(QStringView line, const QString& m3uFolder) {
    qsizetype p = line.size() - 1;
    while (p >= 0 && !isSeparator(line[p]))
        --p;
    if (p < 0)
        return {line.toString(), m3uFolder};
    QString folder = line.first(p).toString();
    folder.replace(u'\\', kSeparator);
    if (folder.isEmpty())
        folder = kSeparator; // "/a.mp3" lies in the root
    return {line.sliced(p + 1).toString(), folder};
}

QList<Track> ReadM3u(const QByteArray& bytes, const QString& m3uFolder) {
    QList<Track> tracks;
    const QString text = decode(bytes);
    forEachLine(text, [&](QStringView line) {
        if (!IsTrackLine(line))
            return;
        Track track = TrackOfLine(line, m3uFolder);
        // Entries of one folder share one string.
        if (!tracks.isEmpty() && tracks.last().folder == track.folder)
            track.folder = tracks.last().folder;
        tracks.append(std::move(track));
    });
    return tracks;
}

QByteArray WriteM3u(const QList<Track>& tracks, const QString& saveFolder) {
    QString text;
    for (const Track& track : tracks) {
        text += track.folder == saveFolder ? track.name : JoinPath(track.folder, track.name);
        text += u"\r\n";
    }
    QByteArray bytes = text.toLocal8Bit();
    if (QString::fromLocal8Bit(bytes) != text) {
        for (const Track& track : tracks) {
            const QString path = JoinPath(track.folder, track.name);
            if (QString::fromLocal8Bit(path.toLocal8Bit()) != path)
                throw Error(QStringLiteral("The name %1 cannot be written in this system's "
                                           "character set")
                                .arg(path));
        }
    }
    return bytes;
}

} // namespace velmor
