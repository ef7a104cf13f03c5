#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmor::audio {

// A stretch of a deck's rendered audio at the output rate, with the track time it came from.
struct AudioBlock {
    static constexpr int kMaxFrames = 512;

    uint64_t generation = 0; // the seek/open/rate request it belongs to
    bool endOfTrack = false; // no frames: the track has been played to its end
    int frames = 0;
    double startSeconds = 0;    // track time of the first frame
    double secondsPerFrame = 0; // track time per output frame (the rate over the output rate)
    float samples[2 * kMaxFrames];

    double secondsAt(int frame) const { return startSeconds + frame * secondsPerFrame; }
};

// The ring a deck's reader fills ahead of time and the audio callback drains: one writer
// thread, one reader thread, no locks, no allocation after construction.
class BlockRing {
public:
    explicit BlockRing(size_t capacity) : blocks_(capacity) {}

    size_t capacity() const { return blocks_.size(); }
    size_t size() const {
        return tail_.load(std::memory_order_acquire) - head_.load(std::memory_order_acquire);
    }

    // Writer side: a free block to fill, then publish() it. nullptr when the ring is full.
    AudioBlock* writeSlot() {
        const size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == blocks_.size())
            return nullptr;
        return &blocks_[tail % blocks_.size()];
    }
    void publish() { tail_.fetch_add(1, std::memory_order_release); }

    // Reader side: the oldest block, nullptr when empty; pop() frees it.
    const AudioBlock* front() const {
        const size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire))
            return nullptr;
        return &blocks_[head % blocks_.size()];
    }
    void pop() { head_.fetch_add(1, std::memory_order_release); }

private:
    std::vector<AudioBlock> blocks_;
    alignas(64) std::atomic<size_t> head_{0};
    alignas(64) std::atomic<size_t> tail_{0};
};

} // namespace velmor::audio
