#include "library/LibrarySearch.h"

#include "library/SearchExpression.h"

namespace velmor {

namespace {

const QString kColumns = QStringLiteral(
    "SELECT t.id, t.path, t.name, t.artist, t.title, t.album, t.seconds, t.bpm, t.missing ");

} // namespace

LibrarySearch::LibrarySearch(sqlite::Connection& connection)
    : matching_(connection.prepare(
          kColumns +
          QStringLiteral("FROM tracks_search JOIN tracks t ON t.id = tracks_search.rowid "
                         "WHERE tracks_search MATCH ?1 ORDER BY tracks_search.rank, "
                         "t.artist COLLATE NOCASE, t.title COLLATE NOCASE LIMIT ?2"))),
      everything_(connection.prepare(
          kColumns + QStringLiteral("FROM tracks t ORDER BY t.artist COLLATE NOCASE, "
                                    "t.title COLLATE NOCASE LIMIT ?2"))) {}

std::vector<LibraryRow> LibrarySearch::search(const QString& typed, int limit) {
    const QString expression = SearchExpression(typed);
    sqlite::Statement& statement = expression.isEmpty() ? everything_ : matching_;
    if (!statement.valid())
        return {};
    if (!expression.isEmpty())
        statement.bind(1, expression);
    statement.bind(2, qint64(limit));
    return rows(statement);
}

std::vector<LibraryRow> LibrarySearch::rows(sqlite::Statement& statement) {
    std::vector<LibraryRow> found;
    while (statement.step())
        found.push_back({statement.integer(0), statement.text(1), statement.text(2),
                         statement.text(3), statement.text(4), statement.text(5),
                         statement.number(6), statement.number(7), statement.integer(8) != 0});
    statement.reset();
    return found;
}

} // namespace velmor
