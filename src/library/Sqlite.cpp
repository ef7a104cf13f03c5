#include "library/Sqlite.h"

#include "common/FileNames.h"

#include <sqlite3.h>
#include <utility>

namespace velmor::sqlite {

Statement::Statement(Statement&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)), failed_(other.failed_) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        statement_ = std::exchange(other.statement_, nullptr);
        failed_ = other.failed_;
    }
    return *this;
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

void Statement::bind(int index, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    sqlite3_bind_text(statement_, index, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
}

void Statement::bind(int index, qint64 number) {
    sqlite3_bind_int64(statement_, index, number);
}

void Statement::bind(int index, std::optional<double> number) {
    if (number)
        sqlite3_bind_double(statement_, index, *number);
    else
        sqlite3_bind_null(statement_, index);
}

bool Statement::step() {
    const int result = sqlite3_step(statement_);
    failed_ = result != SQLITE_ROW && result != SQLITE_DONE;
    return result == SQLITE_ROW;
}

bool Statement::run() {
    step();
    const bool done = !failed_;
    reset();
    return done;
}

void Statement::reset() {
    sqlite3_reset(statement_);
}

QString Statement::text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
    return QString::fromUtf8(bytes, sqlite3_column_bytes(statement_, column));
}

qint64 Statement::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::optional<double> Statement::number(int column) const {
    if (sqlite3_column_type(statement_, column) == SQLITE_NULL)
        return std::nullopt;
    return sqlite3_column_double(statement_, column);
}

Connection::Connection(Connection&& other) noexcept : db_(std::exchange(other.db_, nullptr)) {}

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        close();
        db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
}

Connection::~Connection() {
    close();
}

bool Connection::open(const QString& path, int busyTimeoutMs) {
    close();
    const QByteArray name = FileNameToBytes(path);
    const int result = sqlite3_open_v2(name.constData(), &db_,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (result != SQLITE_OK)
        return false; // the handle stays for error(); close() lets it go
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    sqlite3_extended_result_codes(db_, 0);
    return true;
}

void Connection::close() {
    sqlite3_close_v2(std::exchange(db_, nullptr));
}

bool Connection::exec(const QString& sql) {
    return sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

Statement Connection::prepare(const QString& sql) {
    const QByteArray bytes = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(db_, bytes.constData(), int(bytes.size()), SQLITE_PREPARE_PERSISTENT,
                           &statement, nullptr) != SQLITE_OK)
        return {};
    return Statement(statement);
}

qint64 Connection::integer(const QString& sql) {
    Statement statement = prepare(sql);
    if (!statement.valid() || !statement.step())
        return 0;
    return statement.integer(0);
}

qint64 Connection::lastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

QString Connection::error() const {
    return db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("out of memory");
}

int Connection::errorCode() const {
    return db_ ? sqlite3_errcode(db_) : SQLITE_NOMEM;
}

Transaction::Transaction(Connection& connection) : connection_(connection) {
    begun_ = connection_.exec(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction() {
    if (begun_)
        connection_.exec(QStringLiteral("ROLLBACK"));
}

bool Transaction::commit() {
    if (!begun_ || !connection_.exec(QStringLiteral("COMMIT")))
        return false;
    begun_ = false;
    return true;
}

} // namespace velmor::sqlite
