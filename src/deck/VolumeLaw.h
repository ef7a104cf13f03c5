#pragma once

#include <cstdint>

namespace velmor {

// The one conversion from a deck volume (0..100) to the player's level in hundredths of a
// decibel: v * 45 - 4500, linear in decibels, 0.45 dB a step. Its bottom, -45 dB at 0, is
// the players' silent level: a deck at 0 is not heard in the room (only in the headphones).
// Fades and the crossfader work on these numbers unchanged.
// Worked in checked 16-bit arithmetic: outside -628..728 it fails with "Overflow".
int16_t VolumeToPlayerLevel(int32_t volume);

// The inverse: the deck volume of a player level, rounded half to even.
int16_t PlayerLevelToVolume(int32_t level);

} // namespace velmor
