#include "audio/AlsaPcmList.h"
#include "audio/PortAudioOutput.h"

#include <alsa/asoundlib.h>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

using namespace velmor;

namespace {

bool Defined(const char* pcm) {
    snd_config_t* node = nullptr;
    return snd_config && snd_config_search(snd_config, pcm, &node) == 0;
}

// The most the process has held, in kB.
long PeakKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

} // namespace

// PortAudio opens every PCM of ALSA's configuration to list it. Here the look takes about
// 7 MB of pages (PulseAudio's, JACK's and ALSA's other plug-ins); FFmpeg's two PCMs would add
// libavcodec and some sixty libraries behind it, 12 MB more.
TEST(AlsaPcmListTest, ListingTheDevicesLeavesFfmpegOut) {
    const long before = PeakKb();
    audio::PortAudioOutput::Devices();
    EXPECT_LT(PeakKb() - before, 12 * 1024);
}

TEST(AlsaPcmListTest, OnlyFfmpegsPcmsAreLeftOut) {
    audio::LeaveOutFfmpegPcms();
    EXPECT_FALSE(Defined("pcm.a52"));
    EXPECT_FALSE(Defined("pcm.lavrate"));
    EXPECT_TRUE(Defined("pcm.default"));
    EXPECT_TRUE(Defined("pcm.samplerate")); // libsamplerate's, from the same package
}
