#include "playlist/M3uScan.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <bit>
#include <optional>

namespace velmor::m3u {

namespace {
char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Most lines are looked at eight bytes at a time: bytes [p, p + 8) as one word, the first
// in the lowest byte.
quint64 wordAt(const char* p) {
    quint64 word;
    std::memcpy(&word, p, 8);
    return qFromLittleEndian(word);
}

constexpr quint64 kOnes = 0x0101010101010101ULL;
constexpr quint64 kHighs = kOnes * 0x80, kLows = kOnes * 0x7F;

// Not zero when a byte of `word` is `c`.
constexpr quint64 anyByte(quint64 word, unsigned char c) {
    const quint64 x = word ^ (kOnes * c);
    return (x - kOnes) & ~x & kHighs;
}

// The high bit of each byte of `word` that is `c`, and of no other.
constexpr quint64 bytesOf(quint64 word, unsigned char c) {
    const quint64 x = word ^ (kOnes * c);
    return ~(((x & kLows) + kLows) | x | kLows);
}

// Not zero when `word` holds a byte past ASCII, a NUL, "\" or ":".
constexpr quint64 unusual(quint64 word) {
    return (word & kHighs) | anyByte(word, 0) | anyByte(word, '\\') | anyByte(word, ':');
}

// `word` (ASCII) with its capitals in lower case.
constexpr quint64 lowerWord(quint64 word) {
    const quint64 upper = (word + kOnes * (0x80 - 'A')) & ~(word + kOnes * (0x80 - 'Z' - 1));
    return word | ((upper & kHighs) >> 2);
}

bool sameLower(QByteArrayView text, QByteArrayView lower) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (asciiLower(text[i]) != lower[i])
            return false;
    return true;
}

enum ByteKind : unsigned char { kNameByte, kSlash, kSpecial, kNul };
constexpr std::array<unsigned char, 256> kByteKinds = [] {
    std::array<unsigned char, 256> kinds{};
    kinds['/'] = kSlash;
    kinds['\\'] = kSpecial;
    kinds[':'] = kSpecial; // a URI or a drive letter
    kinds[0] = kNul;
    return kinds;
}();

// The shape of a track line's text, a byte at a time; nothing when it holds a NUL.
LineShape shapeByBytes(QByteArrayView text) {
    LineShape shape;
    unsigned char high = 0;
    bool special = false;
    const auto bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (qsizetype i = 0; i < text.size(); ++i) {
        high |= bytes[i];
        switch (kByteKinds[bytes[i]]) {
        case kNameByte:
            break;
        case kSlash:
            shape.slash = i;
            break;
        case kSpecial:
            special = true;
            break;
        default: // no file name holds a NUL: such a line is binary junk
            return {};
        }
    }
    shape.track = true;
    shape.ascii = high < 0x80;
    shape.plain = !special;
    return shape;
}

// The same eight bytes at a time, for text of eight bytes or more that holds nothing
// unusual, as most does; nothing for other text.
std::optional<LineShape> shapeByWords(QByteArrayView text) {
    LineShape shape{true, true, true, -1};
    const auto take = [&](qsizetype at) {
        const quint64 word = wordAt(text.data() + at);
        if (unusual(word))
            return false;
        if (const quint64 slashes = bytesOf(word, '/'))
            shape.slash = at + (63 - std::countl_zero(slashes)) / 8;
        return true;
    };
    for (qsizetype at = 0; at + 8 <= text.size(); at += 8)
        if (!take(at))
            return std::nullopt;
    // The last bytes, some a second time: a "/" among them is the last.
    if (text.size() % 8 != 0 && !take(text.size() - 8))
        return std::nullopt;
    return shape;
}
} // namespace

QByteArrayView WithoutBom(QByteArrayView bytes, bool& hadBom) {
    hadBom = bytes.startsWith("\xEF\xBB\xBF");
    return hadBom ? bytes.sliced(3) : bytes;
}

TrackTypes::TrackTypes(const QStringList& types) {
    for (const QString& type : types) {
        const QByteArray lower = "." + type.toLower().toLatin1();
        longest_ = std::max(longest_, lower.size() - 1);
        if (lower.size() > 8) {
            longer_.append(lower.sliced(1));
            continue;
        }
        quint64 word = 0;
        for (qsizetype i = lower.size() - 1; i >= 0; --i)
            word = word << 8 | static_cast<unsigned char>(lower[i]);
        ends_.append({word, int(8 * (8 - lower.size()))});
    }
}

bool TrackTypes::endIn(QByteArrayView text) const {
    if (text.size() >= 8) {
        const quint64 last = wordAt(text.end() - 8);
        if (!(last & kHighs)) {
            const quint64 lower = lowerWord(last);
            for (const End& end : ends_)
                if (lower >> end.shift == end.word)
                    return true;
            if (longer_.isEmpty())
                return false;
        }
    }
    // The last "." lies no further from the end than the longest extension, or none fits.
    const qsizetype nearest = std::max<qsizetype>(0, text.size() - 1 - longest_);
    qsizetype dot = text.size() - 1;
    while (dot >= nearest && text[dot] != '.')
        --dot;
    return dot >= nearest && has(text.sliced(dot + 1));
}

bool TrackTypes::has(QByteArrayView extension) const {
    for (const End& end : ends_) {
        char lower[8];
        qToLittleEndian(end.word, lower);
        if (extension.size() == 7 - end.shift / 8 &&
            sameLower(extension, QByteArrayView(lower + 1, extension.size())))
            return true;
    }
    for (const QByteArray& type : longer_)
        if (extension.size() == type.size() && sameLower(extension, type))
            return true;
    return false;
}

LineShape ShapeOf(QByteArrayView line, const TrackTypes& types) {
    if (line.isEmpty() || line.front() == '#' || line.size() > kMaxTrackLine)
        return {};
    const bool spaced = line.front() == ' ' || line.back() == ' ';
    const QByteArrayView text = spaced ? TrimSpaces(line) : line;
    if (text.isEmpty() || text.front() == '#' || !types.endIn(text))
        return {};
    std::optional<LineShape> shape = text.size() >= 8 ? shapeByWords(text) : std::nullopt;
    if (!shape)
        shape = shapeByBytes(text);
    shape->plain = shape->plain && !spaced;
    return *shape;
}

bool ContinuesRun(QByteArrayView line, QByteArrayView run, const TrackTypes& types) {
    const qsizetype skip = run.isNull() ? 0 : run.size() + 1;
    const qsizetype size = line.size() - skip; // the name's
    if (size < 8 || line.size() > kMaxTrackLine || line.back() == ' ')
        return false;
    if (run.isNull() ? line.front() == ' ' || line.front() == '#'
                     : line[run.size()] != '/' ||
                           std::memcmp(line.data(), run.data(), size_t(run.size())) != 0)
        return false;
    // The run's folder part was plain: the name must be too, and hold no "/".
    const char* name = line.data() + skip;
    const auto unusualInName = [](quint64 word) { return unusual(word) | anyByte(word, '/'); };
    for (qsizetype at = 0; at + 8 <= size; at += 8)
        if (unusualInName(wordAt(name + at)))
            return false;
    if (size % 8 != 0 && unusualInName(wordAt(name + size - 8)))
        return false;
    return types.endIn(line);
}

} // namespace velmor::m3u
