#include "common/FileNames.h"

#include <cstring>

namespace velmor {

namespace {
constexpr char16_t kEscapeBase = 0xDC00; // + the byte, for bytes 0x80..0xFF

bool isEscape(char16_t c) {
    return c >= 0xDC80 && c <= 0xDCFF;
}

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at `p` (end at `end`), 0 when it is not one.
int sequenceLength(const unsigned char* p, const unsigned char* end, char32_t& code) {
    const unsigned char lead = p[0];
    int length;
    char32_t min;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (end - p < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if (!isContinuation(p[i]))
            return 0;
        code = (code << 6) | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF are no valid UTF-8.
    if (code < min || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return length;
}

// Skips the leading ASCII bytes eight at a time.
const unsigned char* skipAscii(const unsigned char* p, const unsigned char* end) {
    while (end - p >= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ULL)
            break;
        p += 8;
    }
    while (p < end && *p < 0x80)
        ++p;
    return p;
}

void appendUtf8(QByteArray& out, char32_t code) {
    if (code < 0x80) {
        out.append(char(code));
    } else if (code < 0x800) {
        out.append(char(0xC0 | (code >> 6)));
        out.append(char(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.append(char(0xE0 | (code >> 12)));
        out.append(char(0x80 | ((code >> 6) & 0x3F)));
        out.append(char(0x80 | (code & 0x3F)));
    } else {
        out.append(char(0xF0 | (code >> 18)));
        out.append(char(0x80 | ((code >> 12) & 0x3F)));
        out.append(char(0x80 | ((code >> 6) & 0x3F)));
        out.append(char(0x80 | (code & 0x3F)));
    }
}

bool hasSurrogate(QStringView name) {
    for (QChar c : name)
        if (c.isSurrogate())
            return true;
    return false;
}
} // namespace

bool IsValidUtf8(QByteArrayView bytes) {
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto end = p + bytes.size();
    while ((p = skipAscii(p, end)) < end) {
        char32_t code;
        const int length = sequenceLength(p, end, code);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}

QString FileNameFromBytes(QByteArrayView bytes) {
    // (QString::fromUtf8 would drop a leading byte-order mark, which is part of a name.)
    if (IsValidUtf8(bytes) && !bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes);
    QString name;
    name.reserve(bytes.size());
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto end = p + bytes.size();
    while (p < end) {
        char32_t code;
        const int length = sequenceLength(p, end, code);
        if (length == 0) {
            name.append(QChar(char16_t(kEscapeBase + *p)));
            ++p;
            continue;
        }
        if (code >= 0x10000) {
            name.append(QChar(QChar::highSurrogate(code)));
            name.append(QChar(QChar::lowSurrogate(code)));
        } else {
            name.append(QChar(char16_t(code)));
        }
        p += length;
    }
    return name;
}

QByteArray FileNameToBytes(QStringView name) {
    if (!hasSurrogate(name))
        return name.toUtf8();
    QByteArray out;
    out.reserve(name.size() * 3);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            appendUtf8(out, QChar::surrogateToUcs4(c, name[i + 1].unicode()));
            ++i;
        } else if (isEscape(c)) {
            out.append(char(c - kEscapeBase));
        } else if (QChar::isSurrogate(c)) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

QString DisplayName(const QString& name) {
    return hasSurrogate(name) ? DisplayName(QStringView(name)) : name;
}

bool IsFileNameEncodable(QStringView name) {
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name[i + 1].isLowSurrogate())
            ++i;
        else if (QChar::isSurrogate(c) && !isEscape(c))
            return false;
    }
    return true;
}

QString DisplayName(QStringView name) {
    QString shown = name.toString();
    if (!hasSurrogate(name))
        return shown;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i].isHighSurrogate() && i + 1 < shown.size() && shown[i + 1].isLowSurrogate())
            ++i;
        else if (shown[i].isSurrogate())
            shown[i] = QChar::ReplacementCharacter;
    }
    return shown;
}

QString FromWindows1252(QByteArrayView bytes) {
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        *out++ = QChar(c >= 0x80 && c < 0xA0 ? high[c - 0x80] : char16_t(c));
    }
    return text;
}

} // namespace velmor
