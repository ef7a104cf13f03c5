#pragma once

#include <cstdint>

namespace velmor {

// The arithmetic of a timed fade, apart from any window. Levels are the player's, in
// hundredths of a decibel; volumes are deck volumes (0..100) under the volume law.

// One fade step every 50 ms.
constexpr int kFadeTickMs = 50;

// The size of one step: the level difference between the two volumes, worked in checked
// 16-bit arithmetic, spread over lengthMs / 50 steps. Positive when the fade goes the usual
// way (in to a higher volume, out to a lower one). Fails with "Overflow" when the difference
// does not fit, and with "Division by zero" for a zero length.
float FadeStepSize(bool fadeOut, int32_t lengthMs, int16_t startVolume, int16_t endVolume);

// Whether a fade that has applied `ticksDone` steps is over: all its steps are done (a
// length that is not a multiple of 50 gets one step more), or the 16-bit step counter can
// count no further, so an overlong fade ends there instead of wrapping round.
bool FadeIsOver(int16_t ticksDone, int32_t lengthMs);

// The level one step moves to from the player's current level. A fade in never goes above
// full level; a fade out never goes above it either, nor below the volume law's floor.
// Rounded half to even.
int32_t NextFadeLevel(bool fadingOut, int32_t current, float step);

} // namespace velmor
