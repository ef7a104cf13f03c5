#pragma once

#include "common/Decks.h"
#include "deck/player/OverviewScanner.h"

#include <array>

namespace velmor {

struct WindowContext;

// Each deck's track overview over its position bars: worked out when a file opens and shown
// once it is there; the played part follows the display timer, a click goes to the place
// clicked as the position slider does, the cue point every stop rewinds to is marked, and in
// the last seconds of a playing track the overview and the remaining time turn the warning
// colour.
class TrackOverview {
public:
    explicit TrackOverview(WindowContext& window) : w_(window) {}
    void wire();
    // False for a window that shows no overviews (a benchmark's plain window).
    void setEnabled(bool enabled) { enabled_ = enabled; }

    void pla_OpenStateChange(int d);
    void scanned(int d, const std::vector<float>& peaks);
    void ovwTrack_Click(int d, double share);
    void txtSet_Change(int d);
    // A frame of the display: the played part and the end-of-track warning.
    void refresh(int d);

    OverviewScanner& scanner() { return scanner_; }

private:
    void setWarning(int d, bool warning);
    WindowContext& w_;
    OverviewScanner scanner_;
    std::array<bool, kDecks> warned_{};
    bool enabled_ = true;
};

} // namespace velmor
