#include "audio/AlsaPcmList.h"

#include <alsa/asoundlib.h>
#include <fstream>
#include <gtest/gtest.h>
#include <portaudio.h>
#include <string>

using namespace velmor;

namespace {

bool Defined(const char* pcm) {
    snd_config_t* node = nullptr;
    return snd_config && snd_config_search(snd_config, pcm, &node) == 0;
}

bool Mapped(const std::string& library) {
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find(library) != std::string::npos)
            return true;
    return false;
}

} // namespace

// PortAudio opens every PCM of ALSA's configuration to list it, and ALSA keeps each plug-in
// loaded while PortAudio runs. FFmpeg's two PCMs would map libavcodec and some sixty
// libraries behind it: they alone are left out.
TEST(AlsaPcmListTest, OnlyFfmpegsPcmsAreLeftOutAndPortAudiosLookLoadsNoFfmpegLibrary) {
    audio::LeaveOutFfmpegPcms();
    EXPECT_FALSE(Defined("pcm.a52"));
    EXPECT_FALSE(Defined("pcm.lavrate"));
    EXPECT_TRUE(Defined("pcm.default"));
    EXPECT_TRUE(Defined("pcm.samplerate")); // libsamplerate's, from the same package
    ASSERT_EQ(Pa_Initialize(), paNoError);
    EXPECT_FALSE(Mapped("libavcodec"));
    Pa_Terminate();
}
