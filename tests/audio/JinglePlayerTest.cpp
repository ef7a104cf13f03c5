#include "audio/Decoder.h"
#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

constexpr int kRate = 48000;
constexpr int kBuffer = 256;

struct JinglePlayerTest : ::testing::Test {
    JinglePlayerTest() {
        auto output = std::make_unique<audio::OfflineOutput>(kRate, kBuffer);
        driver = output.get();
        engine = std::make_unique<audio::Engine>(std::move(output));
    }
    std::string wav(const char* name, const std::vector<float>& mono, int rate = kRate) {
        const std::string file = dir.filePath(name).toStdString();
        WriteWav(file, mono, rate, 1);
        return file;
    }
    std::vector<float> render(long frames) { return driver->render(frames); }

    QTemporaryDir dir;
    audio::OfflineOutput* driver = nullptr;
    std::unique_ptr<audio::Engine> engine;
};

} // namespace

// Over a deck playing one tone, a jingle of another is heard from the next buffer on, at the
// jingles' level and not dipped under a voice; stopped, it is gone by the buffer after.
TEST_F(JinglePlayerTest, AJingleStartsWithinOneBufferOverADeckAndStopsWhenStopped) {
    engine->load(0, audio::OpenDecoder(wav("deck.wav", Tone(440, 4, kRate, 0.2f))));
    engine->play(0);
    audio::JinglePlayer& jingles = engine->jingles();
    jingles.setSound(
        2, audio::ReadJingle(wav("jingle.wav", Tone(1500, 2, 44100, 0.2f), 44100), kRate, 60));
    render(kRate / 2);
    engine->duck().set(true);
    jingles.play(2);
    EXPECT_TRUE(jingles.playing(2));
    const long delay = engine->masterDelayFrames();
    const auto out = render(kRate / 2);
    EXPECT_NEAR(ToneDb(out, delay + kBuffer, kRate / 2, 1500, kRate), -14.0, 0.2);
    EXPECT_NEAR(ToneDb(out, delay + kRate / 4, kRate / 2, 440, kRate), -14.0 - 15.0, 0.2);

    jingles.stop(2);
    EXPECT_FALSE(jingles.playing(2));
    const auto after = render(kRate / 4);
    EXPECT_LT(ToneDb(after, delay + kBuffer, kRate / 4, 1500, kRate), -90);
}

TEST_F(JinglePlayerTest, AJinglePlaysOnceToItsEndAtTheJinglesLevel) {
    audio::JinglePlayer& jingles = engine->jingles();
    jingles.setSound(0,
                     audio::ReadJingle(wav("short.wav", Tone(1000, 0.5, kRate, 0.5f)), kRate, 60));
    jingles.setLevel(0.5f);
    render(kRate / 10); // the level's ramp run through
    jingles.play(0);
    const auto out = render(kRate);
    EXPECT_NEAR(ToneDb(out, kRate / 10, kRate / 5, 1000, kRate), -12.0, 0.1);
    EXPECT_EQ(LastSoundingFrame(out), kRate / 2 + engine->masterDelayFrames() - 1);
    EXPECT_FALSE(jingles.playing(0));
    EXPECT_NEAR(jingles.takeLevels().peak[0], 0.25f, 0.01f) << "the jingles' meter";
}

// A file longer than a jingle may be is refused with its length.
TEST_F(JinglePlayerTest, AFileTooLongIsRefusedWithItsLength) {
    try {
        audio::ReadJingle(wav("long.wav", Tone(1000, 3, 8000), 8000), kRate, 2.0);
        FAIL() << "a 3 s file read as a 2 s jingle";
    } catch (const audio::JingleTooLong& tooLong) {
        EXPECT_DOUBLE_EQ(tooLong.seconds(), 3.0);
    }
}
