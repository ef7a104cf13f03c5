#include "history/SoundingTime.h"

#include <gtest/gtest.h>

namespace velmor {
namespace {

TEST(SoundingTime, ThirtySecondsOfSoundCountAsPlayedAndTwentyNineDoNot) {
    SoundingTime time;
    time.observe(100.0, true);
    time.observe(129.0, true);
    EXPECT_FALSE(time.counts());
    time.observe(130.0, true);
    EXPECT_TRUE(time.counts());
}

TEST(SoundingTime, NothingIsCountedBeforeTheFirstLook) {
    SoundingTime time;
    time.observe(500.0, true);
    EXPECT_EQ(time.seconds(), 0.0);
}

TEST(SoundingTime, APauseIsNotCounted) {
    SoundingTime time;
    time.observe(0.0, true);
    time.observe(20.0, false); // paused
    time.observe(80.0, true);  // playing again
    time.observe(89.0, false);
    EXPECT_EQ(time.seconds(), 29.0);
}

TEST(SoundingTime, AClockGoingBackAddsNothing) {
    SoundingTime time;
    time.observe(50.0, true);
    time.observe(10.0, true);
    time.observe(20.0, true);
    EXPECT_EQ(time.seconds(), 10.0);
}

} // namespace
} // namespace velmor
