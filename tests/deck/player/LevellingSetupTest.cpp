#include "deck/player/AudioSetup.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;

namespace {

struct LevellingSetupTest : ::testing::Test {
    QTemporaryDir dir;
    QString file = dir.filePath("audio.conf");

    void write(const std::string& text) { test::WriteBytes(file.toStdString(), text); }
};

} // namespace

TEST_F(LevellingSetupTest, WithoutAFileTracksAreEvenedOutToMinusEighteen) {
    const Levelling levelling = ReadLevelling(file);
    EXPECT_TRUE(levelling.enabled);
    EXPECT_EQ(levelling.target, -18.0);
    EXPECT_TRUE(levelling.skipSilence);
}

TEST_F(LevellingSetupTest, WhatIsKeptIsReadBack) {
    Levelling kept;
    kept.enabled = false;
    kept.target = -23;
    kept.skipSilence = false;
    ASSERT_TRUE(WriteLevelling(file, kept));
    EXPECT_EQ(ReadLevelling(file), kept);
}

TEST_F(LevellingSetupTest, ItIsKeptAsTheFileSays) {
    write("[loudness]\nenabled=false\ntarget=-14\n[silence]\nskip=false\n");
    const Levelling levelling = ReadLevelling(file);
    EXPECT_FALSE(levelling.enabled);
    EXPECT_EQ(levelling.target, -14.0);
    EXPECT_FALSE(levelling.skipSilence);
}

TEST_F(LevellingSetupTest, ATargetOutOfPlaceIsTheDefault) {
    write("[loudness]\ntarget=-30\n");
    EXPECT_EQ(ReadLevelling(file).target, -18.0);
    write("[loudness]\ntarget=-13\n");
    EXPECT_EQ(ReadLevelling(file).target, -18.0);
    write("[loudness]\ntarget=loud\n");
    EXPECT_EQ(ReadLevelling(file).target, -18.0);
}

TEST_F(LevellingSetupTest, ASwitchThatIsNeitherOnNorOffIsTheDefault) {
    write("[loudness]\nenabled=maybe\n[silence]\nskip=0\n");
    const Levelling levelling = ReadLevelling(file);
    EXPECT_TRUE(levelling.enabled);
    EXPECT_TRUE(levelling.skipSilence);
}

TEST_F(LevellingSetupTest, KeepingTheDevicesKeepsTheLevelling) {
    Levelling kept;
    kept.target = -20;
    ASSERT_TRUE(WriteLevelling(file, kept));
    ASSERT_TRUE(WriteAudioSetup(file, AudioSetup{"card", PhonesRoute::None, "", 512}));
    EXPECT_EQ(ReadLevelling(file).target, -20.0);
}

TEST_F(LevellingSetupTest, KeepingTheLevellingKeepsTheDevices) {
    const AudioSetup devices{"card", PhonesRoute::None, "", 512};
    ASSERT_TRUE(WriteAudioSetup(file, devices));
    ASSERT_TRUE(WriteLevelling(file, Levelling{}));
    EXPECT_EQ(ReadAudioSetup(file), devices);
}
