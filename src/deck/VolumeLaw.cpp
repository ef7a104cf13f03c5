#include "deck/VolumeLaw.h"

#include "legacy/Numbers.h"

namespace velmor {

int16_t VolumeToPlayerLevel(int32_t volume) {
    return Sub16(Mul16(volume, 45), 4500);
}

int16_t PlayerLevelToVolume(int32_t level) {
    return RealToInt16((level + 4500) / 45.0);
}

} // namespace velmor
