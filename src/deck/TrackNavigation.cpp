#include "deck/TrackNavigation.h"

#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/EntryLoader.h"
#include "deck/TrackName.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"

namespace velmor {

void TrackNavigation::wire() {
    for (int d = 0; d < kDecks; ++d) {
        QObject::connect(w_.ui.cmdAvanceTema[d], &QPushButton::clicked,
                         [this, d] { cmdAvanceTema_Click(d); });
        QObject::connect(w_.ui.cmdRetroceso[d], &QPushButton::clicked,
                         [this, d] { cmdRetroceso_Click(d); });
    }
}

void TrackNavigation::cmdAvanceTema_Click(int d) {
    trapped(w_.reporter, [&] {
        const DeckEntries& list = w_.playlists.list(d);
        MediaPlayer& player = *w_.pla[d];
        const int entries = list.count();
        if (entries == 0 || LoadedName(player.FileName()) == list.name(entries - 1))
            return; // the loaded file is the last entry
        const int next = decks_.TrackNumber[d];
        // Nothing there (entries deleted after loading), or nothing there but entries known
        // not to play: the button does nothing, and a playing deck plays on.
        if (!loader_.HasPlayableEntry(d, next, +1))
            return;
        if (loadsOnly(player)) {
            loader_.LoadPlayableEntry(d, next, +1);
        } else {
            // The player's own Stop: the stop is not the user's, so the deck moves on.
            player.Stop();
        }
    });
}

void TrackNavigation::cmdRetroceso_Click(int d) {
    trapped(w_.reporter, [&] {
        const DeckEntries& list = w_.playlists.list(d);
        MediaPlayer& player = *w_.pla[d];
        const int loaded = decks_.TrackNumber[d];
        const int previous = loaded - 2;
        // Nothing loaded from the list, or nothing left before the loaded entry.
        if (previous < 0 || previous >= list.count())
            return;
        if (LoadedName(player.FileName()) == list.name(0))
            return; // the loaded file is the first entry
        if (!loader_.HasPlayableEntry(d, previous, -1))
            return;
        if (loadsOnly(player)) {
            loader_.LoadPlayableEntry(d, previous, -1);
        } else {
            decks_.PreviousRequested[d] = true;
            player.Stop();
        }
    });
}

bool TrackNavigation::loadsOnly(const MediaPlayer& player) {
    // A deck with nothing open (its first entry would not play) loads as a stopped one does;
    // stopping it would report nothing and leave it stuck.
    const int state = player.PlayState();
    return state == MediaPlayer::Stopped || state == MediaPlayer::Closed;
}

} // namespace velmor
