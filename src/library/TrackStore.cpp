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

// The tables rows wait in until they are flushed, this connection's own.
bool MakeStaging(sqlite::Connection& connection) {
    return connection.exec(QStringLiteral(
               "CREATE TEMP TABLE IF NOT EXISTS staged (path TEXT, folder TEXT, name TEXT,"
               " size INTEGER, mtime INTEGER, artist TEXT, title TEXT, album TEXT, genre TEXT,"
               " year INTEGER, seconds REAL, loudness REAL, sound_start REAL, sound_end REAL,"
               " bpm REAL)")) &&
           connection.exec(QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS unstaged (id INTEGER)"));
}

} // namespace

TrackStore::TrackStore(sqlite::Connection& connection)
    : connection_(connection), staging_(MakeStaging(connection)),
      known_(
          connection.prepare(QStringLiteral("SELECT path, id, size, mtime, missing FROM tracks"))),
      stage_(connection.prepare(QStringLiteral(
          "INSERT INTO staged VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13,"
          " ?14, ?15)"))),
      stageRemoval_(connection.prepare(QStringLiteral("INSERT INTO unstaged VALUES (?1)"))),
      write_(connection.prepare(QStringLiteral(
          "INSERT INTO tracks (path, folder, name, size, mtime, artist, title, album, genre, year,"
          " seconds, loudness, sound_start, sound_end, bpm, missing)"
          " SELECT *, 0 FROM staged WHERE true"
          " ON CONFLICT (path) DO UPDATE SET folder = excluded.folder, name = excluded.name,"
          " size = excluded.size, mtime = excluded.mtime, artist = excluded.artist,"
          " title = excluded.title, album = excluded.album, genre = excluded.genre,"
          " year = excluded.year, seconds = excluded.seconds, loudness = excluded.loudness,"
          " sound_start = excluded.sound_start, sound_end = excluded.sound_end,"
          " bpm = excluded.bpm, missing = 0"))),
      remove_(connection.prepare(
          QStringLiteral("DELETE FROM tracks WHERE id IN (SELECT id FROM unstaged)"))),
      clear_(connection.prepare(QStringLiteral("DELETE FROM staged"))),
      missing_(connection.prepare(QStringLiteral("UPDATE tracks SET missing = ?2 WHERE id = ?1"))) {
}

bool TrackStore::valid() const {
    return staging_ && known_.valid() && stage_.valid() && stageRemoval_.valid() &&
           write_.valid() && remove_.valid() && clear_.valid() && missing_.valid();
}

QHash<QString, KnownFile> TrackStore::knownFiles() {
    QHash<QString, KnownFile> known;
    while (known_.step())
        known.insert(known_.text(0), {known_.integer(1), known_.integer(2), known_.integer(3),
                                      known_.integer(4) != 0});
    known_.reset();
    return known;
}

bool TrackStore::stage(const TrackRecord& record) {
    const Track place = SplitPath(record.path);
    const TrackTags& tags = record.tagged.tags;
    stage_.bind(1, record.path);
    stage_.bind(2, place.folder);
    stage_.bind(3, QFileInfo(place.name).completeBaseName());
    stage_.bind(4, record.size);
    stage_.bind(5, record.modifiedMs);
    stage_.bind(6, tags.artist);
    stage_.bind(7, tags.title);
    stage_.bind(8, tags.album);
    stage_.bind(9, tags.genre);
    stage_.bind(10, tags.year > 0 ? std::optional<double>(tags.year) : std::nullopt);
    stage_.bind(11, LengthOf(record));
    // A measured loudness is better than the one the gain tags imply.
    stage_.bind(12, record.facts.loudness ? record.facts.loudness : tags.taggedLoudness);
    stage_.bind(13, record.facts.soundStart);
    stage_.bind(14, record.facts.soundEnd);
    stage_.bind(15, record.facts.bpm);
    return stage_.run();
}

bool TrackStore::stageRemoval(qint64 id) {
    stageRemoval_.bind(1, id);
    return stageRemoval_.run();
}

bool TrackStore::flush() {
    return write_.run() && remove_.run() && clear_.run() &&
           connection_.exec(QStringLiteral("DELETE FROM unstaged"));
}

bool TrackStore::markMissing(qint64 id, bool missing) {
    missing_.bind(1, id);
    missing_.bind(2, qint64(missing ? 1 : 0));
    return missing_.run();
}

qint64 TrackStore::count() {
    return connection_.integer(QStringLiteral("SELECT count(*) FROM tracks"));
}

} // namespace velmor
