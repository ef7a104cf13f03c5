#include "deck/player/StartAudioEngine.h"
#include "support/AudioFixtures.h"
#include "support/RecordingReporter.h"

#include <QCoreApplication>
#include <future>
#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>

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

namespace {
// A device that opened but refuses to start.
class DeadDevice : public audio::Output {
public:
    int sampleRate() const override { return 44100; }
    int bufferFrames() const override { return 256; }
    std::string name() const override { return "dead"; }
    void start(audio::OutputCallback&) override { throw std::runtime_error("will not start"); }
    void stop() override {}
};
} // namespace

// The device is opened while the window is built and handed over later: no device, or one
// that cannot start, still gives a playing engine and one message.
TEST(StartAudioEngineTest, ADeviceMissingOrDeadGivesSilenceAndOneMessage) {
    std::vector<std::unique_ptr<audio::Output>> devices;
    devices.push_back(nullptr);
    devices.push_back(std::make_unique<DeadDevice>());
    for (auto& device : devices) {
        test::RecordingReporter reporter;
        auto engine = StartAudioEngine(reporter, std::move(device));
        ASSERT_TRUE(engine);
        EXPECT_EQ(engine->outputName(), "silent");
        ASSERT_EQ(reporter.messages.size(), 1u);
        EXPECT_EQ(reporter.last().text, kNoAudioDevice);
    }
}

// The window is shown while PortAudio looks for the card: the engine starts by itself once
// the search ends, and its message comes from the event loop.
TEST(StartAudioEngineTest, APendingEngineStartsWhenTheSearchEnds) {
    test::RecordingReporter reporter;
    std::promise<void> searchMayEnd;
    PendingAudioEngine audio(reporter, [ended = searchMayEnd.get_future().share()] {
        ended.wait();
        return std::unique_ptr<audio::Output>();
    });
    QCoreApplication::processEvents();
    EXPECT_FALSE(audio.started());
    searchMayEnd.set_value();
    for (int wait = 0; wait < 500 && !audio.started(); ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(audio.started());
    EXPECT_EQ(audio.engine().outputName(), "silent");
    QCoreApplication::processEvents();
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.last().text, kNoAudioDevice);
}

// A player that needs the engine before the search ended waits for it; the message waits
// for the player's order to end.
TEST(StartAudioEngineTest, APlayerNeedingThePendingEngineWaitsForTheSearch) {
    test::RecordingReporter reporter;
    PendingAudioEngine audio(reporter, [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        return std::unique_ptr<audio::Output>();
    });
    EXPECT_EQ(audio.engine().outputName(), "silent");
    EXPECT_TRUE(reporter.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(reporter.messages.size(), 1u) << "told once, though the search also ended";
}
