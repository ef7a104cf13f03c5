#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

constexpr int kRate = 48000;
constexpr long kCycle = 48; // of the 1 kHz tone

// A deck playing a steady tone at -12 dBFS to the room, the headphones on channels 3-4
// hearing the main mix alone.
struct DuckTest : ::testing::Test {
    DuckTest() {
        auto output = std::make_unique<audio::OfflineOutput>(kRate, 256, 4);
        driver = output.get();
        engine = std::make_unique<audio::Engine>(std::move(output));
        engine->routeHeadphones(audio::HeadphoneRoute::MainChannels);
        engine->setCueMix(1.0f);
        const std::string file = dir.filePath("tone.wav").toStdString();
        WriteWav(file, Tone(1000, 6, kRate, 0.25f), kRate, 1);
        engine->load(0, audio::OpenDecoder(file));
        engine->play(0);
        render(0.5);
    }
    // The main mix and the headphones of the next `seconds`.
    void render(double seconds) {
        const auto quad = driver->render(std::lround(seconds * kRate));
        main.clear();
        phones.clear();
        for (size_t i = 0; i < quad.size(); i += 4) {
            main.insert(main.end(), {quad[i], quad[i + 1]});
            phones.insert(phones.end(), {quad[i + 2], quad[i + 3]});
        }
    }
    // The level of the cycle heard at `seconds` into the latest render, against the tone's.
    double mainDb(double seconds) const { return cycleDb(main, seconds); }
    double phonesDb(double seconds) const { return cycleDb(phones, seconds); }
    double cycleDb(const std::vector<float>& stereo, double seconds) const {
        const long from = std::lround(seconds * kRate) + engine->masterDelayFrames();
        return RmsDb(stereo, from, from + kCycle) - kToneDb;
    }

    const double kToneDb = RmsDb(Stereo(Tone(1000, 0.01, kRate, 0.25f)), 0, kCycle);
    QTemporaryDir dir;
    audio::OfflineOutput* driver = nullptr;
    std::unique_ptr<audio::Engine> engine;
    std::vector<float> main, phones;
};

} // namespace

// The dip falls in a straight line in decibels over 150 ms, by 15 dB or the depth set, holds,
// and comes back the same way over a second; the headphones hear the mix as it was.
TEST_F(DuckTest, TheMainMixDipsOver150MsAndComesBackOverASecondButNotInTheHeadphones) {
    engine->duck().set(true);
    render(0.5);
    EXPECT_NEAR(mainDb(0.0), 0.0, 0.3);
    EXPECT_NEAR(mainDb(0.075), -7.5, 0.3);
    EXPECT_NEAR(mainDb(0.150), -15.0, 0.3);
    EXPECT_NEAR(mainDb(0.400), -15.0, 0.05);
    EXPECT_NEAR(phonesDb(0.400), 0.0, 0.05);
    EXPECT_DOUBLE_EQ(engine->duck().dipDb(), 15.0);

    engine->duck().set(false);
    render(1.5);
    EXPECT_NEAR(mainDb(0.150), -12.75, 0.3);
    EXPECT_NEAR(mainDb(0.500), -7.5, 0.3);
    EXPECT_NEAR(mainDb(0.990), -0.15, 0.3);
    EXPECT_NEAR(mainDb(1.200), 0.0, 0.05);
    EXPECT_NEAR(phonesDb(0.500), 0.0, 0.05);

    engine->duck().setDepth(24);
    engine->duck().set(true);
    render(0.5);
    EXPECT_NEAR(mainDb(0.075), -12.0, 0.3);
    EXPECT_NEAR(mainDb(0.400), -24.0, 0.05);
}
