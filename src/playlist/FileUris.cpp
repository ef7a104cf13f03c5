#include "playlist/FileUris.h"

#include "common/FileNames.h"

namespace velmor {

namespace {
int hexValue(char16_t c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
} // namespace

QString LocalPathOfUri(QStringView uri) {
    static const QString scheme = QStringLiteral("file://");
    if (!uri.startsWith(scheme, Qt::CaseInsensitive))
        return {};
    QStringView rest = uri.sliced(scheme.size());
    const qsizetype slash = rest.indexOf(u'/');
    if (slash < 0)
        return {};
    const QStringView host = rest.first(slash);
    if (!host.isEmpty() && host.compare(u"localhost", Qt::CaseInsensitive) != 0)
        return {};
    rest = rest.sliced(slash);
    // A query or fragment is no part of a file's name.
    for (qsizetype i = 0; i < rest.size(); ++i)
        if (rest[i] == u'?' || rest[i] == u'#') {
            rest = rest.first(i);
            break;
        }
    QByteArray bytes;
    bytes.reserve(rest.size());
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const char16_t c = rest[i].unicode();
        const int high = c == u'%' && i + 2 < rest.size() ? hexValue(rest[i + 1].unicode()) : -1;
        const int low = high >= 0 ? hexValue(rest[i + 2].unicode()) : -1;
        if (low >= 0) {
            bytes.append(char(high * 16 + low));
            i += 2;
        } else if (c < 0x80) {
            bytes.append(char(c));
        } else {
            const qsizetype units = rest[i].isHighSurrogate() && i + 1 < rest.size() ? 2 : 1;
            bytes.append(FileNameToBytes(rest.sliced(i, units)));
            i += units - 1;
        }
    }
    // No file name holds a NUL, and one with a line end in it could not stand in a playlist.
    if (bytes.contains('\0') || bytes.contains('\r') || bytes.contains('\n'))
        return {};
    return FileNameFromBytes(bytes);
}

QStringList LocalPathsOfUriList(QByteArrayView list) {
    QStringList paths;
    const QString text = FileNameFromBytes(list);
    for (QStringView line : QStringView(text).split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QString path = LocalPathOfUri(line);
        if (!path.isNull())
            paths.append(path);
    }
    return paths;
}

} // namespace velmor
