#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <cmath>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

constexpr int kRate = 48000;
constexpr long kRampFrames = 192; // the few milliseconds of a start, pause or seek

// An engine rendering offline at 48 kHz, with files the tests write.
class EngineTest : public ::testing::Test {
protected:
    EngineTest() {
        auto output = std::make_unique<audio::OfflineOutput>(kRate, 256);
        driver = output.get();
        engine = std::make_unique<audio::Engine>(std::move(output));
        for (int d = 0; d < audio::Engine::kDecks; ++d)
            engine->setTrackEndListener(d, [this, d](uint64_t) { ended[d] = true; });
    }
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    std::string wav(const char* name, const std::vector<float>& mono, int rate = kRate) {
        WriteWav(path(name), mono, rate, 1);
        return path(name);
    }
    void load(int deck, const std::string& file) { engine->load(deck, audio::OpenDecoder(file)); }
    std::vector<float> render(double seconds) {
        return driver->render(std::lround(seconds * kRate));
    }

    QTemporaryDir dir;
    audio::OfflineOutput* driver = nullptr;
    std::unique_ptr<audio::Engine> engine;
    bool ended[audio::Engine::kDecks] = {};
};

} // namespace

// Heard through the master limiter bit for bit, its look-ahead later; and a seek lands on
// the frame asked for, its position known at once and held while paused.
TEST_F(EngineTest, FullLevelAtNormalSpeedPlaysTheDecodedSamplesExactlyAndSeeksToTheFrame) {
    const auto sweep = Sweep(1.5, kRate);
    std::string file = wav("sweep.wav", sweep);
    EncodeMp3(file, path("sweep.mp3"), "-b 256");
    const long delay = engine->masterDelayFrames();
    for (const std::string& played : {file, path("sweep.mp3")}) {
        const auto decoded = DecodeAll(played);
        load(0, played);
        engine->play(0);
        const auto out = render(2.0);
        for (long i = kRampFrames; i < static_cast<long>(decoded.size() / 2); ++i)
            ASSERT_EQ(out[2 * (i + delay)], decoded[2 * i]) << played << " frame " << i;
        EXPECT_LT(LastSoundingFrame(out), static_cast<long>(decoded.size() / 2) + delay);
        EXPECT_TRUE(ended[0]) << played;
        ended[0] = false;
    }
    load(0, file);
    engine->seek(0, 0.2345);
    EXPECT_DOUBLE_EQ(engine->position(0), 0.2345); // before any audio is heard
    engine->play(0);
    const auto out = render(0.5);
    const long first = std::lround(0.2345 * kRate) - delay;
    for (long i = kRampFrames + delay; i < kRate / 2; ++i)
        ASSERT_NEAR(out[2 * i], sweep[first + i], 1.0 / 32768) << i;
    EXPECT_NEAR(engine->position(0), 0.7345, 1e-9);
    engine->pause(0);
    render(0.1);
    const double paused = engine->position(0);
    render(0.3);
    EXPECT_DOUBLE_EQ(engine->position(0), paused);
    EXPECT_EQ(engine->underruns(), 0u);
}

// Levels are hundredths of a decibel and take effect within one buffer; mute leaves the level
// alone. Set while the deck stood still, a level is the one its first sound has: a start
// ramping down from the old level would open a fade in with a burst at full level.
TEST_F(EngineTest, LevelsAndCommandsTakeEffectWithinOneBufferAndHoldFromTheFirstSound) {
    load(0, wav("tone.wav", Tone(1000, 3, kRate)));
    engine->play(0);
    auto out = driver->render(256);
    EXPECT_GE(FirstSoundingFrame(out), 0);
    const double full = RmsDb(render(0.5), kRampFrames, kRate / 2);
    engine->setLevel(0, -2000);
    EXPECT_LT(RmsDb(driver->render(256), 128, 256), full - 0.01); // already on its way down
    engine->setLevel(0, -4500);
    EXPECT_NEAR(RmsDb(render(0.5), kRate / 10, kRate / 2) - full, -45.0, 0.1);
    engine->setMute(0, true);
    EXPECT_EQ(FirstSoundingFrame(render(0.2), kRate / 20), -1);
    engine->setMute(0, false);
    EXPECT_NEAR(RmsDb(render(0.3), kRate / 10, kRate * 3 / 10) - full, -45.0, 0.1);
    engine->pause(0);
    EXPECT_EQ(FirstSoundingFrame(render(0.1), 256), -1);
    engine->setLevel(0, -3600);
    engine->play(0);
    out = render(0.1);
    const long first = FirstSoundingFrame(out);
    ASSERT_GE(first, 0);
    EXPECT_NEAR(RmsDb(out, first + kRampFrames, first + kRampFrames + 48) - full, -36.0, 0.1);
}

// A fade's steps 50 ms apart, a jump from full level to the quietest, a pause, a start and a
// seek: none of them makes a step larger than the tone's own.
TEST_F(EngineTest, NoChangeOfLevelOrTransportSteps) {
    load(0, wav("tone.wav", Tone(440, 5, kRate, 0.9f)));
    const float toneStep = 0.9f * static_cast<float>(2 * M_PI * 440 / kRate) * 1.01f;
    engine->seek(0, 0.1234); // start mid-wave
    engine->play(0);
    std::vector<std::function<void()>> changes;
    for (int level = -100; level >= -1000; level -= 100)
        changes.push_back([this, level] { engine->setLevel(0, level); });
    changes.push_back([this] { engine->setLevel(0, 0), engine->setLevel(0, -4500); });
    changes.push_back([this] { engine->setLevel(0, 0), engine->pause(0); });
    changes.push_back([this] { engine->play(0); });
    changes.push_back([this] { engine->seek(0, 3.3333); });
    for (size_t i = 0; i < changes.size(); ++i) {
        const auto out = render(0.1);
        EXPECT_LE(LargestStep(out, 0, out.size() / 2), toneStep) << "before change " << i;
        changes[i]();
    }
    const auto out = render(0.1);
    EXPECT_LE(LargestStep(out, 0, out.size() / 2), toneStep);
}

// The rate changes the tempo, not the pitch, also of a file at another sample rate; positions
// are track time and a rate changed while playing goes on from where the deck is.
TEST_F(EngineTest, RateChangesTempoNotPitchAndOtherFileRatesAreResampled) {
    struct Case {
        int fileRate;
        double rate;
    } cases[] = {{kRate, 2.0}, {kRate, 0.5}, {44100, 1.0}, {44100, 2.0}};
    for (const Case& c : cases) {
        load(0, wav("tone.wav", Tone(440, 4, c.fileRate), c.fileRate));
        engine->setRate(0, c.rate);
        engine->play(0);
        const auto out = render(4 / c.rate + 0.5);
        EXPECT_NEAR(LastSoundingFrame(out) / double(kRate), 4 / c.rate, 0.03) << c.rate;
        EXPECT_NEAR(Frequency(out, 1000, 1000 + kRate, kRate), 440, c.rate == 1 ? 0.5 : 4.4)
            << c.fileRate << " " << c.rate;
        EXPECT_TRUE(ended[0]);
        ended[0] = false;
    }
    load(0, wav("tone.wav", Tone(440, 10, kRate)));
    engine->play(0);
    render(2.0);
    EXPECT_NEAR(engine->position(0), 4.0, 0.01); // still at double speed
    engine->setRate(0, 1.0);
    render(1.0);
    EXPECT_NEAR(engine->position(0), 5.0, 0.02);
}

// Four decks sum exactly; two tracks mastered to -1 dBFS together are limited, not clipped.
TEST_F(EngineTest, FourDecksMixAndTwoLoudOnesAreLimitedNotClipped) {
    const double tones[] = {220, 330, 550, 770};
    std::vector<std::vector<float>> alone;
    for (int d = 0; d < 4; ++d) {
        load(d, wav(("t" + std::to_string(d) + ".wav").c_str(), Tone(tones[d], 1, kRate, 0.2f)));
        engine->play(d);
        alone.push_back(render(0.5));
        engine->pause(d);
        engine->seek(d, 0);
        render(0.1);
    }
    for (int d = 0; d < 4; ++d)
        engine->play(d);
    const auto mixed = render(0.5);
    for (long i = 0; i < kRate / 2; i += 7)
        ASSERT_NEAR(mixed[2 * i],
                    alone[0][2 * i] + alone[1][2 * i] + alone[2][2 * i] + alone[3][2 * i], 1e-5);

    const float loud = static_cast<float>(std::pow(10.0, -1.0 / 20));
    load(0, wav("a.wav", Tone(440, 3, kRate, loud)));
    load(1, wav("b.wav", Tone(550, 3, kRate, loud)));
    engine->play(0);
    engine->play(1);
    const uint64_t limited = engine->limitedBuffers();
    engine->takeMasterLevels();
    EXPECT_LE(PeakOf(render(2.5)), std::pow(10.0, -0.3 / 20));
    const float metered =
        engine->takeMasterLevels().peak[0]; // the master's meter is after the limiter
    EXPECT_LE(20 * std::log10(metered), audio::MasterLimiter::kCeilingDb + 0.01);
    // The tones' peaks never quite meet: the sum reaches 1.74, not twice 0.89.
    EXPECT_NEAR(engine->limiterReductionDb(), 20 * std::log10(1.74 / 0.944), 0.1);
    EXPECT_GT(engine->limitedBuffers(), limited);
}

// The meters read what each deck sends to the master (after its level and mute) and the
// master itself, in every block since the last look.
TEST_F(EngineTest, MetersReadEachDecksLevelAfterItsFaderAndTheMasters) {
    const double toneDb = -12;
    const auto tone = wav("tone.wav", Tone(1000, 3, kRate, float(std::pow(10, toneDb / 20))));
    for (int d = 0; d < 3; ++d) {
        load(d, tone);
        engine->play(d);
    }
    engine->setLevel(1, -2250); // the volume law's level of a deck at volume 50
    engine->setMute(2, true);
    render(0.5);
    for (int d = 0; d < 3; ++d)
        engine->takeDeckLevels(d); // the starts' ramps are not measured
    engine->takeMasterLevels();
    render(1.0);
    auto dB = [](float linear) { return 20 * std::log10(double(linear)); };
    const audio::LevelReading full = engine->takeDeckLevels(0);
    EXPECT_NEAR(dB(full.peak[0]), toneDb, 0.5);
    EXPECT_NEAR(dB(full.rms[1]), toneDb - 3.01, 0.5); // a sine's RMS
    EXPECT_NEAR(dB(engine->takeDeckLevels(1).peak[1]), toneDb - 22.5, 0.5);
    EXPECT_EQ(engine->takeDeckLevels(2).rms[0], 0) << "muted";
    // The two decks heard are in phase: the master is their sum.
    EXPECT_NEAR(dB(engine->takeMasterLevels().peak[1]), toneDb + dB(1 + std::pow(10, -22.5 / 20)),
                0.5);
    EXPECT_EQ(engine->takeDeckLevels(0).peak[0], 0) << "nothing played since the last look";
}

// A file cut short on disk while it plays (a card pulled, a copy overwritten) ends where its
// data ends, as a track's end; a copy whose middle third is overwritten with noise plays the
// frames on either side, joined by a ramp out and in. No crash, no click, no noise, no hang.
TEST_F(EngineTest, AFileCutShortOrDamagedWhileItPlaysEndsOrPlaysAroundItCleanly) {
    const float amplitude = 0.2f;
    WriteWav(path("tone.wav"), Tone(440, 6, 44100, amplitude), 44100, 1);
    EncodeMp3(path("tone.wav"), path("tagged.mp3"), "-b 128");
    EncodeMp3(path("tone.wav"), path("bare.mp3"), "-t -V 4");
    const float rampStep = amplitude / kRampFrames;
    const float toneStep = amplitude * static_cast<float>(2 * M_PI * 440 / kRate);
    const std::pair<const char*, bool> cases[] = {{"tone.wav", true},
                                                  {"tagged.mp3", true},
                                                  {"bare.mp3", true},
                                                  {"tagged.mp3", false},
                                                  {"bare.mp3", false}};
    for (const auto& [name, cut] : cases) {
        std::string bytes = ReadBytes(path(name));
        unsigned seed = 7;
        for (size_t i = bytes.size() / 3; !cut && i < 2 * bytes.size() / 3; ++i)
            bytes[i] = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
        WriteBytes(path("playing"), bytes);
        load(0, path("playing"));
        engine->play(0);
        auto out = render(0.5);
        if (cut)
            std::filesystem::resize_file(path("playing"), bytes.size() / 2);
        const auto rest = render(6);
        out.insert(out.end(), rest.begin(), rest.end());
        EXPECT_TRUE(ended[0]) << name << cut;
        ended[0] = false;
        EXPECT_LE(PeakOf(out), amplitude * 1.1f) << name << cut;
        const long last = LastSoundingFrame(out);
        if (cut) {
            EXPECT_GT(last, 2.0 * kRate) << name;
            EXPECT_LT(last, 4.5 * kRate) << name; // not the whole six seconds
            continue;
        }
        EXPECT_LE(LargestStep(out, 0, out.size() / 2), (toneStep + rampStep) * 1.1f) << name;
        EXPECT_GT(last, 3.6 * kRate) << name;
        EXPECT_NEAR(ToneDb(out, last - kRate / 2, last - kRate / 20, 440, kRate),
                    20 * std::log10(amplitude), 1.0)
            << name;
    }
}
