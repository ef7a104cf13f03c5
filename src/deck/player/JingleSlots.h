#pragma once

#include <QString>
#include <QStringList>

namespace velmor {

// The jingle slots kept from one evening to the next: each slot's file, "" for none.

// $XDG_CONFIG_HOME/velmor/jingles.conf, or ~/.config/velmor/jingles.conf without it.
QString JingleSlotsFile();

// What the file holds: a line a slot with a file, its key (F1..F12), a space and the file's
// name byte for byte, percent-encoded (a name may hold any byte but "/" and NUL).
QByteArray JingleSlotsText(const QStringList& files);
// The slots of `text`, `count` of them; lines not understood are counted in `strange`.
QStringList ReadJingleSlotsText(const QByteArray& text, int count, int* strange = nullptr);

// Replaces `file` whole, or leaves it as it was; false when it could not be written.
bool WriteJingleSlots(const QString& file, const QStringList& files);

} // namespace velmor
