#pragma once

#include "common/Decks.h"

#include <array>
#include <cstdint>

namespace velmor {

struct WindowContext;

// Where one deck's fade stands. Zero and false until the deck's first fade.
struct FadeState {
    int32_t FadeLength = 0; // milliseconds, as read from the panel at the start
    int16_t FadeTick = 0;   // steps applied so far
    float FadeStep = 0;     // player level units per step
    bool FadingOut = false; // the direction chosen at the start
};

// Timed fades of each deck, with their per-deck fade state. Each deck fades on its own
// timer; a fade works on the player's level from wherever it stands at each tick.
class Fades {
public:
    explicit Fades(WindowContext& window) : w_(window) {}
    // Connects the controls' events to the handlers below.
    void wire();

    void cmdFade_Click(int d);
    // Sets up deck d's fade and starts its timer; returns fadeOut (false when it failed).
    bool StartFade(int d, bool fadeOut, int32_t lengthMs, int16_t startVolume, int16_t endVolume);
    void FadeTimer_Timer(int d);
    void chkInOrOut_Click(int d);

    const FadeState& state(int d) const { return state_[d]; }

private:
    void applyStep(int d);
    void endFade(int d);
    void setFadeButton(int d, bool running);
    void abandonStart(int d);

    WindowContext& w_;
    std::array<FadeState, kDecks> state_{};
    // A step that keeps failing is told once per fade, not at every tick.
    std::array<bool, kDecks> stepFailureShown_{};
};

} // namespace velmor
