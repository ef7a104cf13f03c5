#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "support/AudioFixtures.h"
#include "support/FakeCards.h"

#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

// Listeners that call back into the engine while they are told: a track end that replaces
// its own listener and seeks, a lost card whose listener asks for the output and replaces
// itself. Neither may hang.
TEST(ListenerTest, AListenerMayCallTheEngineThatCallsIt) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("tone.wav").toStdString();
    WriteWav(path, Tone(440, 0.05, 48000), 48000, 1);
    auto output = std::make_unique<audio::OfflineOutput>(48000, 256);
    audio::OfflineOutput& render = *output;
    audio::Engine engine(std::move(output));
    int ended = 0;
    engine.setTrackEndListener(0, [&](uint64_t) {
        ++ended;
        engine.seek(0, 0.0);
        engine.setTrackEndListener(0, [&](uint64_t) { ended += 10; });
    });
    engine.load(0, audio::OpenDecoder(path));
    engine.play(0);
    render.render(48000 / 5);
    EXPECT_EQ(ended, 11); // once the first listener, then, after its seek, the second

    FakeCards cards;
    audio::Engine live(cards.open(48000), cards.opener());
    std::atomic<int> told{0};
    live.setOutputListener([&](const audio::OutputChange&) {
        ++told;
        (void)live.outputName();
        live.setOutputListener([&](const audio::OutputChange&) { told += 10; });
    });
    ASSERT_TRUE(WaitFor([&] { return cards.card(0).frames > 0; }));
    cards.available = false;
    cards.fail(0);
    ASSERT_TRUE(WaitFor([&] { return told == 1; }));
    cards.available = true;
    EXPECT_TRUE(WaitFor([&] { return told == 11; }));
}
