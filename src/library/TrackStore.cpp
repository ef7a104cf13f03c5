#include "library/TrackStore.h"

#include "common/Paths.h"

#include <QFileInfo>

namespace velmor {

namespace {

// The decoded length where the track has been looked at; the headers' otherwise.
std::optional<double> LengthOf(const TrackRecord& record) {
    if (record.facts.lengthSeconds > 0)
        return record.facts.lengthSeconds;
    return record.tagged.seconds;
}

} // namespace

TrackStore::TrackStore(sqlite::Connection& connection)
    : connection_(connection),
      known_(
          connection.prepare(QStringLiteral("SELECT path, id, size, mtime, missing FROM tracks"))),
      write_(connection.prepare(QStringLiteral(
          "INSERT INTO tracks (path, folder, name, size, mtime, artist, title, album, genre, year,"
          " seconds, loudness, sound_start, sound_end, bpm, missing)"
          " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, 0)"
          " ON CONFLICT (path) DO UPDATE SET folder = excluded.folder, name = excluded.name,"
          " size = excluded.size, mtime = excluded.mtime, artist = excluded.artist,"
          " title = excluded.title, album = excluded.album, genre = excluded.genre,"
          " year = excluded.year, seconds = excluded.seconds, loudness = excluded.loudness,"
          " sound_start = excluded.sound_start, sound_end = excluded.sound_end,"
          " bpm = excluded.bpm, missing = 0"))),
      missing_(connection.prepare(QStringLiteral("UPDATE tracks SET missing = ?2 WHERE id = ?1"))),
      remove_(connection.prepare(QStringLiteral("DELETE FROM tracks WHERE id = ?1"))) {}

bool TrackStore::valid() const {
    return known_.valid() && write_.valid() && missing_.valid() && remove_.valid();
}

QHash<QString, KnownFile> TrackStore::knownFiles() {
    QHash<QString, KnownFile> known;
    while (known_.step())
        known.insert(known_.text(0), {known_.integer(1), known_.integer(2), known_.integer(3),
                                      known_.integer(4) != 0});
    known_.reset();
    return known;
}

bool TrackStore::write(const TrackRecord& record) {
    const Track place = SplitPath(record.path);
    const TrackTags& tags = record.tagged.tags;
    write_.bind(1, record.path);
    write_.bind(2, place.folder);
    write_.bind(3, QFileInfo(place.name).completeBaseName());
    write_.bind(4, record.size);
    write_.bind(5, record.modifiedMs);
    write_.bind(6, tags.artist);
    write_.bind(7, tags.title);
    write_.bind(8, tags.album);
    write_.bind(9, tags.genre);
    write_.bind(10, tags.year > 0 ? std::optional<double>(tags.year) : std::nullopt);
    write_.bind(11, LengthOf(record));
    // A measured loudness is better than the one the gain tags imply.
    write_.bind(12, record.facts.loudness ? record.facts.loudness : tags.taggedLoudness);
    write_.bind(13, record.facts.soundStart);
    write_.bind(14, record.facts.soundEnd);
    write_.bind(15, record.facts.bpm);
    return write_.run();
}

bool TrackStore::markMissing(qint64 id, bool missing) {
    missing_.bind(1, id);
    missing_.bind(2, qint64(missing ? 1 : 0));
    return missing_.run();
}

bool TrackStore::remove(qint64 id) {
    remove_.bind(1, id);
    return remove_.run();
}

qint64 TrackStore::count() {
    return connection_.integer(QStringLiteral("SELECT count(*) FROM tracks"));
}

} // namespace velmor
