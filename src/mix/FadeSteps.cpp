#include "mix/FadeSteps.h"

#include "deck/VolumeLaw.h"
#include "legacy/Numbers.h"

#include <cmath>
#include <limits>

namespace velmor {

namespace {
constexpr double kFloorLevel = -4500; // the level of deck volume 0
} // namespace

float FadeStepSize(bool fadeOut, int32_t lengthMs, int16_t startVolume, int16_t endVolume) {
    const int16_t start = VolumeToPlayerLevel(startVolume);
    const int16_t end = VolumeToPlayerLevel(endVolume);
    const int16_t difference = fadeOut ? Sub16(start, end) : Sub16(end, start);
    return static_cast<float>(Divide(difference, lengthMs / double(kFadeTickMs)));
}

bool FadeIsOver(int16_t ticksDone, int32_t lengthMs) {
    return ticksDone >= lengthMs / double(kFadeTickMs) ||
           ticksDone == std::numeric_limits<int16_t>::max();
}

int32_t NextFadeLevel(bool fadingOut, int32_t current, float step) {
    double level;
    if (fadingOut) {
        // A step that overshoots upwards (start below end) swings back below full level.
        const double t = current - double(step);
        level = t < kFloorLevel ? kFloorLevel : -std::fabs(t);
    } else {
        const double t = current + double(step);
        level = t > 0 ? 0 : t;
    }
    return RealToInt32(level);
}

} // namespace velmor
