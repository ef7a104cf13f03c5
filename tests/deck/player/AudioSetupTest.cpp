#include "deck/player/AudioSetup.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;

// The set-up comes back as it was kept, with device names of any characters; a file that is
// missing, is no settings file or holds values out of place gives the defaults for them.
TEST(AudioSetupTest, ASetUpReadsBackAndABrokenFileGivesTheDefaults) {
    QTemporaryDir dir;
    const QString file = dir.filePath("velmor/audio.conf");
    EXPECT_EQ(ReadAudioSetup(file), AudioSetup{}) << "missing";

    const AudioSetup kept{"USB Audio: \"Main\" = [hw:1,0]; 100%", PhonesRoute::Device,
                          "Headphones/Ä # 2", 512};
    ASSERT_TRUE(WriteAudioSetup(file, kept));
    EXPECT_EQ(ReadAudioSetup(file), kept) << "after a restart";
    ASSERT_TRUE(WriteAudioSetup(file, AudioSetup{"", PhonesRoute::MainChannels, "", 128}));
    EXPECT_EQ(ReadAudioSetup(file).phones, PhonesRoute::MainChannels);

    const std::string broken[] = {
        std::string("\x00\xff\xfe[output\n=\x01\x02", 14),
        "[output]\nbuffer-frames=333\n[headphones]\nroute=device\n", // no device, no such size
        "[output]\nbuffer-frames=lots\n[headphones]\nroute=somewhere\n",
        "[output]\nbuffer-frames=512\n" + std::string(100000, '\n'), // too large to be ours
    };
    for (const std::string& bytes : broken) {
        test::WriteBytes(file.toStdString(), bytes);
        EXPECT_EQ(ReadAudioSetup(file), AudioSetup{}) << bytes;
    }
}
