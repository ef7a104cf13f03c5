#include "audio/LevelMeter.h"

#include <cmath>

namespace velmor::audio {

void LevelMeter::measure(const float* stereo, int frames) noexcept {
    Block block;
    for (int i = 0; i < frames; ++i)
        block.add(stereo[2 * i], stereo[2 * i + 1]);
    publish(block, frames);
}

void LevelMeter::publish(const Block& block, int frames) noexcept {
    for (int c = 0; c < 2; ++c) {
        // The reader may take the peak between the load and the exchange: then the
        // exchange fails and the block's peak goes into the next reading.
        float held = peak_[c].load(std::memory_order_relaxed);
        while (block.peak_[c] > held &&
               !peak_[c].compare_exchange_weak(held, block.peak_[c], std::memory_order_relaxed)) {
        }
        energy_[c].fetch_add(block.energy_[c], std::memory_order_relaxed);
    }
    frames_.fetch_add(static_cast<uint64_t>(frames), std::memory_order_release);
}

LevelReading LevelMeter::take() noexcept {
    LevelReading reading;
    const uint64_t frames = frames_.exchange(0, std::memory_order_acquire);
    for (int c = 0; c < 2; ++c) {
        reading.peak[c] = peak_[c].exchange(0.0f, std::memory_order_relaxed);
        const double energy = energy_[c].exchange(0.0, std::memory_order_relaxed);
        reading.rms[c] =
            frames > 0 ? static_cast<float>(std::sqrt(energy / static_cast<double>(frames))) : 0;
    }
    return reading;
}

} // namespace velmor::audio
