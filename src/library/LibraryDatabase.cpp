#include "library/LibraryDatabase.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace velmor {

namespace {

// The tracks' own tables. The search index follows the tracks table through triggers, and
// holds the file name without its extension, so that "mp" does not find every MP3.
const char* const kTables[] = {
    "CREATE TABLE IF NOT EXISTS tracks ("
    " id INTEGER PRIMARY KEY, path TEXT NOT NULL UNIQUE, folder TEXT NOT NULL,"
    " name TEXT NOT NULL, size INTEGER NOT NULL, mtime INTEGER NOT NULL,"
    " artist TEXT NOT NULL DEFAULT '', title TEXT NOT NULL DEFAULT '',"
    " album TEXT NOT NULL DEFAULT '', genre TEXT NOT NULL DEFAULT '', year INTEGER,"
    " seconds REAL, loudness REAL, sound_start REAL, sound_end REAL, bpm REAL,"
    " missing INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX IF NOT EXISTS tracks_by_artist"
    " ON tracks (artist COLLATE NOCASE, title COLLATE NOCASE)",
    "CREATE VIRTUAL TABLE IF NOT EXISTS tracks_search USING fts5 ("
    " artist, title, album, name, content='tracks', content_rowid='id',"
    " tokenize='unicode61 remove_diacritics 2', prefix='1 2 3')",
    "CREATE TRIGGER IF NOT EXISTS tracks_added AFTER INSERT ON tracks BEGIN"
    " INSERT INTO tracks_search (rowid, artist, title, album, name)"
    " VALUES (new.id, new.artist, new.title, new.album, new.name); END",
    "CREATE TRIGGER IF NOT EXISTS tracks_removed AFTER DELETE ON tracks BEGIN"
    " INSERT INTO tracks_search (tracks_search, rowid, artist, title, album, name)"
    " VALUES ('delete', old.id, old.artist, old.title, old.album, old.name); END",
    "CREATE TRIGGER IF NOT EXISTS tracks_changed"
    " AFTER UPDATE OF artist, title, album, name ON tracks BEGIN"
    " INSERT INTO tracks_search (tracks_search, rowid, artist, title, album, name)"
    " VALUES ('delete', old.id, old.artist, old.title, old.album, old.name);"
    " INSERT INTO tracks_search (rowid, artist, title, album, name)"
    " VALUES (new.id, new.artist, new.title, new.album, new.name); END",
};

// What an older library kept is dropped and scanned anew: the files are the truth.
const char* const kOldTables[] = {
    "DROP TRIGGER IF EXISTS tracks_added",   "DROP TRIGGER IF EXISTS tracks_removed",
    "DROP TRIGGER IF EXISTS tracks_changed", "DROP TABLE IF EXISTS tracks_search",
    "DROP TABLE IF EXISTS tracks",
};

} // namespace

QString LibraryDatabase::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/velmor/library.sqlite");
}

LibraryDatabase::LibraryDatabase(QString path, Check check) : path_(std::move(path)) {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    const Problem problem = open(check);
    if (problem == Problem::None || check == Check::Quick) {
        if (problem != Problem::None) {
            const QString why = problem == Problem::Newer
                                    ? QStringLiteral("it was written by a newer Velmor")
                                    : connection_.error();
            notice_ = QStringLiteral("The music library cannot be opened: %1.").arg(why);
            connection_.close();
        }
        return;
    }
    if (problem != Problem::Unwritable) {
        const bool damaged = problem == Problem::Damaged;
        const QString aside =
            setAside(damaged ? QStringLiteral("damaged") : QStringLiteral("newer"));
        notice_ = (damaged ? QStringLiteral("The music library was damaged")
                           : QStringLiteral("The music library was written by a newer Velmor")) +
                  QStringLiteral(" and has been set aside as %1; it is being rebuilt.").arg(aside);
        if (open(check) == Problem::None)
            return;
    }
    const QString why = connection_.error();
    connection_.close();
    notice_ = QStringLiteral("The music library cannot be kept in %1 (%2); it is kept in memory "
                             "until Velmor closes.")
                  .arg(QDir::toNativeSeparators(path_), why);
    connection_.open(QStringLiteral(":memory:"), kBusyTimeoutMs);
    makeTables();
}

LibraryDatabase::Problem LibraryDatabase::open(Check check) {
    if (!connection_.open(path_, kBusyTimeoutMs))
        return QFileInfo::exists(path_) ? Problem::Damaged : Problem::Unwritable;
    // Reading the version is the first look at the file: a file that is no database fails it.
    sqlite::Statement version = connection_.prepare(QStringLiteral("PRAGMA user_version"));
    if (!version.valid() || !version.step())
        return Problem::Damaged;
    const qint64 found = version.integer(0);
    version = {};
    if (check == Check::Full) {
        sqlite::Statement quick = connection_.prepare(QStringLiteral("PRAGMA quick_check"));
        if (!quick.valid() || !quick.step() || quick.text(0) != QLatin1String("ok"))
            return Problem::Damaged;
    }
    if (found > kSchemaVersion)
        return Problem::Newer;
    // In write-ahead mode a commit need not wait for the disk: a power cut may lose the last
    // rows written, never the file, and the files on disk can always be scanned again.
    if (!connection_.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !connection_.exec(QStringLiteral("PRAGMA synchronous=NORMAL")))
        return Problem::Damaged;
    if (found < kSchemaVersion) {
        sqlite::Transaction migration(connection_);
        if (!migration.begun())
            return Problem::Unwritable;
        if (found > 0)
            for (const char* drop : kOldTables)
                if (!connection_.exec(QString::fromLatin1(drop)))
                    return Problem::Damaged;
        if (!makeTables() ||
            !connection_.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion)) ||
            !migration.commit())
            return Problem::Unwritable;
    }
    return Problem::None;
}

bool LibraryDatabase::makeTables() {
    for (const char* table : kTables)
        if (!connection_.exec(QString::fromLatin1(table)))
            return false;
    return true;
}

// Moves the file and its journal aside, under the same new name, and gives that name.
QString LibraryDatabase::setAside(const QString& kind) {
    connection_.close();
    const QString aside =
        path_ + QStringLiteral(".%1-%2").arg(
                    kind, QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QFile::rename(path_, aside);
    for (const QString& journal : {QStringLiteral("-wal"), QStringLiteral("-shm")})
        if (QFile::exists(path_ + journal) && !QFile::rename(path_ + journal, aside + journal))
            QFile::remove(path_ + journal);
    return QFileInfo(aside).fileName();
}

} // namespace velmor
