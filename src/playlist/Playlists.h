#pragma once

#include "common/Decks.h"
#include "playlist/DeckPlaylist.h"

#include <Qt>
#include <array>
#include <memory>
#include <optional>

namespace velmor {

struct WindowContext;
class DeckActivation;

// Each deck's playlist, which the deck's list box shows: playing, cueing and deleting
// entries. The playlists exist from construction; wire() makes the list boxes their views.
class Playlists {
public:
    Playlists(WindowContext& window, DeckActivation& activation);
    ~Playlists();
    void wire();

    DeckPlaylist& list(int d) { return *lists_[d]; }

    // Stops the deck without moving it on, then opens the clicked entry and plays it; when
    // it will not play, the next playable entry after it plays instead.
    void lstPlay_DblClick(int d);
    // The right button cues an entry: its press stops the deck, its release loads the
    // entry clicked last, without playing it.
    void lstPlay_MouseDown(int d, Qt::MouseButton button);
    void lstPlay_MouseUp(int d, Qt::MouseButton button);
    void lstPlay_KeyDown(int d, int key);
    void cmdBorrar_Click();
    void cmdBorrarTodo_Click();

private:
    // Opens the list's current entry in deck d's player, or the first playable one after it,
    // and makes it the deck's track. Returns the entry that opened.
    std::optional<int> openCurrentEntry(int d);
    WindowContext& w_;
    DeckActivation& activation_;
    std::array<std::unique_ptr<DeckPlaylist>, kDecks> lists_;
};

} // namespace velmor
