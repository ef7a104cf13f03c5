#pragma once

#include <array>

namespace velmor {

// How a level meter moves: it rises at once to what it is given and falls back steadily, so
// that a glance catches every peak; the loudest peak stays marked for a while, and so does
// the clip light. Levels are in dB full scale; kFloorDb and below shows as nothing.
class MeterBallistics {
public:
    static constexpr double kFloorDb = -60;
    static constexpr double kFallDbPerSecond = 24;
    static constexpr double kHoldSeconds = 1.5; // the peak mark and the clip light

    struct Shown {
        std::array<double, 2> rms{kFloorDb, kFloorDb};
        std::array<double, 2> peak{kFloorDb, kFloorDb};
        std::array<double, 2> hold{kFloorDb, kFloorDb};
        bool clip = false;
        bool operator==(const Shown&) const = default;
    };

    // What was measured up to `now` (seconds, any steady clock) since the last reading:
    // linear peaks and RMS per channel, and whether the signal clipped or was limited.
    void feed(const std::array<float, 2>& peak, const std::array<float, 2>& rms, bool clipped,
              double now);
    const Shown& shown() const { return shown_; }
    // Showing nothing, and with nothing held.
    bool atRest() const { return shown_ == Shown{}; }

    static double ToDb(float linear);

private:
    Shown shown_;
    std::array<double, 2> heldSince_{};
    double clipSince_ = -kHoldSeconds;
    double last_ = 0;
    bool started_ = false;
};

} // namespace velmor
