#include "playlist/M3u.h"

#include "common/FileNames.h"
#include "legacy/Error.h"
#include "playlist/FileUris.h"
#include "playlist/M3uScan.h"

#include <QDir>

namespace velmor {

namespace {
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

} // namespace

QList<QByteArrayView> M3uLines(QByteArrayView bytes) {
    bool bom;
    QList<QByteArrayView> lines;
    m3u::ForEachLine(m3u::WithoutBom(bytes, bom), [&](QByteArrayView line) { lines.append(line); });
    return lines;
}

bool IsTrackLine(QByteArrayView line, const QStringList& types) {
    return m3u::ShapeOf(line, m3u::TrackTypes(types)).track;
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
    const QStringView trimmed = m3u::TrimSpaces(line);
    if (trimmed.size() != line.size()) {
        const Track place = placeOf(trimmed, listFolder, windows);
        offer(place);
        if (windows)
            offer({place.name, listFolder});
    }
    return entry;
}

namespace {
// The entry of a line that is not plain, read in full.
ListEntry madeEntry(QByteArrayView line, const QString& listFolder, bool windows1252) {
    ListEntry entry =
        EntryOfLine(windows1252 ? FromWindows1252(line) : FileNameFromBytes(line), listFolder);
    if (windows1252) {
        // A name copied byte for byte from another system, or written by this program.
        const ListEntry asBytes = EntryOfLine(FileNameFromBytes(line), listFolder);
        if (asBytes != entry)
            for (const QString& path :
                 QStringList{JoinPath(asBytes.track.folder, asBytes.track.name)} + asBytes.others)
                if (!entry.others.contains(path))
                    entry.others.append(path);
    }
    return entry;
}
} // namespace

class M3uReader {
public:
    // `windows1252` false: UTF-8, broken bytes kept as the file system's own. Sets `allAscii`
    // false when a track line holds a byte past ASCII, where the two readings differ.
    static M3uEntries read(const QByteArray& bytes, const M3uSource& source, bool windows1252,
                           bool& allAscii) {
        auto index = std::make_shared<M3uEntries::Index>();
        index->bytes = bytes;
        index->spots.reserve(size_t(bytes.size() / 64)); // a guess that saves most regrowing
        const m3u::TrackTypes types(source.types);
        // The folder part of the run of plain lines being read (null for bare names): lists
        // hold runs of entries in one folder, and a run is placed once.
        QByteArrayView run;
        bool inRun = false;
        QString lastFolder; // entries of one folder share one string
        const auto appendPlain = [&](QByteArrayView line, qsizetype slash) {
            index->spots.push_back({line.data() - bytes.constData() + slash + 1,
                                    qint32(line.size() - slash - 1),
                                    qint32(index->folders.size() - 1)});
        };
        bool bom;
        m3u::ForEachLine(m3u::WithoutBom(bytes, bom), [&](QByteArrayView line) {
            if (inRun && m3u::ContinuesRun(line, run, types)) {
                appendPlain(line, run.isNull() ? -1 : run.size());
                return;
            }
            const m3u::LineShape shape = m3u::ShapeOf(line, types);
            if (!shape.track)
                return;
            allAscii = allAscii && shape.ascii;
            if (!shape.plain || (windows1252 && !shape.ascii)) {
                inRun = false;
                ListEntry entry = madeEntry(line, source.folder, windows1252);
                if (entry.track.folder == lastFolder)
                    entry.track.folder = lastFolder;
                lastFolder = entry.track.folder;
                index->spots.push_back({index->made.size(), 0, -1});
                index->made.append(std::move(entry));
                return;
            }
            const QByteArrayView part =
                shape.slash < 0 ? QByteArrayView() : line.first(shape.slash);
            if (!inRun || part.isNull() != run.isNull() || part != run) {
                QString folder = EntryOfLine(FileNameFromBytes(line), source.folder).track.folder;
                if (folder == lastFolder)
                    folder = lastFolder;
                if (index->folders.isEmpty() || index->folders.last() != folder)
                    index->folders.append(folder);
                lastFolder = folder;
                run = part;
                inRun = true;
            }
            appendPlain(line, shape.slash);
        });
        M3uEntries entries;
        entries.index_ = std::move(index);
        return entries;
    }
};

ListEntry M3uEntries::at(qsizetype i) const {
    const Spot& spot = index_->spots.at(size_t(i));
    if (spot.folder < 0)
        return index_->made.at(spot.start);
    const QByteArrayView name = QByteArrayView(index_->bytes).sliced(spot.start, spot.size);
    return {{FileNameFromBytes(name), index_->folders.at(spot.folder)}, {}};
}

M3uEntries M3uEntries::Of(QList<ListEntry> entries) {
    auto index = std::make_shared<Index>();
    index->spots.reserve(size_t(entries.size()));
    for (qsizetype i = 0; i < entries.size(); ++i)
        index->spots.push_back({i, 0, -1});
    index->made = std::move(entries);
    M3uEntries all;
    all.index_ = std::move(index);
    return all;
}

QList<ListEntry> M3uEntries::toList() const {
    QList<ListEntry> all;
    all.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        all.append(at(i));
    return all;
}

M3uEntries ReadM3u(const QByteArray& bytes, const M3uSource& source) {
    bool allAscii = true;
    M3uEntries entries = M3uReader::read(bytes, source, false, allAscii);
    // Where every track line is ASCII both readings agree, and the file need not be judged.
    bool bom;
    const QByteArrayView text = m3u::WithoutBom(bytes, bom);
    if (!allAscii && !bom && !source.saidUtf8 && !IsValidUtf8(text))
        entries = M3uReader::read(bytes, source, true, allAscii);
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

namespace {
// Appends `text` when it is ASCII without a line end, as nearly every name is; false, with
// nothing appended, for any other text.
bool appendPlain(QByteArray& bytes, QStringView text) {
    for (QChar c : text)
        if (c.unicode() >= 0x80 || c == u'\r' || c == u'\n')
            return false;
    const qsizetype at = bytes.size();
    bytes.resize(at + text.size());
    char* out = bytes.data() + at;
    for (QChar c : text)
        *out++ = char(c.unicode());
    return true;
}
} // namespace

QByteArray WriteM3u(const QList<Track>& tracks, const QString& saveFolder) {
    QByteArray bytes;
    for (const Track& track : tracks) {
        const bool bare = track.folder == saveFolder;
        const bool rooted = track.folder.endsWith(kSeparator) || track.folder.endsWith(u'/');
        const qsizetype start = bytes.size();
        if ((bare || (appendPlain(bytes, track.folder) &&
                      appendPlain(bytes, rooted ? QStringView() : QStringView(&kSeparator, 1)))) &&
            appendPlain(bytes, track.name)) {
            bytes += "\r\n";
            continue;
        }
        bytes.truncate(start);
        const QString line = bare ? track.name : JoinPath(track.folder, track.name);
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
