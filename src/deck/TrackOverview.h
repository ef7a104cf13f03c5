#pragma once

#include "common/Controls.h"

#include <QObject>

#include <vector>

namespace velmor {

class Deck;
class KnownTracks;
class TrackAnalyser;

// A deck's track overview over its position bars: worked out when a file opens and shown
// once it is there; the played part follows the display timer, a click goes to the place
// clicked as the position slider does, the cue point every stop rewinds to is marked, and in
// the last seconds of a playing track the overview and the remaining time turn the warning
// colour.
class TrackOverview : public QObject {
public:
    // `analyser` works out the overviews of every deck and `known` keeps what it found;
    // `display` is the window's frame timer. A window that shows no overviews (a benchmark's
    // plain window) is not `enabled`.
    TrackOverview(Deck& deck, const Controls& ui, TrackAnalyser& analyser, const KnownTracks& known,
                  bool enabled);

    void pla_OpenStateChange();
    void ovwTrack_Click(double share);
    void txtSet_Change();
    // A frame of the display: the played part and the end-of-track warning.
    void refresh();

private:
    void scanned(const std::vector<float>& peaks);
    void setWarning(bool warning);
    void showSound();

    Deck& deck_;
    const DeckControls c_;
    TrackAnalyser& analyser_;
    const KnownTracks& known_;
    const bool enabled_;
    bool warned_ = false;
};

} // namespace velmor
