#include "audio/Engine.h"
#include "audio/NullOutput.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace velmor;
using namespace velmor::test;

// The engine as the program runs it: a reader thread, an audio thread keeping real time,
// and commands from this thread while both run. ThreadSanitizer watches this one.
TEST(EngineThreadTest, DecksPlaySeekAndEndWhileTheThreadsRun) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("tone.wav").toStdString();
    WriteWav(path, Tone(440, 0.6, 44100), 44100, 1);
    audio::Engine engine(std::make_unique<audio::NullOutput>(48000, 256));
    std::atomic<int> ended{0};
    for (int d = 0; d < audio::Engine::kDecks; ++d) {
        engine.setTrackEndListener(d, [&ended](uint64_t) { ++ended; });
        engine.load(d, audio::OpenDecoder(path));
        engine.setRate(d, d % 2 ? 2.0 : 1.0);
        engine.setLevel(d, -600 * d);
        engine.play(d);
    }
    engine.seek(0, 0.3);
    engine.setMute(1, true);
    engine.setRate(2, 1.5);
    // Generous: the tracks last at most 0.6 s; this only keeps a broken engine from hanging.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (ended < audio::Engine::kDecks && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ended, audio::Engine::kDecks);
    EXPECT_NEAR(engine.position(3), 0.6, 1e-6);
}

namespace {

// A sound card that goes away as soon as it starts.
class VanishingOutput : public audio::Output {
public:
    int sampleRate() const override { return 48000; }
    int bufferFrames() const override { return 256; }
    std::string name() const override { return "vanishing"; }
    void start(audio::OutputCallback& callback) override { callback.outputLost(); }
    void stop() override {}
};

} // namespace

TEST(EngineThreadTest, ALostDeviceGivesWayToSilenceAndTheDecksPlayOn) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("tone.wav").toStdString();
    WriteWav(path, Tone(440, 0.3, 48000), 48000, 1);
    audio::Engine engine(std::make_unique<VanishingOutput>());
    std::atomic<int> told{0};
    std::atomic<bool> ended{false};
    engine.setOutputLostListener([&told] { ++told; });
    engine.setTrackEndListener(0, [&ended](uint64_t) { ended = true; });
    engine.load(0, audio::OpenDecoder(path));
    engine.play(0);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!ended && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(ended);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(engine.outputName(), "silent");
}
