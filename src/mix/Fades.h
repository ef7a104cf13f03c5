#pragma once

#include "common/Decks.h"
#include "mix/FadeRunner.h"

#include <array>
#include <cstdint>
#include <optional>

namespace velmor {

struct WindowContext;

// The decks' fade panels. Each reads its boxes and its switch and tells its deck's fade
// runner; each deck fades on its own timer, the panel's FadeTimer.
class Fades {
public:
    explicit Fades(WindowContext& window) : w_(window) {}
    // Gives each deck its fade runner, and connects the controls' events to the handlers
    // below. The decks must be there.
    void wire();

    void cmdFade_Click(int d);
    // Sets up deck d's fade and starts its timer; returns fadeOut (false when it failed).
    bool StartFade(int d, bool fadeOut, int32_t lengthMs, int16_t startVolume, int16_t endVolume);
    void FadeTimer_Timer(int d);
    void chkInOrOut_Click(int d);
    // Ends deck d's fade where it stands, without the stop that a fade out ends with.
    void cancel(int d);

private:
    void endFade(int d);
    void setFadeButton(int d, bool running);
    void abandonStart(int d);

    WindowContext& w_;
    std::array<std::optional<FadeRunner>, kDecks> runners_;
};

} // namespace velmor
