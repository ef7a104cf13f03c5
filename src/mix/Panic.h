#pragma once

#include "common/Decks.h"

#include <QTimer>
#include <array>
#include <cstdint>
#include <optional>

namespace velmor {

class Fades;
class JingleBank;
struct WindowContext;

// The level, in hundredths of a decibel, `elapsedMs` into the panic's fade of a player that
// stood at `from`: a straight line in decibels down to the bottom of the volume law, which is
// silence, at kPanicFadeMs.
inline constexpr int kPanicFadeMs = 3000;
int32_t PanicLevel(int32_t from, int elapsedMs);

// The panic key: every deck that plays and the jingles fade out together and stop. The decks
// rewind to their cues as at any stop and do not move on, also when a track ends during the
// fade; their own fades are ended. Pressed again during the fade, everything stops at once.
class Panic {
public:
    Panic(WindowContext& window, Fades& fades, JingleBank& jingles);

    void press();
    bool running() const { return timer_.isActive(); }
    // One step of the fade, every fade tick while it runs; the last one stops.
    void tick();

private:
    void finish();

    WindowContext& w_;
    Fades& fades_;
    JingleBank& jingles_;
    QTimer timer_;
    int elapsedMs_ = 0;
    std::array<std::optional<int32_t>, kDecks> decksFrom_; // the decks faded, from their level
    std::optional<int32_t> jinglesFrom_;
};

} // namespace velmor
