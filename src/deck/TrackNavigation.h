#pragma once

namespace velmor {

struct WindowContext;

// The previous-track and next-track buttons of each deck (see Deck::next and Deck::previous).
class TrackNavigation {
public:
    explicit TrackNavigation(WindowContext& window) : w_(window) {}
    // Connects the controls' events to the handlers below.
    void wire();

    void cmdAvanceTema_Click(int d);
    void cmdRetroceso_Click(int d);

private:
    WindowContext& w_;
};

} // namespace velmor
