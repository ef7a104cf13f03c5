#pragma once

#include <QString>

namespace velmor {

// What is typed into the library's search box, as a full-text MATCH expression: every word a
// prefix, all of them required, in any order and any field ("beat mich" is `"beat"* "mich"*`).
// What the typed text holds of the search syntax is plain text: each word is quoted, its
// quotes doubled, so that AND, NEAR, a colon or a star are words like any other. A word with
// no letter or digit (a dash, an ampersand) is left out; empty when no word is left. Case and
// accents are the index's business.
QString SearchExpression(const QString& typed);

} // namespace velmor
