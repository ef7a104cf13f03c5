#include "audio/MasterDuck.h"

#include <algorithm>
#include <cmath>

namespace velmor::audio {

// A straight line in decibels is a constant factor a frame: one pow a buffer, one multiply
// a frame. The gain is worked out afresh at each buffer's start, so no error adds up.
void MasterDuck::process(float* stereo, int frames) noexcept {
    const float depth = depth_.load(std::memory_order_relaxed);
    const float target = on_.load(std::memory_order_relaxed) ? depth : 0.0f;
    gain_ = std::pow(10.0f, -dipDb_ / 20.0f);
    if (dipDb_ == target && target == 0.0f)
        return;
    const bool down = target > dipDb_;
    // The ramp's pace is the depth's, also when the depth was changed on the way.
    const float pace = std::max(depth, 1.0f);
    const float stepDb =
        pace / static_cast<float>((down ? kDownSeconds : kUpSeconds) * rate_) * (down ? 1 : -1);
    const float factor = std::pow(10.0f, -stepDb / 20.0f);
    for (int i = 0; i < frames; ++i) {
        if (dipDb_ != target) {
            dipDb_ += stepDb;
            gain_ *= factor;
            if (down ? dipDb_ >= target : dipDb_ <= target) {
                dipDb_ = target;
                gain_ = std::pow(10.0f, -dipDb_ / 20.0f);
            }
        }
        stereo[2 * i] *= gain_;
        stereo[2 * i + 1] *= gain_;
    }
    dip_.store(dipDb_, std::memory_order_relaxed);
}

} // namespace velmor::audio
