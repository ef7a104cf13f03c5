#include "analysis/TruePeak.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmor {

namespace {} // namespace

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

void TruePeakMeter::interpolate(const std::vector<float>& samples, size_t at, size_t end,
                                double& peak) const {
    // The points of a run of pairs at once, a tap at a time, so that the run's pairs are
    // worked out side by side.
    const float* first = samples.data() + at - kBefore;
    const size_t count = end - at;
    std::array<float, kRun> points;
    for (const auto& weights : weights_) {
        points.fill(0.0f);
        for (size_t tap = 0; tap < kTaps; ++tap)
            for (size_t i = 0; i < kRun; ++i)
                points[i] += weights[tap] * first[tap + i];
        float loudest = 0;
        for (size_t i = 0; i < count; ++i)
            loudest = std::max(loudest, std::abs(points[i]));
        peak = std::max(peak, static_cast<double>(loudest));
    }
}

void TruePeakMeter::add(const float* stereo, int64_t frames) {
    for (size_t channel = 0; channel < 2; ++channel) {
        std::vector<float>& held = held_[channel];
        const size_t start = held.size();
        held.resize(start + static_cast<size_t>(frames));
        float loudestSample = 0;
        for (int64_t f = 0; f < frames; ++f) {
            const float sample = stereo[2 * f + static_cast<int64_t>(channel)];
            held[start + static_cast<size_t>(f)] = sample;
            loudestSample = std::max(loudestSample, std::abs(sample));
        }
        peak_ = std::max(peak_, static_cast<double>(loudestSample));
        // Pair (i, i + 1) needs samples i - 5 to i + 6; whole runs are looked at, the rest
        // left for later.
        const size_t after = kTaps - kBefore - 1;
        if (held.size() < kBefore + kRun + after)
            continue;
        const size_t last = kBefore + (held.size() - after - kBefore) / kRun * kRun;
        double peak = peak_;
        for (size_t run = kBefore; run < last; run += kRun) {
            const size_t end = run + kRun;
            float loudest = 0;
            for (size_t i = run - kBefore; i < end + after; ++i)
                loudest = std::max(loudest, std::abs(held[i]));
            if (loudest * reach_ <= peak)
                continue;
            interpolate(held, run, end, peak);
        }
        peak_ = peak;
        held.erase(held.begin(), held.begin() + static_cast<std::ptrdiff_t>(last - kBefore));
    }
}

double TruePeakMeter::peak() const {
    double peak = peak_;
    for (const auto& channel : held_) {
        std::vector<float> padded = channel;
        padded.resize(channel.size() + kTaps + kRun, 0.0f);
        for (size_t run = kBefore; run < channel.size(); run += kRun)
            interpolate(padded, run, std::min(channel.size(), run + kRun), peak);
    }
    return peak;
}

} // namespace velmor
