#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmor {

// The loudest level of a stereo signal between its samples as well as at them: the signal
// is interpolated at three points between each pair of samples (four times oversampled, a
// windowed sinc of 12 taps). Only pairs within 6 dB of the loudest level found so far are
// interpolated; a peak between two samples more than 6 dB louder than both does not occur
// in music, and leaving the quiet pairs out makes the meter cheap enough to ride along with
// a pass that decodes the whole track.
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
    void interpolate(const std::vector<float>& samples, std::size_t at, double& peak) const;
    std::array<std::array<float, kTaps>, 3> weights_;
    std::array<std::vector<float>, 2> held_; // each channel's samples not yet interpolated past
    double peak_ = 0;
};

} // namespace velmor
