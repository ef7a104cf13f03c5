#include "audio/Engine.h"
#include "support/AudioFixtures.h"
#include "support/FakeCards.h"

#include <QTemporaryDir>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

// The card goes away mid-track, saying so (its stream ended) or not (it stops calling back);
// the deck plays on in silence, and when a card is there again the sound comes back where
// the deck has got to. The track's samples tell the time: a ramp, 0.5 at 20 s. Underflows
// the card reports are underruns. Meanwhile commands reach a second deck, muted, and its track
// ends, all while the reader, audio and keeper threads run (ThreadSanitizer watches this).
TEST(EngineThreadTest, ALostCardComesBackAndTheDeckIsHeardWhereItHasGotTo) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("ramp.wav").toStdString();
    std::vector<float> ramp(20 * 48000);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = 0.5f * static_cast<float>(i) / static_cast<float>(ramp.size());
    WriteWav(path, ramp, 48000, 1);
    for (bool saysSo : {true, false}) {
        // What the listener uses outlives the engine, whose keeper thread may still be in it.
        std::atomic<int> lost{0}, back{0};
        std::atomic<bool> ended{false};
        std::function<void(const audio::OutputChange&)> told;
        FakeCards cards;
        audio::Engine engine(cards.open(48000), cards.opener());
        // The listener asks the engine while it is told and replaces itself: neither may hang.
        told = [&](const auto& change) {
            ++(change.kind == audio::OutputChange::Lost ? lost : back);
            (void)engine.outputName();
            engine.setOutputListener(told);
        };
        engine.setOutputListener(told);
        cards.card(0).underflows = 2;
        engine.load(0, audio::OpenDecoder(path));
        engine.play(0);
        ASSERT_TRUE(WaitFor([&] { return cards.card(0).frames > 48000 * 3 / 2; }));
        EXPECT_EQ(engine.underruns(), 2u);
        engine.setTrackEndListener(1, [&](uint64_t) { ended = true; });
        engine.load(1, audio::OpenDecoder(path));
        engine.setMute(1, true);
        engine.setRate(1, 2.0);
        engine.play(1);
        engine.seek(1, 19.7);
        engine.setLevel(1, -600);
        ASSERT_TRUE(WaitFor([&] { return ended.load(); }));
        EXPECT_NEAR(engine.position(1), 20.0, 1e-6);
        cards.available = false;
        if (saysSo)
            cards.fail(0);
        else
            cards.card(0).stalled = true;
        ASSERT_TRUE(WaitFor([&] { return lost == 1; })) << saysSo;
        EXPECT_TRUE(engine.silent());
        const double atLoss = engine.position(0);
        ASSERT_TRUE(WaitFor([&] { return engine.position(0) > atLoss + 0.3; }))
            << "the deck stands still without its card";
        cards.available = true;
        ASSERT_TRUE(WaitFor([&] { return cards.count() == 2; })) << "the card is opened again";
        ASSERT_TRUE(WaitFor([&] { return cards.card(1).frames > 4800; })) << "and plays";
        const double heard = cards.card(1).lastSample / 0.5 * 20;
        EXPECT_NEAR(heard, engine.position(0), 0.1) << saysSo;
        EXPECT_GT(heard, atLoss + 0.3) << saysSo;
        EXPECT_EQ(lost, 1) << saysSo;
        EXPECT_EQ(back, 1) << saysSo;
        EXPECT_EQ(cards.lastRateAsked(), 48000) << saysSo;
        EXPECT_EQ(engine.outputName(), "card 2") << saysSo;
        EXPECT_FALSE(engine.silent()) << saysSo;
    }
}

namespace {
// Whether a thread of this process has the name, as a profile or `top -H` shows it.
bool Named(const std::string& name) {
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string line;
        if (std::getline(comm, line) && line == name)
            return true;
    }
    return false;
}
} // namespace

// Every thread the engine starts says what it is: the four readers, the keeper of the
// output, and the output's own thread that calls the mix.
TEST(EngineThreadTest, TheEnginesThreadsAreNamed) {
    FakeCards cards;
    audio::Engine engine(cards.open(48000), cards.opener());
    ASSERT_TRUE(WaitFor([] { return Named("velmor audio"); }));
    for (const char* name :
         {"velmor read 1", "velmor read 2", "velmor read 3", "velmor read 4", "velmor keeper"})
        EXPECT_TRUE(Named(name)) << name;
}
