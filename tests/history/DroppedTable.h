#pragma once

#include <QFile>
#include <QString>
#include <sqlite3.h>

namespace velmor::test {

// Drops the history table of the database at `file` behind its store's back, as a damaged
// file fails the store's writes.
inline void DropHistoryTable(const QString& file) {
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(file).constData(), &db);
    sqlite3_exec(db, "DROP TABLE history", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

} // namespace velmor::test
