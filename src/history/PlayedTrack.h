#pragma once

#include <QDateTime>
#include <QString>

namespace velmor {

// One track of the evening's history: a track that sounded on the main output long enough to
// count as played.
struct PlayedTrack {
    QDateTime start; // when it began to play
    QDateTime stop;  // when it stopped, ended, was replaced or the program closed
    int deck = 1;    // 1 for Deck 1
    QString artist;  // "" when its tags name none
    QString title;
    QString path;
    bool playedToEnd = false; // the deck ended it by reaching its end
};

} // namespace velmor
