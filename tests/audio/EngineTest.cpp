#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <cmath>
#include <filesystem>
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

TEST_F(EngineTest, FullLevelAtNormalSpeedPlaysTheDecodedSamplesExactly) {
    for (const char* kind : {"wav", "mp3"}) {
        std::string file = wav("sweep.wav", Sweep(1.5, kRate));
        if (std::string(kind) == "mp3") {
            EncodeMp3(file, path("sweep.mp3"), "-b 256");
            file = path("sweep.mp3");
        }
        const auto decoded = DecodeAll(file);
        load(0, file);
        engine->play(0);
        const auto out = render(2.0);
        // Heard through the master limiter, bit for bit, its look-ahead later.
        const long delay = engine->masterDelayFrames();
        for (long i = kRampFrames; i < static_cast<long>(decoded.size() / 2); ++i)
            ASSERT_EQ(out[2 * (i + delay)], decoded[2 * i]) << kind << " frame " << i;
        EXPECT_LT(LastSoundingFrame(out), static_cast<long>(decoded.size() / 2) + delay);
        EXPECT_TRUE(ended[0]) << kind;
        ended[0] = false;
    }
    EXPECT_EQ(engine->underruns(), 0u);
}

TEST_F(EngineTest, LevelIsHundredthsOfADecibelAndMuteLeavesItAlone) {
    load(0, wav("tone.wav", Tone(1000, 3, kRate)));
    engine->play(0);
    const double full = RmsDb(render(0.5), kRampFrames, kRate / 2);
    engine->setLevel(0, -4500);
    EXPECT_NEAR(RmsDb(render(0.5), kRate / 10, kRate / 2) - full, -45.0, 0.1);
    engine->setMute(0, true);
    const auto muted = render(0.2);
    EXPECT_EQ(FirstSoundingFrame(muted, kRate / 20), -1);
    engine->setMute(0, false);
    EXPECT_NEAR(RmsDb(render(0.3), kRate / 10, kRate * 3 / 10) - full, -45.0, 0.1);
}

// Set while the deck stood still, a level is the one its first sound has: a start ramping
// down from the old level would open a fade in with a burst at full level.
TEST_F(EngineTest, ALevelSetWhileStandingStillHoldsFromTheFirstSound) {
    load(0, wav("tone.wav", Tone(1000, 3, kRate)));
    engine->play(0);
    const double full = RmsDb(render(0.5), kRampFrames, kRate / 2);
    engine->pause(0);
    render(0.1);
    engine->setLevel(0, -3600);
    engine->play(0);
    const auto out = render(0.1);
    const long first = FirstSoundingFrame(out);
    ASSERT_GE(first, 0);
    EXPECT_NEAR(RmsDb(out, first + kRampFrames, first + kRampFrames + 48) - full, -36.0, 0.1);
    EXPECT_NEAR(RmsDb(out, first + kRampFrames, kRate / 10) - full, -36.0, 0.1);
}

TEST_F(EngineTest, NoChangeOfLevelOrTransportSteps) {
    load(0, wav("tone.wav", Tone(440, 5, kRate, 0.9f)));
    const float toneStep = 0.9f * static_cast<float>(2 * M_PI * 440 / kRate) * 1.01f;
    engine->seek(0, 0.1234); // start mid-wave
    engine->play(0);
    auto out = render(0.2);
    EXPECT_LE(LargestStep(out, 0, kRate / 5), toneStep);
    // A fade's steps, 50 ms apart, and a jump from full level to the quietest.
    for (int level = -100; level >= -1000; level -= 100) {
        engine->setLevel(0, level);
        out = render(0.05);
        EXPECT_LE(LargestStep(out, 0, out.size() / 2), toneStep);
    }
    engine->setLevel(0, 0);
    engine->setLevel(0, -4500);
    out = render(0.1);
    EXPECT_LE(LargestStep(out, 0, out.size() / 2), toneStep);
    engine->setLevel(0, 0);
    for (auto command : {&audio::Engine::pause, &audio::Engine::play}) {
        (engine.get()->*command)(0);
        out = render(0.1);
        EXPECT_LE(LargestStep(out, 0, out.size() / 2), toneStep);
    }
    engine->seek(0, 3.3333);
    out = render(0.1);
    EXPECT_LE(LargestStep(out, 0, out.size() / 2), toneStep);
}

TEST_F(EngineTest, CommandsTakeEffectWithinOneBuffer) {
    load(0, wav("tone.wav", Tone(440, 3, kRate)));
    engine->seek(0, 0.5);
    render(0.1);
    engine->play(0);
    auto out = driver->render(256);
    EXPECT_GE(FirstSoundingFrame(out), 0);
    EXPECT_LT(FirstSoundingFrame(out), 256);
    render(0.1);
    engine->setLevel(0, -2000);
    out = driver->render(256);
    const auto before = Tone(440, 3, kRate);
    // Already quieter than the full-level tone within this one buffer.
    EXPECT_LT(RmsDb(out, 128, 256), RmsDb(Stereo(before), 128, 256) - 0.01);
    engine->pause(0);
    out = render(0.05);
    EXPECT_EQ(FirstSoundingFrame(out, 256), -1);
}

TEST_F(EngineTest, SeeksLandWhereAskedAndPositionsFollowTheTrack) {
    const auto sweep = Sweep(4, kRate);
    load(0, wav("sweep.wav", sweep));
    render(0.1);
    EXPECT_DOUBLE_EQ(engine->position(0), 0.0);
    engine->seek(0, 1.2345);
    EXPECT_DOUBLE_EQ(engine->position(0), 1.2345); // at once, before any audio is heard
    engine->play(0);
    auto out = render(0.5);
    const long first = std::lround(1.2345 * kRate) - engine->masterDelayFrames();
    for (long i = kRampFrames + engine->masterDelayFrames(); i < kRate / 2; ++i)
        ASSERT_NEAR(out[2 * i], sweep[first + i], 1.0 / 32768) << i;
    EXPECT_NEAR(engine->position(0), 1.7345, 1e-9);
    engine->pause(0);
    render(0.1);
    const double paused = engine->position(0);
    render(0.3);
    EXPECT_DOUBLE_EQ(engine->position(0), paused);

    // MP3: the heard audio matches the straight decode at the same place within 1 ms.
    EncodeMp3(path("sweep.wav"), path("sweep.mp3"), "-b 256");
    const auto decoded = DecodeAll(path("sweep.mp3"));
    load(1, path("sweep.mp3"));
    engine->seek(1, 2.5);
    engine->play(1);
    out = render(0.3);
    long bestLag = 0;
    double bestError = 1e9;
    for (long lag = -96; lag <= 96; ++lag) {
        double error = 0;
        for (long i = 1000; i < 10000; ++i)
            error += std::abs(out[2 * i] - decoded[2 * (120000 + i + lag)]);
        if (error < bestError)
            bestError = error, bestLag = lag;
    }
    EXPECT_LE(std::abs(bestLag), 48);
}

TEST_F(EngineTest, RateChangesTempoNotPitch) {
    for (double rate : {2.0, 0.5}) {
        load(0, wav("tone.wav", Tone(440, 10, kRate)));
        engine->setRate(0, rate);
        engine->play(0);
        const auto out = render(10 / rate + 1);
        EXPECT_NEAR(LastSoundingFrame(out) / double(kRate), 10 / rate, 0.05) << rate;
        EXPECT_NEAR(Frequency(out, kRate, kRate * 4, kRate), 440, 4.4) << rate;
        EXPECT_TRUE(ended[0]);
        ended[0] = false;
        engine->setRate(0, 1.0);
    }
    // Positions are track time: two seconds heard at double speed are four of the track.
    load(0, wav("tone.wav", Tone(440, 10, kRate)));
    engine->setRate(0, 2.0);
    engine->play(0);
    render(2.0);
    EXPECT_NEAR(engine->position(0), 4.0, 0.01);
    engine->setRate(0, 1.0); // changed while playing: goes on from where it is
    render(1.0);
    EXPECT_NEAR(engine->position(0), 5.0, 0.02);
}

TEST_F(EngineTest, OtherFileRatesAreResampled) {
    load(0, wav("tone.wav", Tone(440, 2, 44100), 44100));
    engine->play(0);
    const auto out = render(2.5);
    EXPECT_NEAR(Frequency(out, 1000, kRate, kRate), 440, 0.5);
    EXPECT_NEAR(LastSoundingFrame(out) / double(kRate), 2.0, 0.01);
    // Both at once: double speed and another rate.
    engine->seek(0, 0);
    engine->setRate(0, 2.0);
    const auto fast = render(1.5);
    EXPECT_NEAR(Frequency(fast, 1000, kRate * 9 / 10, kRate), 440, 4.4);
    EXPECT_NEAR(LastSoundingFrame(fast) / double(kRate), 1.0, 0.02);
}

TEST_F(EngineTest, FourDecksMixAndStopRewinds) {
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
    engine->pause(2);
    engine->seek(2, 0);
    render(0.05);
    EXPECT_DOUBLE_EQ(engine->position(2), 0.0);
}

// Two tracks mastered to -1 dBFS, both at full level: the sum is limited, not clipped.
TEST_F(EngineTest, TwoLoudDecksTogetherAreLimitedNotClipped) {
    const float loud = static_cast<float>(std::pow(10.0, -1.0 / 20));
    load(0, wav("a.wav", Tone(440, 3, kRate, loud)));
    load(1, wav("b.wav", Tone(550, 3, kRate, loud)));
    engine->play(0);
    engine->play(1);
    const auto out = render(2.5);
    EXPECT_LE(PeakOf(out), std::pow(10.0, -0.3 / 20));
    EXPECT_GE(DistortionBelowTonesDb(out, kRate, 2 * kRate, kRate, {440, 550}, 110), 40.0);
    // The tones' peaks never quite meet: the sum reaches 1.74, not twice 0.89.
    EXPECT_NEAR(engine->limiterReductionDb(), 20 * std::log10(1.74 / 0.944), 0.1);
    EXPECT_GT(engine->limitedBuffers(), 0u);
}

// A file cut short on disk while it plays (a card pulled, a copy overwritten) ends where its
// data ends, as a track's end: no crash, no noise, no hang.
TEST_F(EngineTest, AFileCutShortWhileItPlaysEndsThereCleanly) {
    WriteWav(path("tone.wav"), Tone(440, 6, kRate), kRate, 1);
    EncodeMp3(path("tone.wav"), path("tagged.mp3"), "-b 128");
    EncodeMp3(path("tone.wav"), path("bare.mp3"), "-b 128 -t");
    for (const char* name : {"tone.wav", "tagged.mp3", "bare.mp3"}) {
        const std::string playing = path("playing");
        std::filesystem::copy_file(path(name), playing,
                                   std::filesystem::copy_options::overwrite_existing);
        load(0, playing);
        engine->play(0);
        auto out = render(0.5);
        std::filesystem::resize_file(playing, std::filesystem::file_size(playing) / 2);
        const auto rest = render(3.5);
        out.insert(out.end(), rest.begin(), rest.end());
        EXPECT_TRUE(ended[0]) << name;
        ended[0] = false;
        const double end = LastSoundingFrame(out) / double(kRate);
        EXPECT_GT(end, 2.0) << name;
        EXPECT_LT(end, 3.5) << name;
        EXPECT_LE(PeakOf(out), 0.55f) << name;
    }
}

// The meters read what each deck sends to the master (after its level and mute) and the
// master itself, in every block since the last look.
TEST_F(EngineTest, MetersReadEachDecksLevelAfterItsFaderAndTheMastersAfterTheLimiter) {
    const double toneDb = -12;
    const auto tone = wav("tone.wav", Tone(1000, 3, kRate, float(std::pow(10, toneDb / 20))));
    for (int d = 0; d < audio::Engine::kDecks; ++d) {
        load(d, tone);
        engine->play(d);
    }
    engine->setLevel(1, -2250); // the volume law's level of a deck at volume 50
    engine->setMute(2, true);
    engine->setMute(3, true);
    render(0.5);
    for (int d = 0; d < audio::Engine::kDecks; ++d)
        engine->takeDeckLevels(d); // the starts' ramps are not measured
    engine->takeMasterLevels();
    render(1.0);

    auto dB = [](float linear) { return 20 * std::log10(double(linear)); };
    const audio::LevelReading full = engine->takeDeckLevels(0);
    for (int c = 0; c < 2; ++c) {
        EXPECT_NEAR(dB(full.peak[c]), toneDb, 0.5);
        EXPECT_NEAR(dB(full.rms[c]), toneDb - 3.01, 0.5); // a sine's RMS
    }
    EXPECT_NEAR(dB(engine->takeDeckLevels(1).peak[0]), toneDb - 22.5, 0.5);
    EXPECT_EQ(engine->takeDeckLevels(2).peak[0], 0) << "muted";
    EXPECT_EQ(engine->takeDeckLevels(3).rms[1], 0) << "muted";
    // The two decks heard are in phase: the master is their sum.
    EXPECT_NEAR(dB(engine->takeMasterLevels().peak[1]), toneDb + dB(1 + std::pow(10, -22.5 / 20)),
                0.5);
    EXPECT_EQ(engine->takeDeckLevels(0).peak[0], 0) << "nothing played since the last look";

    engine->setLevel(1, 0);
    engine->setMute(2, false);
    engine->setMute(3, false);
    const uint64_t limited = engine->limitedBuffers();
    render(0.5);
    EXPECT_LE(dB(engine->takeMasterLevels().peak[0]), audio::MasterLimiter::kCeilingDb + 0.01);
    EXPECT_GT(engine->limitedBuffers(), limited) << "four decks at -12 dB need the limiter";
}

// A copy whose middle third is overwritten with noise plays the frames on either side of
// the damage, joined by a ramp out and in: no click, no noise, and the last third is heard.
TEST_F(EngineTest, ADamagedMp3PlaysAroundItsDamageWithoutAClick) {
    const float amplitude = 0.2f;
    WriteWav(path("tone.wav"), Tone(440, 4, 44100, amplitude), 44100, 1);
    const float toneStep = amplitude * static_cast<float>(2 * M_PI * 440 / kRate);
    const float rampStep = amplitude / kRampFrames;
    for (const char* options : {"-b 128", "-t -V 4"}) {
        EncodeMp3(path("tone.wav"), path("tone.mp3"), options);
        std::string mp3 = ReadBytes(path("tone.mp3"));
        unsigned seed = 7;
        for (size_t i = mp3.size() / 3; i < 2 * mp3.size() / 3; ++i)
            mp3[i] = static_cast<char>((seed = seed * 1103515245 + 12345) >> 16);
        WriteBytes(path("damaged.mp3"), mp3);
        load(0, path("damaged.mp3"));
        engine->play(0);
        const auto out = render(4.5);
        EXPECT_TRUE(ended[0]) << options;
        ended[0] = false;
        EXPECT_LE(LargestStep(out, 0, out.size() / 2), (toneStep + rampStep) * 1.1f) << options;
        const long last = LastSoundingFrame(out);
        EXPECT_GT(last, 2.4 * kRate) << options;
        EXPECT_NEAR(ToneDb(out, last - kRate / 2, last - kRate / 20, 440, kRate),
                    20 * std::log10(amplitude), 1.0)
            << options;
    }
}
