#pragma once

#include "deck/DeckState.h"
#include "playlist/DeckPlaylist.h"

#include <array>
#include <memory>

namespace velmor {

class Main;

// Each deck's playlist: playing, cueing and deleting entries.
class Playlists {
public:
    explicit Playlists(Main& window);
    ~Playlists();
    void wire();

    DeckPlaylist& list(int d) { return *lists_[d]; }

private:
    Main& w_;
    std::array<std::unique_ptr<DeckPlaylist>, kDecks> lists_;
};

} // namespace velmor
