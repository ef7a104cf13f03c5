#include "common/MeterBallistics.h"

#include <algorithm>
#include <cmath>

namespace velmor {

double MeterBallistics::ToDb(float linear) {
    return linear > 0 ? std::max(kFloorDb, 20 * std::log10(double(linear))) : kFloorDb;
}

void MeterBallistics::feed(const std::array<float, 2>& peak, const std::array<float, 2>& rms,
                           bool clipped, double now) {
    const double fall = started_ ? kFallDbPerSecond * std::max(0.0, now - last_) : 0;
    started_ = true;
    last_ = now;
    for (int c = 0; c < 2; ++c) {
        shown_.rms[c] = std::max(ToDb(rms[c]), std::max(kFloorDb, shown_.rms[c] - fall));
        shown_.peak[c] = std::max(ToDb(peak[c]), std::max(kFloorDb, shown_.peak[c] - fall));
        // A louder peak moves the mark up; after the hold it comes down to the bar's top.
        if (ToDb(peak[c]) >= shown_.hold[c] || now - heldSince_[c] >= kHoldSeconds) {
            shown_.hold[c] = std::max(ToDb(peak[c]), shown_.peak[c]);
            heldSince_[c] = now;
        }
    }
    if (clipped || std::max(peak[0], peak[1]) >= 1.0f)
        clipSince_ = now;
    shown_.clip = now - clipSince_ < kHoldSeconds;
}

} // namespace velmor
