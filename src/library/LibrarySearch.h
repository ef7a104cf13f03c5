#pragma once

#include "library/Sqlite.h"

#include <QString>
#include <optional>
#include <vector>

namespace velmor {

// One track as the library's results show it.
struct LibraryRow {
    qint64 id = 0;
    QString path;
    QString name; // the file name without its extension, for a track without a title
    QString artist;
    QString title;
    QString album;
    std::optional<double> seconds;
    std::optional<double> bpm;
    bool missing = false; // its music folder is not there now
    bool operator==(const LibraryRow&) const = default;
};

// Search as you type over the library's tracks, on the window's thread. The statements are
// prepared once: a keystroke costs the query and nothing more.
class LibrarySearch {
public:
    static constexpr int kLimit = 500;

    explicit LibrarySearch(sqlite::Connection& connection);

    // The tracks whose artist, title, album or file name hold a word beginning with each word
    // typed, best match first, then by artist and title. Nothing typed (or nothing searchable)
    // lists the whole library by artist and title, so that the window opens on something.
    std::vector<LibraryRow> search(const QString& typed, int limit = kLimit);

private:
    std::vector<LibraryRow> rows(sqlite::Statement& statement);

    sqlite::Statement matching_;
    sqlite::Statement everything_;
};

} // namespace velmor
