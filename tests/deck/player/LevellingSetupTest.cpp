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

TEST_F(LevellingSetupTest, ItIsKeptAsTheFileSaysAndWhatIsKeptIsReadBack) {
    write("[loudness]\nenabled=false\ntarget=-14\n[silence]\nskip=false\n");
    const Levelling read = ReadLevelling(file);
    EXPECT_FALSE(read.enabled);
    EXPECT_EQ(read.target, -14.0);
    EXPECT_FALSE(read.skipSilence);
    const Levelling kept{.enabled = false, .target = -23, .skipSilence = false};
    ASSERT_TRUE(WriteLevelling(file, kept));
    EXPECT_EQ(ReadLevelling(file), kept);
}

// A target out of place, or a switch that is neither on nor off, is the default.
TEST_F(LevellingSetupTest, WhatIsNotUnderstoodIsTheDefault) {
    write("[loudness]\ntarget=-30\n");
    EXPECT_EQ(ReadLevelling(file).target, -18.0);
    write("[loudness]\ntarget=-13\n");
    EXPECT_EQ(ReadLevelling(file).target, -18.0);
    write("[loudness]\ntarget=loud\n");
    EXPECT_EQ(ReadLevelling(file).target, -18.0);
    write("[loudness]\nenabled=maybe\n[silence]\nskip=0\n");
    const Levelling levelling = ReadLevelling(file);
    EXPECT_TRUE(levelling.enabled);
    EXPECT_TRUE(levelling.skipSilence);
}

// The devices and the levelling share the file: keeping either leaves the other as it was.
TEST_F(LevellingSetupTest, KeepingTheDevicesOrTheLevellingKeepsTheOther) {
    const AudioSetup devices{"card", PhonesRoute::None, "", 512};
    ASSERT_TRUE(WriteLevelling(file, {.target = -20}));
    ASSERT_TRUE(WriteAudioSetup(file, devices));
    EXPECT_EQ(ReadLevelling(file).target, -20.0);
    ASSERT_TRUE(WriteLevelling(file, Levelling{}));
    EXPECT_EQ(ReadAudioSetup(file), devices);
}
