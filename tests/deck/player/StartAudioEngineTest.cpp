#include "deck/player/StartAudioEngine.h"
#include "deck/player/EngineOutputs.h"
#include "support/AudioFixtures.h"
#include "support/FakeCards.h"
#include "support/RecordingReporter.h"

#include <QCoreApplication>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <stdexcept>

// PortAudio's back ends keep their configuration caches for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libasound\nleak:libasound_module\nleak:libpulse\nleak:libportaudio\nleak:"
           "libjack\nleak:libdbus\n";
}

using namespace velmor;

namespace {

// Waits, the event loop running, until `done`.
bool ProcessEventsUntil(const std::function<bool()>& done) {
    return test::WaitFor([&] {
        QCoreApplication::processEvents();
        return done();
    });
}

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

// The window is shown while PortAudio looks for the card: the engine starts by itself once
// the search ends, or at once for a player that needs it sooner. No device, or one that
// cannot start, still gives a playing engine and one notice, from the event loop.
TEST(StartAudioEngineTest, APendingEngineStartsSilentWithOneNoticeWhenTheCardIsMissingOrDead) {
    const std::pair<bool, bool> rows[] = {{false, false}, {false, true}, {true, false}};
    for (const auto& [dead, playerFirst] : rows) {
        SCOPED_TRACE(std::to_string(dead) + std::to_string(playerFirst));
        test::RecordingReporter reporter;
        std::promise<void> searchMayEnd;
        PendingAudioEngine audio(
            reporter,
            [ended = searchMayEnd.get_future().share(), dead = dead] {
                ended.wait();
                return dead ? std::make_unique<DeadDevice>() : std::unique_ptr<audio::Output>();
            },
            [](int) { return std::unique_ptr<audio::Output>(); });
        QCoreApplication::processEvents();
        EXPECT_FALSE(audio.started());
        searchMayEnd.set_value();
        if (playerFirst) {
            EXPECT_EQ(audio.engine().outputName(), "silent");
            EXPECT_TRUE(reporter.notices.empty()) << "the message waits for the player's order";
        }
        ASSERT_TRUE(ProcessEventsUntil([&] { return !reporter.notices.empty(); }));
        QCoreApplication::processEvents();
        EXPECT_EQ((std::tuple{audio.started(), audio.engine().outputName(), reporter.empty()}),
                  (std::tuple{true, std::string("silent"), true}));
        EXPECT_EQ(reporter.notices, std::vector<QString>{kNoAudioDevice});
    }
}

// Losing the card mid-set and getting it back are told, once each, without a box.
TEST(StartAudioEngineTest, ALostCardAndItsReturnAreToldWithoutBlocking) {
    test::RecordingReporter reporter;
    test::FakeCards cards;
    auto engine = StartAudioEngine(reporter, cards.open(48000), cards.opener());
    cards.available = false, cards.fail(0);
    ASSERT_TRUE(ProcessEventsUntil([&] { return reporter.notices.size() == 1; }));
    cards.available = true;
    ASSERT_TRUE(ProcessEventsUntil([&] { return reporter.notices.size() == 2; }));
    EXPECT_EQ(reporter.notices,
              (std::vector<QString>{kAudioDeviceLost, QString(kAudioDeviceBack).arg("card 2")}));
    EXPECT_TRUE(reporter.empty());
}

// The card the set-up keeps is not there at the start: the default card plays in its place,
// with a notice that names the missing one, and the kept card plays again once it opens. The
// set-up goes on naming the kept card throughout.
TEST(StartAudioEngineTest, AMissingKeptCardFallsBackToTheDefaultNamedAndIsTakenBack) {
    test::RecordingReporter reporter;
    test::FakeCards kept, standIn;
    kept.prefix = "USB";
    kept.available = false;
    const KeptCard card("USB 1", kept.opener(), standIn.opener());
    auto engine = StartAudioEngine(reporter, card.opener()(48000), card.opener());
    AudioSetup setup;
    setup.device = "USB 1";
    EngineOutputs outputs(
        setup, [&]() -> audio::Engine& { return *engine; }, reporter, card);
    outputs.attach(*engine);
    EXPECT_EQ(engine->outputName(), "card 1");
    EXPECT_EQ(reporter.notices, std::vector<QString>{QString::fromUtf8(
                                    "The sound card \u201cUSB 1\u201d is not there: playing "
                                    "through the system's default card until it is back.")});

    outputs.lookForKeptCard(); // still not there: told once
    EXPECT_EQ(engine->outputName(), "card 1");
    EXPECT_EQ(reporter.notices.size(), 1u);

    kept.available = true;
    outputs.lookForKeptCard();
    EXPECT_EQ(engine->outputName(), "USB 1");
    EXPECT_EQ(standIn.card(0).callback.load(), nullptr) << "the default card was let go";
    EXPECT_EQ(reporter.notices.back(), QString(kKeptCardBack).arg("USB 1"));
    EXPECT_EQ(outputs.Setup().device, "USB 1");
    EXPECT_TRUE(reporter.empty()) << "no box";
}
