// libFuzzer target for the playlist reader: whatever the bytes, decoding, splitting into lines,
// placing the entries against the list's folder, looking them up and writing them back must
// end cleanly; a file name's bytes must survive the trip through a QString unchanged.

#include "common/FileNames.h"
#include "legacy/Error.h"
#include "playlist/FileUris.h"
#include "playlist/M3u.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

using namespace velmor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    // The first byte chooses how the list is named and where it lies.
    const bool saidUtf8 = data[0] & 1;
    const QString folder = data[0] & 2 ? QStringLiteral("/lists/sub") : QStringLiteral("/");
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    if (FileNameToBytes(FileNameFromBytes(bytes)) != bytes)
        std::abort();

    const QStringList types{"mp3", "wav", "flac", "ogg", "opus", "aiff"};
    QList<Track> tracks;
    for (const ListEntry& entry : ReadM3u(bytes, {folder, saidUtf8, types}).toList()) {
        for (QChar c : entry.track.name + entry.track.folder)
            if (c == u'\r' || c == u'\n' || c == u'\0')
                std::abort(); // a line end or a NUL inside an entry: the splitting went wrong
        // Something to look up: every other place "exists".
        bool odd = false;
        tracks.append(ResolveEntry(entry, [&](const QString&) { return odd = !odd; }).track);
    }
    try {
        const QByteArray written = WriteM3u(tracks, folder);
        ReadM3u(written, {folder, false, types});
    } catch (const Error&) {
    }
    LocalPathsOfUriList(bytes);
    return 0;
}
