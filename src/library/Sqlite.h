#pragma once

#include <QString>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace velmor::sqlite {

// A prepared statement, finalised when it goes. Binds and columns count from 1 and 0 as in
// SQLite itself; a value bound stays until the next bind or reset.
class Statement {
public:
    Statement() = default;
    explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    bool valid() const { return statement_ != nullptr; }
    void bind(int index, const QString& text);
    void bind(int index, qint64 number);
    void bind(int index, std::optional<double> number); // none is NULL
    // The next row: true while there is one; false at the end or on a failure (see `failed`).
    bool step();
    // Done with one row-less statement: true when it did what it says.
    bool run();
    bool failed() const { return failed_; }
    void reset();

    QString text(int column) const;
    qint64 integer(int column) const;
    std::optional<double> number(int column) const; // NULL is none

private:
    sqlite3_stmt* statement_ = nullptr;
    bool failed_ = false;
};

// One connection to a database file, closed when it goes. Every connection waits for the
// others' locks up to a busy timeout, so that two writers take turns rather than fail.
class Connection {
public:
    Connection() = default;
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    // Opens or creates `path`; false with `error()` saying why.
    bool open(const QString& path, int busyTimeoutMs);
    void close();
    bool isOpen() const { return db_ != nullptr; }

    // Runs statements that give no rows; false with `error()` saying why.
    bool exec(const QString& sql);
    // An invalid statement where the text is wrong; `error()` says why.
    Statement prepare(const QString& sql);
    // The first column of the first row, as a number (0 where there is none).
    qint64 integer(const QString& sql);
    qint64 lastInsertId() const;
    QString error() const;
    int errorCode() const;

private:
    sqlite3* db_ = nullptr;
};

// A write transaction begun at once (BEGIN IMMEDIATE, so that a second writer waits for the
// first rather than failing on the way from reading to writing), rolled back unless committed.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool begun() const { return begun_; }
    bool commit();

private:
    Connection& connection_;
    bool begun_ = false;
};

} // namespace velmor::sqlite
