#pragma once

#include "common/Paths.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <memory>
#include <vector>

namespace velmor {

// M3U playlists as this program reads and writes them. Pure functions: bytes in, entries
// out, and back; opening files and looking at the disk are the caller's business.
//
// Written: one line per entry in playlist order, each ending in CR LF; nothing else (no
// header, no comments). An entry that lies in the folder the file is saved in is written as
// its bare name, any other as its full path. Names are written byte for byte as the file
// system holds them.
//
// Read, so that lists written by other players on any system play here:
//  - a line ends at CR LF, CR or LF;
//  - the text is UTF-8 when the file starts with a UTF-8 byte-order mark, is named .m3u8,
//    or is valid UTF-8; anything else is Windows-1252;
//  - a track line is one whose text, spaces trimmed, does not start with "#" and ends in
//    the extension of a type the decks play; every other line is skipped (#EXTM3U and
//    #EXTINF are comments here);
//  - "\" separates folders as "/" does; a relative entry lies below the list's own folder;
//    a file URI names its local path;
//  - where the entry as written does not exist, the reader offers other places it may mean
//    (see ListEntry).

// Longer than any path a file system takes; such a line is junk, not a track.
inline constexpr qsizetype kMaxTrackLine = 32767;

// The list file and what the reader needs to know of it.
struct M3uSource {
    QString folder;        // where the list lies: relative entries lie below it
    bool saidUtf8 = false; // a .m3u8 file
    QStringList types;     // extensions of the types the decks play (ASCII, no dot)
};

// A playlist entry as read: where its line points and, should that not exist, the full
// paths it may mean instead, in the order to try them: the line with its surrounding
// spaces trimmed; for an absolute Windows path, the file of that name beside the list; and
// for a list read as Windows-1252, the line's bytes taken as the file system's own.
struct ListEntry {
    Track track;
    QStringList others;
    bool operator==(const ListEntry&) const = default;
};

// The lines of an M3U file, undecoded (a UTF-8 byte-order mark at the start is dropped).
QList<QByteArrayView> M3uLines(QByteArrayView bytes);

bool IsTrackLine(QByteArrayView line, const QStringList& types);

// The entry a track line (decoded) names.
ListEntry EntryOfLine(QStringView line, const QString& listFolder);

// The entries of an M3U file, in the file's order: an index over the file's bytes, which it
// shares. Most entries are plain lines (no "\", no surrounding spaces, no URI or Windows
// path, nothing to decode two ways): such an entry is kept as where its name lies in the bytes
// and the folder it was placed in, a run of entries of one folder being placed once, and its
// strings are made when it is taken. Any other entry is kept as read.
class M3uEntries {
public:
    qsizetype size() const { return index_ ? qsizetype(index_->spots.size()) : 0; }
    bool isEmpty() const { return size() == 0; }
    ListEntry at(qsizetype i) const;
    ListEntry operator[](qsizetype i) const { return at(i); }
    QList<ListEntry> toList() const;
    // Entries that come from elsewhere than a file's bytes (a saved session), in order.
    static M3uEntries Of(QList<ListEntry> entries);

private:
    friend class M3uReader;
    // A plain entry: its name's bytes and its folder's index in `folders`; any other entry
    // (folder -1): its index in `made`.
    struct Spot {
        qsizetype start;
        qint32 size;
        qint32 folder;
    };
    struct Index {
        QByteArray bytes;
        std::vector<Spot> spots;
        QStringList folders;
        QList<ListEntry> made;
    };
    std::shared_ptr<const Index> index_; // copies share it
};

// Every entry of an M3U file, in the file's order.
M3uEntries ReadM3u(const QByteArray& bytes, const M3uSource& source);

// The track an entry stands for: the first of its places that `exists`, or the place as
// written when none does (`found` false).
struct ResolvedEntry {
    Track track;
    bool found = false;
};
ResolvedEntry ResolveEntry(const ListEntry& entry,
                           const std::function<bool(const QString& path)>& exists);

// The bytes of an M3U file saved into `saveFolder`. Throws Error when a name cannot be
// written as a file name or holds a line end, rather than writing a file that names other
// files.
QByteArray WriteM3u(const QList<Track>& tracks, const QString& saveFolder);

} // namespace velmor
