#include "playlist/M3u.h"

#include "common/Error.h"
#include "common/FileNames.h"
#include "playlist/FileUris.h"

#include <QDir>
#include <QLatin1StringView>
#include <cstring>
#include <optional>

namespace velmor {

namespace {
QByteArrayView withoutBom(QByteArrayView bytes, bool& hadBom) {
    hadBom = bytes.startsWith("\xEF\xBB\xBF");
    return hadBom ? bytes.sliced(3) : bytes;
}

// Calls `take` with every line of `bytes`: a line ends at CR LF, CR or LF; the end of the
// bytes ends the last line (an empty last line after a final line end is no line). Lines
// are found a line feed at a time, then split at any carriage return inside.
template <typename Take> void forEachLine(QByteArrayView bytes, Take take) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        const auto lf = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        const char* const stop = lf ? lf : end;
        for (;;) {
            const auto cr = static_cast<const char*>(std::memchr(p, '\r', size_t(stop - p)));
            if (!cr) {
                take(QByteArrayView(p, stop - p));
                break;
            }
            take(QByteArrayView(p, cr - p));
            p = cr + 1;
            if (p == stop) // CR LF is one line end, and a last CR ends the last line
                break;
        }
        p = stop + 1;
    }
}

template <typename Text> Text trimSpaces(Text line) {
    qsizetype first = 0, last = line.size();
    while (first < last && line[first] == ' ')
        ++first;
    while (last > first && line[last - 1] == ' ')
        --last;
    return line.sliced(first, last - first);
}

bool isDriveLetterPath(QStringView text) {
    return text.size() >= 3 && text[0].isLetter() && text[0].unicode() < 0x80 && text[1] == u':' &&
           (text[2] == u'\\' || text[2] == u'/');
}

// The folder `text` (a relative or absolute folder as written) stands for.
QString folderOf(QStringView text, const QString& listFolder, bool absolute) {
    QString folder = absolute ? text.toString() : JoinPath(listFolder, text.toString());
    if (text.contains(u'.')) // "." and ".." are steps, not names
        folder = QDir::cleanPath(folder);
    return folder;
}

// Where `text` points, read against the list's folder; `windows` tells an absolute Windows
// path ("C:\Music\a.mp3", "\\server\share\a.mp3", "\Music\a.mp3").
Track placeOf(QStringView text, const QString& listFolder, bool& windows) {
    windows = isDriveLetterPath(text) || text.startsWith(u'\\');
    if (text.startsWith(u"file:", Qt::CaseInsensitive)) {
        const QString path = LocalPathOfUri(text);
        if (!path.isNull())
            return SplitPath(path);
    }
    QString converted;
    if (text.contains(u'\\')) {
        converted = text.toString();
        converted.replace(u'\\', kSeparator);
        text = converted;
    }
    const qsizetype p = text.lastIndexOf(kSeparator);
    if (p < 0)
        return {text.toString(), listFolder};
    const bool absolute = p == 0 || text.startsWith(kSeparator) || isDriveLetterPath(text);
    const QString folder =
        p == 0 ? QString(kSeparator) : folderOf(text.first(p), listFolder, absolute);
    return {text.sliced(p + 1).toString(), folder};
}

bool IsAscii(QByteArrayView line) {
    for (char c : line)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// For a line that is read as it stands (no "\\", no surrounding spaces, no URI, no
// Windows path, nothing to decode two ways), the bytes before its last "/": a null view for
// a bare name. Nothing for any other line.
std::optional<QByteArrayView> plainFolderPart(QByteArrayView line, bool windows1252) {
    if (line.front() == ' ' || line.back() == ' ' || line.contains('\\') || line.contains(':'))
        return std::nullopt;
    if (windows1252 && !IsAscii(line))
        return std::nullopt;
    const qsizetype slash = line.lastIndexOf('/');
    return slash < 0 ? QByteArrayView() : line.first(slash);
}
} // namespace

QList<QByteArrayView> M3uLines(QByteArrayView bytes) {
    bool bom;
    QList<QByteArrayView> lines;
    forEachLine(withoutBom(bytes, bom), [&](QByteArrayView line) { lines.append(line); });
    return lines;
}

bool IsTrackLine(QByteArrayView line, const QStringList& types) {
    if (line.size() > kMaxTrackLine)
        return false;
    const QByteArrayView text = trimSpaces(line);
    if (text.isEmpty() || text.front() == '#')
        return false;
    // No file name holds a NUL: such a line is binary junk.
    if (std::memchr(text.data(), '\0', size_t(text.size())))
        return false;
    const qsizetype dot = text.lastIndexOf('.');
    if (dot < 0)
        return false;
    const QLatin1StringView extension(text.sliced(dot + 1));
    for (const QString& type : types)
        if (extension.compare(type, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

ListEntry EntryOfLine(QStringView line, const QString& listFolder) {
    bool windows = false;
    ListEntry entry{placeOf(line, listFolder, windows), {}};
    auto offer = [&](const Track& place) {
        if (place == entry.track)
            return;
        const QString path = JoinPath(place.folder, place.name);
        if (!entry.others.contains(path))
            entry.others.append(path);
    };
    if (windows)
        offer({entry.track.name, listFolder});
    const QStringView trimmed = trimSpaces(line);
    if (trimmed.size() != line.size()) {
        const Track place = placeOf(trimmed, listFolder, windows);
        offer(place);
        if (windows)
            offer({place.name, listFolder});
    }
    return entry;
}

namespace {
// `windows1252` false: UTF-8, broken bytes kept as the file system's own. Sets `allAscii`
// false when a track line holds a byte past ASCII, where the two readings differ.
QList<ListEntry> readLines(QByteArrayView bytes, const M3uSource& source, bool windows1252,
                           bool& allAscii) {
    QList<ListEntry> entries;
    // The folder part of the last plain line and where it was placed: lists hold runs of
    // entries in one folder, and a run is placed once.
    std::optional<QByteArrayView> lastFolderPart;
    forEachLine(bytes, [&](QByteArrayView line) {
        if (!IsTrackLine(line, source.types))
            return;
        allAscii = allAscii && IsAscii(line);
        std::optional<QByteArrayView> folderPart = plainFolderPart(line, windows1252);
        if (folderPart && lastFolderPart && folderPart->isNull() == lastFolderPart->isNull() &&
            *folderPart == *lastFolderPart) {
            const QByteArrayView name =
                line.sliced(folderPart->isNull() ? 0 : folderPart->size() + 1);
            entries.append(ListEntry{{FileNameFromBytes(name), entries.last().track.folder}, {}});
            return;
        }
        lastFolderPart = folderPart;
        ListEntry entry = EntryOfLine(windows1252 ? FromWindows1252(line) : FileNameFromBytes(line),
                                      source.folder);
        if (windows1252) {
            // A name copied byte for byte from another system, or written by this program.
            const ListEntry asBytes = EntryOfLine(FileNameFromBytes(line), source.folder);
            if (asBytes != entry)
                for (const QString& path :
                     QStringList{JoinPath(asBytes.track.folder, asBytes.track.name)} +
                         asBytes.others)
                    if (!entry.others.contains(path))
                        entry.others.append(path);
        }
        // Entries of one folder share one string.
        if (!entries.isEmpty() && entries.last().track.folder == entry.track.folder)
            entry.track.folder = entries.last().track.folder;
        entries.append(std::move(entry));
    });
    return entries;
}
} // namespace

QList<ListEntry> ReadM3u(QByteArrayView bytes, const M3uSource& source) {
    bool bom;
    bytes = withoutBom(bytes, bom);
    bool allAscii = true;
    QList<ListEntry> entries = readLines(bytes, source, false, allAscii);
    // Where every track line is ASCII both readings agree, and the file need not be judged.
    if (!allAscii && !bom && !source.saidUtf8 && !IsValidUtf8(bytes))
        entries = readLines(bytes, source, true, allAscii);
    return entries;
}

ResolvedEntry ResolveEntry(const ListEntry& entry,
                           const std::function<bool(const QString& path)>& exists) {
    if (exists(JoinPath(entry.track.folder, entry.track.name)))
        return {entry.track, true};
    for (const QString& path : entry.others)
        if (exists(path))
            return {SplitPath(path), true};
    return {entry.track, false};
}

QByteArray WriteM3u(const QList<Track>& tracks, const QString& saveFolder) {
    QByteArray bytes;
    for (const Track& track : tracks) {
        const QString line =
            track.folder == saveFolder ? track.name : JoinPath(track.folder, track.name);
        if (!IsFileNameEncodable(line))
            throw Error(QStringLiteral("The name %1 cannot be written as a file name")
                            .arg(DisplayName(line)));
        if (line.contains(u'\r') || line.contains(u'\n'))
            throw Error(QStringLiteral("The name %1 holds a line end, which a playlist cannot hold")
                            .arg(DisplayName(line)));
        bytes += FileNameToBytes(line);
        bytes += "\r\n";
    }
    return bytes;
}

} // namespace velmor
