#pragma once

#include <cstdint>

namespace velmor {

struct WindowContext;

// The deck volumes the crossfader gives its pair at one slider position (0..100): deck A,
// the active deck, plays at min(100, 200 - 2c) per cent of its own setting, deck B, the
// deck after it, at min(100, 2c) per cent of its own; each rounded half to even.
struct CrossfadeVolumes {
    int16_t a;
    int16_t b;
};
CrossfadeVolumes CrossfadeVolumesAt(int32_t position, int32_t volumeA, int32_t volumeB);

// The deck after `deck`, Deck 1 following Deck 4.
int NextDeck(int deck);

// The crossfader between the active deck and the deck after it. It keeps no state: every
// movement writes both players' levels afresh, and whatever writes a level later wins.
class Crossfader {
public:
    explicit Crossfader(WindowContext& window) : w_(window) {}
    // Connects the controls' events to the handlers below.
    void wire();

    void cross_Change();
    void cross_Scroll() { cross_Change(); }
    void cross_MouseMove();

private:
    WindowContext& w_;
};

} // namespace velmor
