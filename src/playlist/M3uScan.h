#pragma once

#include "playlist/M3u.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>
#include <cstring>

// The M3U reader's first look at a file: its lines, and what each line is, found in the
// bytes before any string is made. Only the reader uses this.
namespace velmor::m3u {

QByteArrayView WithoutBom(QByteArrayView bytes, bool& hadBom);

// Calls `take` with every line of `bytes`: a line ends at CR LF, CR or LF; the end of the
// bytes ends the last line (an empty last line after a final line end is no line). Lines
// are found a line feed at a time, then split at any carriage return inside.
template <typename Take> void ForEachLine(QByteArrayView bytes, Take take) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    // Bytes without a carriage return (as Linux and macOS players write them) need no
    // search for one in every line.
    const bool crs = !bytes.isEmpty() && std::memchr(p, '\r', size_t(end - p));
    while (p < end) {
        const auto lf = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        const char* const stop = lf ? lf : end;
        if (!crs) {
            take(QByteArrayView(p, stop - p));
            p = stop + 1;
            continue;
        }
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

template <typename Text> Text TrimSpaces(Text line) {
    qsizetype first = 0, last = line.size();
    while (first < last && line[first] == ' ')
        ++first;
    while (last > first && line[last - 1] == ' ')
        --last;
    return line.sliced(first, last - first);
}

// The extensions of the types the decks play, matched in any letter case.
class TrackTypes {
public:
    explicit TrackTypes(const QStringList& types);
    // Whether `text` ends in "." and one of the extensions.
    bool endIn(QByteArrayView text) const;

private:
    bool has(QByteArrayView extension) const;
    // "." and an extension of at most seven letters as the last bytes of a word, which
    // `shift` moves down to the lowest.
    struct End {
        quint64 word;
        int shift;
    };
    QList<End> ends_;
    QList<QByteArray> longer_; // lower case, without the "."
    qsizetype longest_ = 0;
};

// What a line is.
struct LineShape {
    bool track = false;   // a track line
    bool plain = false;   // to be read as it stands: no surrounding spaces, no "\" or ":"
    bool ascii = true;    // no byte past ASCII, where UTF-8 and Windows-1252 agree
    qsizetype slash = -1; // where the last "/" is
};

// A track line is one whose text, spaces trimmed, does not start with "#", holds no NUL and
// ends in the extension of a type the decks play.
LineShape ShapeOf(QByteArrayView line, const TrackTypes& types);

// Whether `line` is a plain ASCII track line whose folder part (what comes before its last
// "/") is `run`, or that has no "/" where `run` is null: the common line of a list, which
// follows others of its folder. False also for some such lines (short names), which
// ShapeOf tells apart.
bool ContinuesRun(QByteArrayView line, QByteArrayView run, const TrackTypes& types);

} // namespace velmor::m3u
