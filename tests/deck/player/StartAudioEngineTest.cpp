#include "deck/player/StartAudioEngine.h"
#include "support/AudioFixtures.h"
#include "support/RecordingReporter.h"

#include <gtest/gtest.h>

// PortAudio's back ends keep their configuration caches for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libasound\nleak:libasound_module\nleak:libpulse\nleak:libportaudio\nleak:"
           "libjack\nleak:libdbus\n";
}

using namespace velmor;

// Whatever this machine has: a sound card and no message, or silence and one message.
TEST(StartAudioEngineTest, FallsBackToSilenceAndSaysSoOnce) {
    test::KeepSoundPluginsLoaded();
    test::RecordingReporter reporter;
    auto engine = StartAudioEngine(reporter);
    ASSERT_TRUE(engine);
    if (engine->outputName() == "silent") {
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.last().text, kNoAudioDevice);
        EXPECT_EQ(reporter.last().title, "Velmor");
        EXPECT_EQ(reporter.last().icon, Icon::Exclamation);
    } else {
        EXPECT_TRUE(reporter.empty());
    }
}
