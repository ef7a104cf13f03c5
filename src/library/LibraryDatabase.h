#pragma once

#include "library/Sqlite.h"

#include <QString>

namespace velmor {

// The music library's database file: its tracks and the search index over their artist,
// title, album and file name. Other tables in the same file (the evening's history) belong
// to others and are left as they are.
//
// Opening never fails the start: a file that is not a database, fails SQLite's quick check
// or was written by a newer Velmor is renamed aside and a fresh one made, and a file that
// cannot be made at all gives way to a library in memory. `notice()` then says what happened,
// for the window to show.
class LibraryDatabase {
public:
    static constexpr int kSchemaVersion = 1;
    static constexpr int kBusyTimeoutMs = 5000;

    // $XDG_DATA_HOME/velmor/library.sqlite
    static QString DefaultPath();

    // A full check looks the whole file over (the window's opening at start); a quick one
    // only opens it and makes its tables where they are not (a worker's second connection).
    enum class Check { Full, Quick };
    explicit LibraryDatabase(QString path, Check check = Check::Full);

    const QString& path() const { return path_; }
    // What the opening had to do, in a sentence for the window; empty when all was well.
    const QString& notice() const { return notice_; }
    // False only where the worker's quick opening could not use the file.
    bool isOpen() const { return connection_.isOpen(); }
    sqlite::Connection& connection() { return connection_; }

private:
    enum class Problem { None, Damaged, Newer, Unwritable };
    Problem open(Check check);
    bool makeTables();
    QString setAside(const QString& kind);

    QString path_;
    QString notice_;
    sqlite::Connection connection_;
};

} // namespace velmor
