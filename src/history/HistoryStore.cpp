#include "history/HistoryStore.h"

#include "legacy/Error.h"

#include <QDir>
#include <QFileInfo>

namespace velmor {

namespace {

const char* const kCreate = "CREATE TABLE IF NOT EXISTS history("
                            "id INTEGER PRIMARY KEY, evening TEXT NOT NULL, "
                            "start TEXT NOT NULL, stop TEXT NOT NULL, deck INTEGER NOT NULL, "
                            "artist TEXT NOT NULL, title TEXT NOT NULL, path TEXT NOT NULL, "
                            "played_to_end INTEGER NOT NULL);"
                            "CREATE INDEX IF NOT EXISTS history_evening ON history(evening);";

QString Utc(const QDateTime& time) {
    return time.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

QDateTime Local(const QString& utc) {
    return QDateTime::fromString(utc + 'Z', Qt::ISODate).toLocalTime();
}

} // namespace

HistoryStore::HistoryStore(const QString& file, const QDateTime& evening)
    : file_(file), evening_(Utc(evening)) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    if (!db_.open(file, 5000) || !db_.exec(QStringLiteral("PRAGMA journal_mode=WAL;")) ||
        !db_.exec(QString::fromLatin1(kCreate)))
        fail("opened");
}

HistoryStore::~HistoryStore() = default;

void HistoryStore::fail(const QString& what) const {
    throw Error("The history in " + QDir::toNativeSeparators(file_) + " could not be " + what +
                ": " + db_.error() + ".");
}

sqlite::Statement HistoryStore::prepare(const char* sql, const char* what) const {
    sqlite::Statement statement = db_.prepare(QString::fromLatin1(sql));
    if (!statement.valid())
        fail(what);
    return statement;
}

void HistoryStore::add(const PlayedTrack& track) {
    sqlite::Statement insert =
        prepare("INSERT INTO history(evening, start, stop, deck, artist, title, path, "
                "played_to_end) VALUES(?, ?, ?, ?, ?, ?, ?, ?)",
                "written");
    insert.bind(1, evening_);
    insert.bind(2, Utc(track.start));
    insert.bind(3, Utc(track.stop));
    insert.bind(4, qint64{track.deck});
    insert.bind(5, track.artist);
    insert.bind(6, track.title);
    insert.bind(7, track.path);
    insert.bind(8, qint64{track.playedToEnd ? 1 : 0});
    if (!insert.run())
        fail("written");
}

QList<Evening> HistoryStore::evenings() const {
    sqlite::Statement select =
        prepare("SELECT evening, COUNT(*) FROM history GROUP BY evening ORDER BY evening", "read");
    QList<Evening> evenings;
    while (select.step())
        evenings.append({select.text(0), Local(select.text(0)), int(select.integer(1))});
    if (select.failed())
        fail("read");
    return evenings;
}

QList<PlayedTrack> HistoryStore::tracks(const QString& evening) const {
    sqlite::Statement select = prepare("SELECT start, stop, deck, artist, title, path, "
                                       "played_to_end FROM history WHERE evening = ? "
                                       "ORDER BY start, id",
                                       "read");
    select.bind(1, evening);
    QList<PlayedTrack> tracks;
    while (select.step())
        tracks.append({Local(select.text(0)), Local(select.text(1)), int(select.integer(2)),
                       select.text(3), select.text(4), select.text(5), select.integer(6) != 0});
    if (select.failed())
        fail("read");
    return tracks;
}

} // namespace velmor
