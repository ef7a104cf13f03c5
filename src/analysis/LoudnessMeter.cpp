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
    const Biquad s = shelf_, h = highPass_;
    auto [l1, l2, l3, l4] = state_[0];
    auto [r1, r2, r3, r4] = state_[1];
    double sum = stepSum_;
    for (int64_t f = 0; f < frames;) {
        const int64_t end = std::min(frames, f + stepFrames_ - inStep_);
        inStep_ += end - f;
        for (; f < end; ++f) {
            // Both channels side by side, each through the shelf and then the high pass
            // (transposed direct form II).
            const double xl = stereo[2 * f], xr = stereo[2 * f + 1];
            const double yl = s.b0 * xl + l1, yr = s.b0 * xr + r1;
            l1 = s.b1 * xl - s.a1 * yl + l2;
            r1 = s.b1 * xr - s.a1 * yr + r2;
            l2 = s.b2 * xl - s.a2 * yl;
            r2 = s.b2 * xr - s.a2 * yr;
            const double zl = yl + l3, zr = yr + r3;
            l3 = -2 * yl - h.a1 * zl + l4;
            r3 = -2 * yr - h.a1 * zr + r4;
            l4 = yl - h.a2 * zl;
            r4 = yr - h.a2 * zr;
            sum += zl * zl + zr * zr;
        }
        if (inStep_ == stepFrames_) {
            const double step = sum / static_cast<double>(stepFrames_);
            if (++steps_ >= 4)
                blocks_.push_back((lastSteps_[0] + lastSteps_[1] + lastSteps_[2] + step) / 4);
            lastSteps_ = {lastSteps_[1], lastSteps_[2], step};
            sum = 0;
            inStep_ = 0;
            // Filters ringing out into silence would reach the denormal numbers, dozens of
            // times slower: below -300 dB they are silent.
            for (double* state : {&l1, &l2, &l3, &l4, &r1, &r2, &r3, &r4})
                if (std::abs(*state) < 1e-15)
                    *state = 0;
        }
    }
    state_[0] = {l1, l2, l3, l4};
    state_[1] = {r1, r2, r3, r4};
    stepSum_ = sum;
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
