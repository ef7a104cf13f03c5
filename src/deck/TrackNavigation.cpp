#include "deck/TrackNavigation.h"

#include "app/Main.h"
#include "common/Numbers.h"
#include "common/Widgets.h"
#include "deck/TrackName.h"

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
        const DeckPlaylist& list = w_.playlists.list(d);
        MediaPlayer& player = *w_.pla[d];
        const int entries = list.count();
        if (entries == 0 || LoadedName(player.FileName()) == list.name(entries - 1))
            return; // the loaded file is the last entry
        const int next = w_.decks.TrackNumber[d];
        // Entries deleted after loading can leave nothing there; then the button does nothing.
        if (next < 0 || next >= entries)
            return;
        if (player.PlayState() == MediaPlayer::Stopped) {
            player.setFileName(list.fullPath(next));
            w_.decks.TrackNumber[d] = Add16(next, 1);
        } else {
            // The player's own Stop: the stop is not the user's, so the deck moves on.
            player.Stop();
        }
    });
}

void TrackNavigation::cmdRetroceso_Click(int d) {
    trapped(w_.reporter, [&] {
        const DeckPlaylist& list = w_.playlists.list(d);
        MediaPlayer& player = *w_.pla[d];
        const int loaded = w_.decks.TrackNumber[d];
        const int previous = loaded - 2;
        // Nothing loaded from the list, or nothing left before the loaded entry.
        if (previous < 0 || previous >= list.count())
            return;
        if (LoadedName(player.FileName()) == list.name(0))
            return; // the loaded file is the first entry
        if (player.PlayState() == MediaPlayer::Stopped) {
            player.setFileName(list.fullPath(previous));
            w_.decks.TrackNumber[d] = Sub16(loaded, 1);
        } else {
            w_.decks.PreviousRequested[d] = true;
            player.Stop();
        }
    });
}

} // namespace velmor
