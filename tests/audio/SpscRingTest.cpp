#include "audio/SpscRing.h"

#include <gtest/gtest.h>
#include <memory>
#include <thread>

using velmor::audio::SpscRing;

// Many rounds through rings of several sizes (one that is not a power of two among them):
// each holds exactly its capacity, refuses one more, and gives back what went in, in order,
// however far its positions have wrapped.
TEST(SpscRingTest, HoldsItsCapacityExactlyAndKeepsOrderAcrossWrapAround) {
    for (size_t capacity : {1u, 3u, 4u, 5u}) {
        SpscRing<int> ring(capacity);
        int next = 0, expected = 0;
        for (int round = 0; round < 20; ++round) {
            EXPECT_EQ(ring.front(), nullptr);
            EXPECT_FALSE(ring.take());
            while (ring.push(next))
                ++next;
            EXPECT_EQ(ring.size(), capacity);
            EXPECT_EQ(ring.writeSlot(), nullptr) << capacity;
            while (ring.size() > 0)
                EXPECT_EQ(*ring.take(), expected++) << capacity;
        }
    }
    // A value that owns something: a refused push leaves it with the caller, and a taken value
    // leaves nothing behind in its slot.
    SpscRing<std::unique_ptr<int>> owning(1);
    ASSERT_TRUE(owning.push(std::make_unique<int>(1)));
    auto refused = std::make_unique<int>(2);
    EXPECT_FALSE(owning.push(std::move(refused)));
    ASSERT_TRUE(refused);
    EXPECT_EQ(**owning.take(), 1);
    EXPECT_EQ(owning.front(), nullptr);
}

// A producer and a consumer at full speed: every value arrives once and in order, through
// the value, the in-place and the bulk ways. ThreadSanitizer watches this one.
TEST(SpscRingTest, TwoThreadsPassEveryValueOnceInOrder) {
    constexpr uint64_t kCount = 200000;
    SpscRing<uint64_t> ring(64);
    std::thread producer([&] {
        for (uint64_t next = 0; next < kCount;) {
            if (next % 3 == 0)
                next += ring.push(next);
            else if (uint64_t* slot = ring.writeSlot())
                *slot = next++, ring.publish();
        }
    });
    uint64_t expected = 0, wrong = 0;
    while (expected < kCount) {
        if (expected % 2)
            ring.popSome(5, [&](const uint64_t& value, size_t) { wrong += value != expected++; });
        else if (auto value = ring.take())
            wrong += *value != expected++;
    }
    producer.join();
    EXPECT_EQ(std::pair(wrong, ring.size()), std::pair(uint64_t{0}, size_t{0}));
}
