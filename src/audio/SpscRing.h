#pragma once

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstddef>
#include <memory>
#include <optional>
#include <utility>

namespace velmor::audio {

// A bounded ring for one producer thread and one consumer thread, without locks and without
// allocation after construction. Values go in and out by move (a move-only T works), or are
// filled and read in place: writeSlot() then publish(), front() then pop().
//
// It holds exactly `capacity` values, in as many slots: a power of two finds a slot with a
// mask, any other capacity with a division (large values, such as audio blocks, are not
// rounded up to waste memory). The slots are default-initialised: a ring of plain numbers
// is not touched, and so takes no memory, until values are written to it (the headphones'
// ring to a second device costs nothing while there is none).
template <typename T> class SpscRing {
public:
    explicit SpscRing(size_t capacity)
        : capacity_(std::max(capacity, size_t{1})),
          slots_(std::make_unique_for_overwrite<T[]>(capacity_)),
          mask_(std::has_single_bit(capacity_) ? capacity_ - 1 : 0) {}
    SpscRing(const SpscRing&) = delete;
    SpscRing& operator=(const SpscRing&) = delete;

    size_t capacity() const noexcept { return capacity_; }
    // Either side; exact on the side that asks, a moment old for the other.
    size_t size() const noexcept {
        return tail_.load(std::memory_order_acquire) - head_.load(std::memory_order_acquire);
    }

    // Producer side.
    T* writeSlot() noexcept {
        const size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) == capacity_)
            return nullptr;
        return &slots_[index(tail)];
    }
    void publish() noexcept { tail_.fetch_add(1, std::memory_order_release); }
    // False when full; `value` is then left as it was, with its owner.
    bool push(T&& value) {
        T* slot = writeSlot();
        if (!slot)
            return false;
        *slot = std::move(value);
        publish();
        return true;
    }
    bool push(const T& value) {
        T copy = value;
        return push(std::move(copy));
    }
    // What fits of `count` values is written in place, fill(slot, i) for the i-th; returns
    // how many.
    template <typename Fill> size_t pushSome(size_t count, Fill&& fill) noexcept {
        const size_t tail = tail_.load(std::memory_order_relaxed);
        const size_t n =
            std::min(count, capacity_ - (tail - head_.load(std::memory_order_acquire)));
        for (size_t i = 0; i < n; ++i)
            fill(slots_[index(tail + i)], i);
        tail_.store(tail + n, std::memory_order_release);
        return n;
    }

    // Consumer side.
    T* front() noexcept {
        const size_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire))
            return nullptr;
        return &slots_[index(head)];
    }
    void pop() noexcept { head_.fetch_add(1, std::memory_order_release); }
    std::optional<T> take() {
        T* slot = front();
        if (!slot)
            return std::nullopt;
        std::optional<T> value(std::move(*slot));
        *slot = T{}; // nothing the slot held stays alive in it
        pop();
        return value;
    }
    // Up to `count` values read in place, read(slot, i) for the i-th; returns how many.
    template <typename Read> size_t popSome(size_t count, Read&& read) noexcept {
        const size_t head = head_.load(std::memory_order_relaxed);
        const size_t n = std::min(count, tail_.load(std::memory_order_acquire) - head);
        for (size_t i = 0; i < n; ++i)
            read(std::as_const(slots_[index(head + i)]), i);
        head_.store(head + n, std::memory_order_release);
        return n;
    }
    void drop(size_t count) noexcept {
        const size_t head = head_.load(std::memory_order_relaxed);
        const size_t n = std::min(count, tail_.load(std::memory_order_acquire) - head);
        head_.store(head + n, std::memory_order_release);
    }

private:
    size_t index(size_t position) const noexcept {
        return mask_ ? position & mask_ : position % capacity_;
    }

    const size_t capacity_;
    const std::unique_ptr<T[]> slots_;
    const size_t mask_;                       // 0 unless the capacity is a power of two
    alignas(64) std::atomic<size_t> head_{0}; // written by the consumer
    alignas(64) std::atomic<size_t> tail_{0}; // written by the producer
};

} // namespace velmor::audio
