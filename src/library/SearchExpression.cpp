#include "library/SearchExpression.h"

#include <QStringList>
#include <algorithm>

namespace velmor {

namespace {

bool Searchable(const QString& word) {
    return std::any_of(word.begin(), word.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

} // namespace

QString SearchExpression(const QString& typed) {
    QStringList terms;
    for (const QString& word : typed.simplified().split(QChar(u' '), Qt::SkipEmptyParts)) {
        if (!Searchable(word))
            continue;
        QString quoted = word;
        quoted.replace(QChar(u'"'), QStringLiteral("\"\""));
        terms.append(QChar(u'"') + quoted + QStringLiteral("\"*"));
    }
    return terms.join(QChar(u' '));
}

} // namespace velmor
