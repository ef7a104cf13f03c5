#pragma once

#include <QString>

namespace velmor {

// The loaded file's name: what follows the last folder separator of its path (the whole
// path when it has none). Playlist entries hold exactly such names.
QString LoadedName(const QString& path);

// The title a deck shows: the loaded name without its last four characters (the extension
// and its dot). A name of fewer than four characters has no title and fails.
QString TitleOf(const QString& path);

} // namespace velmor
