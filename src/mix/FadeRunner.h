#pragma once

#include <cstdint>

namespace velmor {

class Deck;
class Reporter;

// Where a deck's fade stands. Zero and false until the deck's first fade.
struct FadeState {
    int32_t FadeLength = 0; // milliseconds, as read from the panel at the start
    int16_t FadeTick = 0;   // steps applied so far
    float FadeStep = 0;     // player level units per step
    bool FadingOut = false; // the direction chosen at the start
};

// One deck's timed fade: its state and its steps, acting on the deck through the deck's
// verbs. The caller keeps the time: every kFadeTickMs it calls step() until isOver(), then
// end(). A fade works on the deck's output level from wherever it stands at each step, so a
// level set meanwhile (the deck's own, the crossfader's, a stop's) carries over; nothing but
// its end stops it.
class FadeRunner {
public:
    FadeRunner(Deck& deck, Reporter& reporter) : deck_(deck), reporter_(reporter) {}

    // Readies the deck for a fade in: its output level at the level of `startVolume`, its
    // position at its cue (in whole seconds), and play/pause pressed, which plays a stopped
    // or paused deck and pauses a playing one. A failing play/pause is told, and the fade
    // goes on. Fails on a start volume that the volume law refuses, before anything changes,
    // and on a cue that is not a number, once the level is set.
    void cueIn(int16_t startVolume);
    // Sets the fade up afresh, also over one running: no step done yet, `lengthMs` long,
    // its steps worked out from the levels of the two volumes. Fails with "Overflow" or
    // "Division by zero" (see FadeStepSize), the state left as it was.
    void start(bool fadeOut, int32_t lengthMs, int16_t startVolume, int16_t endVolume);
    // Whether all its steps are done.
    bool isOver() const;
    // Moves the deck's output level one step on from where it stands. A failing step counts
    // no step and is told once a fade, so that a step failing at every tick is not told at
    // every tick.
    void step();
    // Ends the fade: a fade out, or any fade when `endsOut` says it ends as one, stops the
    // deck, which rewinds to its cue and goes back to its own level. A failing stop is told.
    void end(bool endsOut);

    const FadeState& state() const { return state_; }

private:
    Deck& deck_;
    Reporter& reporter_;
    FadeState state_;
    bool failureTold_ = false;
};

} // namespace velmor
