#include "analysis/TruePeak.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmor {

namespace {

// Pairs are looked at in runs of this many: a run too quiet to matter is passed over whole.
constexpr size_t kRun = 16;

} // namespace

TruePeakMeter::TruePeakMeter() {
    // The point at `share` of the way from sample 0 to sample 1 is made of samples -5 to 6,
    // weighted by a sinc under a Hann window of half width 6.5, scaled to keep silence flat.
    for (int phase = 0; phase < 3; ++phase) {
        const double share = (phase + 1) / 4.0;
        double sum = 0;
        for (int tap = 0; tap < kTaps; ++tap) {
            const double x = share - (tap - kBefore);
            const double sinc = std::sin(std::numbers::pi * x) / (std::numbers::pi * x);
            const double window = 0.5 * (1 + std::cos(std::numbers::pi * x / 6.5));
            weights_[phase][tap] = static_cast<float>(sinc * window);
            sum += sinc * window;
        }
        float reach = 0;
        for (float& weight : weights_[phase]) {
            weight = static_cast<float>(weight / sum);
            reach += std::abs(weight);
        }
        reach_ = std::max(reach_, reach * 1.0001f);
    }
    for (auto& held : held_)
        held.assign(kBefore, 0.0f);
}

void TruePeakMeter::interpolate(const std::vector<float>& samples, size_t at, double& peak) const {
    const float* first = samples.data() + at - kBefore;
    for (const auto& weights : weights_) {
        float sum = 0;
        for (int tap = 0; tap < kTaps; ++tap)
            sum += first[tap] * weights[static_cast<size_t>(tap)];
        peak = std::max(peak, static_cast<double>(std::abs(sum)));
    }
}

void TruePeakMeter::add(const float* stereo, int64_t frames) {
    for (size_t channel = 0; channel < 2; ++channel) {
        std::vector<float>& held = held_[channel];
        const size_t start = held.size();
        held.resize(start + static_cast<size_t>(frames));
        for (int64_t f = 0; f < frames; ++f) {
            const float sample = stereo[2 * f + static_cast<int64_t>(channel)];
            held[start + static_cast<size_t>(f)] = sample;
            peak_ = std::max(peak_, static_cast<double>(std::abs(sample)));
        }
        // Pair (i, i + 1) needs samples i - 5 to i + 6.
        const size_t after = kTaps - kBefore - 1;
        if (held.size() < kBefore + after + 1)
            continue;
        const size_t last = held.size() - after; // first pair left for later
        double peak = peak_;
        for (size_t run = kBefore; run < last; run += kRun) {
            const size_t end = std::min(last, run + kRun);
            float loudest = 0;
            for (size_t i = run - kBefore; i < end + after; ++i)
                loudest = std::max(loudest, std::abs(held[i]));
            if (loudest * reach_ <= peak)
                continue;
            for (size_t i = run; i < end; ++i)
                interpolate(held, i, peak);
        }
        peak_ = peak;
        held.erase(held.begin(), held.begin() + static_cast<std::ptrdiff_t>(last - kBefore));
    }
}

double TruePeakMeter::peak() const {
    double peak = peak_;
    for (const auto& channel : held_) {
        std::vector<float> padded = channel;
        padded.resize(channel.size() + kTaps, 0.0f);
        for (size_t i = kBefore; i < channel.size(); ++i)
            interpolate(padded, i, peak);
    }
    return peak;
}

} // namespace velmor
