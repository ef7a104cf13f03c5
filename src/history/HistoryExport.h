#pragma once

#include "history/PlayedTrack.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace velmor {

// One evening's history as the client or the collecting society takes it. Times are written
// as they are given: the store hands them over in local time.

// A header line, then one line per track: start, stop, deck, artist, title, path, played to
// end ("yes"/"no"); fields quoted as RFC 4180 quotes them, lines ending in CR LF.
QByteArray HistoryCsv(const QList<PlayedTrack>& tracks);

// "#EXTM3U", then per track a comment with its start time ("# 21:14:05"), its "#EXTINF:"
// line with the seconds it played and "<Artist> - <Title>" (the title alone without an
// artist), and its path; UTF-8, lines ending in LF.
QByteArray HistoryM3u8(const QList<PlayedTrack>& tracks);

// Writes `text` to `fileName` whole or not at all; throws velmor::Error saying why not.
void WriteExport(const QString& fileName, const QByteArray& text);

} // namespace velmor
