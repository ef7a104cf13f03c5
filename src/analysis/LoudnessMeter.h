#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace velmor {

// The integrated loudness of a stereo signal as EBU R128 defines it (ITU-R BS.1770): each
// channel K-weighted (a high shelf and a high pass), its mean square taken over blocks of
// 400 ms every 100 ms, the blocks below -70 LUFS left out, then those more than 10 LU below
// the loudness of the rest. Written for a pass over a whole track: the filters run in one
// loop over both channels, several times cheaper than a general meter.
class LoudnessMeter {
public:
    explicit LoudnessMeter(int rate);
    // Adds `frames` interleaved stereo frames following those added before.
    void add(const float* stereo, int64_t frames);
    // LUFS; none where no block is loud enough to count (silence, or under 400 ms).
    std::optional<double> loudness() const;

private:
    struct Biquad {
        double b0, b1, b2, a1, a2;
    };
    Biquad shelf_{}, highPass_{};
    std::array<std::array<double, 4>, 2> state_{}; // each channel's two filters' two states
    const int64_t stepFrames_;                     // 100 ms
    int64_t inStep_ = 0;
    double stepSum_ = 0;
    std::array<double, 3> lastSteps_{}; // the mean squares of the three steps before
    int64_t steps_ = 0;
    std::vector<double> blocks_; // each 400 ms block's mean square (summed over channels)
};

} // namespace velmor
