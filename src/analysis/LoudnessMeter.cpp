#include "analysis/LoudnessMeter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmor {

namespace {

constexpr double kAbsoluteGate = -70; // LUFS
constexpr double kRelativeGate = -10; // LU below the loudness of the blocks above the former
constexpr double kOffset = -0.691;    // the K-filter's gain at 1 kHz, taken back

double Lufs(double meanSquare) {
    return kOffset + 10 * std::log10(meanSquare);
}

} // namespace

LoudnessMeter::LoudnessMeter(int rate) : stepFrames_(std::max(1, rate / 10)) {
    // The filters' analogue shapes, brought to the rate by the bilinear transform.
    const double fs = rate;
    {
        const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
        const double k = std::tan(std::numbers::pi * f0 / fs);
        const double vh = std::pow(10.0, gainDb / 20);
        const double vb = std::pow(vh, 0.4996667741545416);
        const double a0 = 1 + k / q + k * k;
        shelf_ = {(vh + vb * k / q + k * k) / a0, 2 * (k * k - vh) / a0,
                  (vh - vb * k / q + k * k) / a0, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
    }
    {
        const double f0 = 38.13547087602444, q = 0.5003270373238773;
        const double k = std::tan(std::numbers::pi * f0 / fs);
        const double a0 = 1 + k / q + k * k;
        highPass_ = {1, -2, 1, 2 * (k * k - 1) / a0, (1 - k / q + k * k) / a0};
    }
}

void LoudnessMeter::add(const float* stereo, int64_t frames) {
    // Both channels side by side in one register, each through the shelf and then the high
    // pass (transposed direct form II).
    using Pair = double __attribute__((vector_size(16)));
    const Biquad s = shelf_, h = highPass_;
    Pair s1 = {state_[0][0], state_[1][0]}, s2 = {state_[0][1], state_[1][1]};
    Pair h1 = {state_[0][2], state_[1][2]}, h2 = {state_[0][3], state_[1][3]};
    Pair sum = {stepSum_, 0};
    for (int64_t f = 0; f < frames;) {
        const int64_t end = std::min(frames, f + stepFrames_ - inStep_);
        inStep_ += end - f;
        for (; f < end; ++f) {
            const Pair x = {stereo[2 * f], stereo[2 * f + 1]};
            const Pair y = s.b0 * x + s1;
            s1 = s.b1 * x - s.a1 * y + s2;
            s2 = s.b2 * x - s.a2 * y;
            const Pair z = y + h1;
            h1 = -2 * y - h.a1 * z + h2;
            h2 = y - h.a2 * z;
            sum += z * z;
        }
        if (inStep_ == stepFrames_) {
            const double step = (sum[0] + sum[1]) / static_cast<double>(stepFrames_);
            if (++steps_ >= 4)
                blocks_.push_back((lastSteps_[0] + lastSteps_[1] + lastSteps_[2] + step) / 4);
            lastSteps_ = {lastSteps_[1], lastSteps_[2], step};
            sum = Pair{0, 0};
            inStep_ = 0;
            // Filters ringing out into silence would reach the denormal numbers, dozens of
            // times slower: below -300 dB they are silent.
            for (Pair* state : {&s1, &s2, &h1, &h2})
                for (int c = 0; c < 2; ++c)
                    if (std::abs((*state)[c]) < 1e-15)
                        (*state)[c] = 0;
        }
    }
    state_[0] = {s1[0], s2[0], h1[0], h2[0]};
    state_[1] = {s1[1], s2[1], h1[1], h2[1]};
    stepSum_ = sum[0] + sum[1];
}

std::optional<double> LoudnessMeter::loudness() const {
    const auto meanAbove = [&](double gate) -> std::optional<double> {
        double sum = 0;
        int64_t count = 0;
        for (const double block : blocks_)
            if (block > 0 && Lufs(block) > gate) {
                sum += block;
                ++count;
            }
        if (count == 0)
            return std::nullopt;
        return sum / static_cast<double>(count);
    };
    const std::optional<double> loud = meanAbove(kAbsoluteGate);
    if (!loud)
        return std::nullopt;
    const std::optional<double> gated = meanAbove(Lufs(*loud) + kRelativeGate);
    if (!gated)
        return std::nullopt;
    return Lufs(*gated);
}

} // namespace velmor
