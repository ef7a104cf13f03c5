#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmor {

// The loudest level of a stereo signal between its samples as well as at them: the signal
// is interpolated at three points between each pair of samples (four times oversampled, a
// windowed sinc of 12 taps). A stretch whose samples are too quiet for any point made of them
// to pass the loudest level found so far (the level times the sum of the weights' sizes) is
// not interpolated: that leaves the result as it would be, and makes the meter cheap enough
// to ride along with a pass that decodes the whole track.
class TruePeakMeter {
public:
    TruePeakMeter();
    // Adds `frames` interleaved stereo frames following those added before.
    void add(const float* stereo, int64_t frames);
    // The loudest level so far, linear (1 is full scale). The last pairs are interpolated
    // with the signal taken as silent past its end.
    double peak() const;

private:
    static constexpr int kTaps = 12;  // samples each interpolated point is made of
    static constexpr int kBefore = 5; // of them before the pair's first sample
    // Pairs are looked at in runs of this many: a run too quiet to matter is passed over whole.
    static constexpr std::size_t kRun = 16;
    // Raises `peak` to the loudest point between the pairs from `at` to `end` (at most kRun;
    // the samples hold kRun pairs from `at` and the taps around them).
    void interpolate(const std::vector<float>& samples, std::size_t at, std::size_t end,
                     double& peak) const;
    std::array<std::array<float, kTaps>, 3> weights_;
    float reach_ = 1; // the most a point can be, as a share of the loudest sample it is made of
    std::array<std::vector<float>, 2> held_; // each channel's samples not yet interpolated past
    double peak_ = 0;
};

} // namespace velmor
