#pragma once

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>

namespace velmor::audio {

// Peak and RMS of a stereo signal, per channel, full scale 1.
struct LevelReading {
    std::array<float, 2> peak{};
    std::array<float, 2> rms{};
};

// A meter on a point of the mix. The audio thread measures each block it passes; the reader
// takes what was measured since its last look: the loudest sample and the RMS over those
// blocks, so that a window polling thirty times a second sees every peak. Both sides are
// lock-free and allocate nothing.
class LevelMeter {
public:
    // Audio thread: one block of interleaved stereo frames.
    void measure(const float* stereo, int frames) noexcept;
    // The reader (one): what was measured since the last take; nothing when nothing was.
    LevelReading take() noexcept;

    // Sums a block sample by sample, for a caller that makes its samples one at a time.
    class Block {
    public:
        void add(float left, float right) noexcept {
            peak_[0] = std::max(peak_[0], left < 0 ? -left : left);
            peak_[1] = std::max(peak_[1], right < 0 ? -right : right);
            energy_[0] += static_cast<double>(left) * left;
            energy_[1] += static_cast<double>(right) * right;
        }

    private:
        friend class LevelMeter;
        std::array<float, 2> peak_{};
        std::array<double, 2> energy_{};
    };
    // Audio thread: a block of `frames` frames summed by Block (silent frames need no add).
    void publish(const Block& block, int frames) noexcept;

private:
    std::array<std::atomic<float>, 2> peak_{};
    std::array<std::atomic<double>, 2> energy_{};
    std::atomic<uint64_t> frames_{0};
};

static_assert(std::atomic<float>::is_always_lock_free && std::atomic<double>::is_always_lock_free);

} // namespace velmor::audio
