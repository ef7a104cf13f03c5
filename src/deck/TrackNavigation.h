#pragma once

namespace velmor {

class Main;
class MediaPlayer;

// The previous-track and next-track buttons of each deck. A stopped deck only loads the
// neighbouring entry; a playing or paused one is stopped through its player, and the
// stopped notification loads and plays the neighbour. Entries that cannot be played are
// stepped over: the neighbour is the nearest playable entry that way.
class TrackNavigation {
public:
    explicit TrackNavigation(Main& window) : w_(window) {}
    // Connects the controls' events to the handlers below.
    void wire();

    void cmdAvanceTema_Click(int d);
    void cmdRetroceso_Click(int d);

private:
    static bool loadsOnly(const MediaPlayer& player);
    Main& w_;
};

} // namespace velmor
