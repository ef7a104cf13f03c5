#include "playlist/Playlists.h"

#include "app/Main.h"

namespace velmor {

Playlists::Playlists(Main& window) : w_(window) {}
Playlists::~Playlists() = default;

void Playlists::wire() {
    for (int d = 0; d < kDecks; ++d)
        lists_[d] = std::make_unique<DeckPlaylist>(w_.ui.lstPlay[d]);
}

} // namespace velmor
