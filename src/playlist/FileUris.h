#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace velmor {

// The local path a file URI names ("file:///music/a%20b.mp3" is "/music/a b.mp3"); a null
// string for anything else (another scheme, another host, a name with a line end or a NUL
// in it). Percent escapes are bytes of the file name, so a name that is not UTF-8 comes
// through whole.
QString LocalPathOfUri(QStringView uri);

// The local paths of a text/uri-list (what a file manager drags), in its order; comment
// lines and URIs of other kinds are left out.
QStringList LocalPathsOfUriList(QByteArrayView list);

} // namespace velmor
