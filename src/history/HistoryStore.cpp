#include "history/HistoryStore.h"

#include "legacy/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <sqlite3.h>

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

QDateTime Local(const unsigned char* text) {
    const QString utc = QString::fromUtf8(reinterpret_cast<const char*>(text)) + 'Z';
    return QDateTime::fromString(utc, Qt::ISODate).toLocalTime();
}

QString Text(sqlite3_stmt* statement, int column) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
}

// A prepared statement, finalized when it goes.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK)
            throw Error(sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bind(int i, const QString& text) {
        const QByteArray utf8 = text.toUtf8();
        check(
            sqlite3_bind_text(statement_, i, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
    }
    void bind(int i, int number) { check(sqlite3_bind_int(statement_, i, number)); }
    // True while there is a row to read.
    bool step() {
        const int result = sqlite3_step(statement_);
        if (result == SQLITE_ROW)
            return true;
        if (result != SQLITE_DONE)
            throw Error(sqlite3_errmsg(db_));
        return false;
    }
    sqlite3_stmt* get() const { return statement_; }

private:
    void check(int result) const {
        if (result != SQLITE_OK)
            throw Error(sqlite3_errmsg(db_));
    }
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

} // namespace

void HistoryStore::Closer::operator()(sqlite3* db) const {
    sqlite3_close(db);
}

HistoryStore::HistoryStore(const QString& file, const QDateTime& evening)
    : file_(file), evening_(Utc(evening)) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    sqlite3* db = nullptr;
    const int opened = sqlite3_open_v2(QFile::encodeName(file).constData(), &db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    db_.reset(db); // closed even when the open failed
    if (opened != SQLITE_OK)
        fail("opened");
    sqlite3_busy_timeout(db, 5000);
    run("PRAGMA journal_mode=WAL;");
    run(kCreate);
}

HistoryStore::~HistoryStore() = default;

void HistoryStore::fail(const QString& what) const {
    throw Error("The history in " + QDir::toNativeSeparators(file_) + " could not be " + what +
                ": " + QString::fromUtf8(sqlite3_errmsg(db_.get())) + ".");
}

void HistoryStore::run(const char* sql) {
    if (sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail("opened");
}

void HistoryStore::add(const PlayedTrack& track) {
    try {
        Statement insert(db_.get(),
                         "INSERT INTO history(evening, start, stop, deck, artist, title, path, "
                         "played_to_end) VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
        insert.bind(1, evening_);
        insert.bind(2, Utc(track.start));
        insert.bind(3, Utc(track.stop));
        insert.bind(4, track.deck);
        insert.bind(5, track.artist);
        insert.bind(6, track.title);
        insert.bind(7, track.path);
        insert.bind(8, track.playedToEnd ? 1 : 0);
        insert.step();
    } catch (const Error&) {
        fail("written");
    }
}

QList<Evening> HistoryStore::evenings() const {
    QList<Evening> evenings;
    try {
        Statement select(db_.get(), "SELECT evening, COUNT(*) FROM history GROUP BY evening "
                                    "ORDER BY evening");
        while (select.step()) {
            const QString id = Text(select.get(), 0);
            evenings.append({id, Local(sqlite3_column_text(select.get(), 0)),
                             sqlite3_column_int(select.get(), 1)});
        }
    } catch (const Error&) {
        fail("read");
    }
    return evenings;
}

QList<PlayedTrack> HistoryStore::tracks(const QString& evening) const {
    QList<PlayedTrack> tracks;
    try {
        Statement select(db_.get(), "SELECT start, stop, deck, artist, title, path, played_to_end "
                                    "FROM history WHERE evening = ? ORDER BY start, id");
        select.bind(1, evening);
        while (select.step()) {
            sqlite3_stmt* row = select.get();
            tracks.append({Local(sqlite3_column_text(row, 0)), Local(sqlite3_column_text(row, 1)),
                           sqlite3_column_int(row, 2), Text(row, 3), Text(row, 4), Text(row, 5),
                           sqlite3_column_int(row, 6) != 0});
        }
    } catch (const Error&) {
        fail("read");
    }
    return tracks;
}

} // namespace velmor
