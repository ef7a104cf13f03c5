#include "deck/VolumeLaw.h"
#include "legacy/Error.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(VolumeLaw, DeckVolumesAreLinearInDecibels) {
    EXPECT_EQ(VolumeToPlayerLevel(0), -4500);
    EXPECT_EQ(VolumeToPlayerLevel(37), -2835);
    EXPECT_EQ(VolumeToPlayerLevel(100), 0);
}

TEST(VolumeLaw, SixteenBitsHoldFromMinus628To728AndNoFurther) {
    EXPECT_EQ(VolumeToPlayerLevel(728), 28260);
    EXPECT_EQ(VolumeToPlayerLevel(-628), -32760);
    EXPECT_THROW(VolumeToPlayerLevel(729), Error);
    EXPECT_THROW(VolumeToPlayerLevel(-629), Error);
}

TEST(VolumeLaw, TheInverseRoundsToTheNearestVolume) {
    EXPECT_EQ(PlayerLevelToVolume(-4500), 0);
    EXPECT_EQ(PlayerLevelToVolume(-2272), 50); // 49.51
    EXPECT_EQ(PlayerLevelToVolume(-2273), 49);
}
