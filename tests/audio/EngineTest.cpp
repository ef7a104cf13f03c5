#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <utility>

using namespace velmor;
using namespace velmor::test;

namespace {

constexpr int kRate = 48000;
constexpr long kRampFrames = 192; // the few milliseconds of a start, pause or seek

// An engine rendering offline at 48 kHz, with files the tests write.
class EngineTest : public ::testing::Test {
protected:
    EngineTest() { open(2); }
    void open(int channels) {
        auto output = std::make_unique<audio::OfflineOutput>(kRate, 256, channels);
        driver = output.get();
        engine = std::make_unique<audio::Engine>(std::move(output));
        engine->setTrackEndListener(0, [this](uint64_t) { ended = true; });
    }
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    std::string wav(const char* name, const std::vector<float>& mono, int rate = kRate) {
        WriteWav(path(name), mono, rate, 1);
        return path(name);
    }
    void load(int deck, const std::string& file) { engine->load(deck, audio::OpenDecoder(file)); }
    std::vector<float> render(double s) { return driver->render(std::lround(s * kRate)); }
    // Whether deck 1's track ended since the last look.
    bool takeEnded() { return std::exchange(ended, false); }
    static double Db(double linear) { return 20 * std::log10(linear); }

    QTemporaryDir dir;
    audio::OfflineOutput* driver = nullptr;
    std::unique_ptr<audio::Engine> engine;
    bool ended = false;
};

} // namespace

// A WAV, whatever its name, is heard through the master limiter bit for bit on both channels,
// the limiter's look-ahead later, and ends where it ends.
TEST_F(EngineTest, FullLevelAtNormalSpeedPlaysTheDecodedSamplesExactly) {
    const auto sweep = Sweep(1.5, kRate);
    const std::string file = wav("sweep.mp3", sweep);
    const long delay = engine->masterDelayFrames();
    load(0, file);
    engine->play(0);
    const auto whole = render(2.0), decoded = DecodeAll(file);
    for (long i = kRampFrames; i < static_cast<long>(sweep.size()); ++i) {
        ASSERT_NEAR(decoded[2 * i], sweep[i], 1.0 / 32768) << "frame " << i;
        ASSERT_EQ(whole[2 * (i + delay)], decoded[2 * i]) << "frame " << i;
        ASSERT_EQ(whole[2 * (i + delay) + 1], decoded[2 * i]) << "frame " << i;
    }
    EXPECT_LT(LastSoundingFrame(whole), static_cast<long>(sweep.size()) + delay);
    EXPECT_TRUE(takeEnded());
}

// A queued file is gone on into from the loaded one's last frame, without a silent frame.
// A seek or a rate asked after the reader went on into it, before it is heard, is for the
// loaded file, which then ends into the queued one again (at the new rate). Once heard, the
// queued file's positions are told, and it is the loaded one once taken.
TEST_F(EngineTest, AQueuedFileFollowsTheLoadedOneAndEarlierRequestsAreForTheLoadedOne) {
    const auto lifted = [](std::vector<float> tone) { // no frame of it silent
        for (float& x : tone)
            x = 0.3f + 0.5f * x;
        return tone;
    };
    load(0, wav("a.wav", lifted(Tone(440, 2, kRate))));
    engine->queueNext(0, audio::OpenDecoder(wav("b.wav", lifted(Tone(660, 3, kRate)))));
    engine->play(0);
    render(1.8); // the reader is well into b
    EXPECT_FALSE(takeEnded());
    engine->seek(0, 1.0);
    EXPECT_EQ(engine->position(0), 1.0);
    render(0.5);
    EXPECT_NEAR(engine->position(0), 1.5, 0.01) << "of a";
    EXPECT_FALSE(engine->joined(0));
    engine->setRate(0, 2.0);
    const auto out = render(0.4); // the last half second of a, then b, twice as fast
    EXPECT_EQ(LongestSilentRun(out, kRampFrames * 2, out.size() / 2), 0);
    EXPECT_TRUE(takeEnded()) << "told of the join";
    EXPECT_TRUE(engine->joined(0));
    EXPECT_NEAR(engine->position(0), 0.3, 0.02) << "of b, less the rate change's ramps";
    EXPECT_TRUE(engine->adoptNext(0));
    EXPECT_FALSE(engine->joined(0));
    render(1.4);
    EXPECT_EQ(engine->position(0), 3.0) << "b to its end";
    EXPECT_TRUE(takeEnded());
}

// A seek lands on the frame asked for, its position known at once and held while paused.
// Levels are hundredths of a decibel and take effect within one buffer; mute leaves the level
// alone. Set while the deck stood still, a level is the one its first sound has: a start
// ramping down from the old level would open a fade in with a burst at full level. No change
// of level or transport (the transport's made mid-wave at full level) steps further than the
// tone does.
TEST_F(EngineTest, SeeksLevelsAndCommandsTakeEffectWithinOneBufferWithoutAStep) {
    const auto tone = Tone(1000, 5, kRate, 0.9f);
    load(0, wav("tone.wav", tone));
    std::vector<float> heard;
    const auto listen = [&](double seconds) {
        const auto out = render(seconds);
        heard.insert(heard.end(), out.begin(), out.end());
        return out;
    };
    const long delay = engine->masterDelayFrames();
    engine->seek(0, 0.12325);                       // a frame at the top of a wave
    EXPECT_DOUBLE_EQ(engine->position(0), 0.12325); // before any audio is heard
    engine->play(0);
    const auto start = listen(0.5);
    EXPECT_LT(FirstSoundingFrame(start), 256);
    const long first = std::lround(0.12325 * kRate) - delay;
    for (long i = kRampFrames + delay; i < kRate / 2; ++i)
        ASSERT_NEAR(start[2 * i], tone[first + i], 2.0 / 32768) << i; // 16 bits
    EXPECT_NEAR(engine->position(0), 0.62325, 1e-9);
    const double full = RmsDb(start, kRampFrames + delay, kRate / 2);
    engine->seek(0, 2.3456);
    listen(0.1);
    engine->pause(0);
    EXPECT_EQ(FirstSoundingFrame(listen(0.1), 256), -1);
    const double paused = engine->position(0);
    listen(0.2);
    EXPECT_DOUBLE_EQ(engine->position(0), paused);
    engine->play(0);
    listen(0.1);
    engine->setLevel(0, -2000);
    EXPECT_LT(RmsDb(listen(256.0 / kRate), 128, 256), full - 0.01); // already on its way down
    engine->setLevel(0, -4500);
    EXPECT_NEAR(RmsDb(listen(0.5), kRate / 10, kRate / 2) - full, -45.0, 0.1);
    engine->setMute(0, true);
    EXPECT_EQ(FirstSoundingFrame(listen(0.2), kRate / 20), -1);
    engine->setMute(0, false);
    EXPECT_NEAR(RmsDb(listen(0.3), kRate / 10, kRate * 3 / 10) - full, -45.0, 0.1);
    engine->pause(0);
    listen(0.1);
    engine->setLevel(0, -3600);
    engine->play(0);
    const auto out = listen(0.1);
    const long sounds = FirstSoundingFrame(out);
    ASSERT_GE(sounds, 0);
    EXPECT_NEAR(RmsDb(out, sounds + kRampFrames, sounds + kRampFrames + 48) - full, -36.0, 0.1);
    const float toneStep = 0.9f * static_cast<float>(2 * M_PI * 1000 / kRate) * 1.01f;
    EXPECT_LE(LargestStep(heard, 0, heard.size() / 2), toneStep);
}

// The rate changes the tempo, not the pitch, also of a file at another sample rate.
TEST_F(EngineTest, RateChangesTempoNotPitchAndOtherFileRatesAreResampled) {
    const std::pair<int, double> cases[] = {{kRate, 2.0}, {kRate, 0.5}, {44100, 1.0}, {44100, 2.0}};
    for (const auto& [fileRate, rate] : cases) {
        load(0, wav("tone.wav", Tone(440, 4, fileRate), fileRate));
        engine->setRate(0, rate);
        engine->play(0);
        const auto out = render(4 / rate + 0.5);
        EXPECT_NEAR(LastSoundingFrame(out) / double(kRate), 4 / rate, 0.03) << rate;
        EXPECT_NEAR(Frequency(out, 1000, 1000 + kRate, kRate), 440, rate == 1 ? 0.5 : 4.4)
            << fileRate << " " << rate;
        EXPECT_TRUE(takeEnded());
    }
}

// The meters read what each deck sends to the master (after its level and mute) and the
// master, the sum of the four decks, in every block since the last look; a sum above the
// ceiling is limited, and the master's meter reads the limit.
TEST_F(EngineTest, MetersReadEachDeckAfterItsFaderAndTheMasterAfterTheLimiter) {
    const double toneDb = -12;
    const auto tone = wav("tone.wav", Tone(1000, 3, kRate, float(std::pow(10, toneDb / 20))));
    for (int d = 0; d < 4; ++d) {
        load(d, tone);
        engine->play(d);
    }
    engine->setLevel(1, -2250); // the volume law's level of a deck at volume 50
    engine->setMute(2, true);
    render(1.0);
    const audio::LevelReading full = engine->takeDeckLevels(0);
    EXPECT_NEAR(Db(full.peak[0]), toneDb, 0.5);
    EXPECT_NEAR(Db(full.rms[1]), toneDb - 3.01, 0.5); // a sine's RMS
    EXPECT_NEAR(Db(engine->takeDeckLevels(1).peak[1]), toneDb - 22.5, 0.5);
    EXPECT_EQ(engine->takeDeckLevels(2).rms[0], 0) << "muted";
    // The decks heard are in phase: the master is their sum.
    EXPECT_NEAR(Db(engine->takeMasterLevels().peak[1]), toneDb + Db(2 + std::pow(10, -22.5 / 20)),
                0.5);
    EXPECT_EQ(engine->takeDeckLevels(0).peak[0], 0) << "nothing played since the last look";

    // All four at full level, in phase, sum to 1.005: limited, not clipped.
    engine->setLevel(1, 0);
    engine->setMute(2, false);
    const uint64_t limited = engine->limitedBuffers();
    render(0.5);
    EXPECT_LE(Db(engine->takeMasterLevels().peak[0]), audio::MasterLimiter::kCeilingDb + 0.01);
    EXPECT_NEAR(engine->limiterReductionDb(), toneDb + Db(4 / 0.944), 0.1);
    EXPECT_GT(engine->limitedBuffers(), limited);
}

// A file cut short on disk while it plays (a card pulled, a copy overwritten) ends where its
// data ends, as a track's end; a copy whose middle third is overwritten with noise plays the
// frames on either side, joined by a ramp out and in. No crash, no click, no noise, no hang.
TEST_F(EngineTest, AFileCutShortOrDamagedWhileItPlaysEndsOrPlaysAroundItCleanly) {
    const float amplitude = 0.2f;
    WriteWav(path("tone.wav"), Tone(440, 6, 44100, amplitude), 44100, 1);
    EncodeMp3(path("tone.wav"), path("tagged.mp3"), "-b 128");
    EncodeMp3(path("tone.wav"), path("bare.mp3"), "-t -V 4");
    // The tone's own step and a ramp's, out and in again around the damage.
    const float largestStep = amplitude * (1.0f / kRampFrames + float(2 * M_PI * 440 / kRate));
    // Each file cut short while it plays, or damaged in its middle third.
    const std::pair<const char*, bool> cases[] = {
        {"tone.wav", true},    {"tagged.mp3", true}, {"bare.mp3", true},
        {"tagged.mp3", false}, {"bare.mp3", false},
    };
    for (const auto& [name, cut] : cases) {
        std::string bytes = ReadBytes(path(name));
        std::minstd_rand noise(7);
        for (size_t i = bytes.size() / 3; !cut && i < 2 * bytes.size() / 3; ++i)
            bytes[i] = static_cast<char>(noise());
        WriteBytes(path("playing"), bytes);
        load(0, path("playing"));
        if (cut) // once the decoder has it open
            std::filesystem::resize_file(path("playing"), bytes.size() / 2);
        engine->play(0);
        const auto out = render(6.5);
        EXPECT_TRUE(takeEnded()) << name << cut;
        EXPECT_LE(PeakOf(out), amplitude * 1.1f) << name << cut;
        const long last = LastSoundingFrame(out);
        if (cut) {
            EXPECT_GT(last, 2.0 * kRate) << name;
            EXPECT_LT(last, 4.5 * kRate) << name; // not the whole six seconds
            continue;
        }
        EXPECT_LE(LargestStep(out, 0, out.size() / 2), largestStep * 1.1f) << name;
        EXPECT_GT(last, 3.6 * kRate) << name;
        const double tail = ToneDb(out, last - kRate / 2, last - kRate / 20, 440, kRate);
        EXPECT_NEAR(tail, Db(amplitude), 1.0) << name;
    }
}

// Deck 1 stands at the bottom of its volume and muted, as a deck being cued does; deck 2
// plays to the room. Headphones on channels 3-4 hear deck 1 before its level and mute,
// blended with the main mix, at their own level.
TEST_F(EngineTest, APrelistenedDeckIsHeardBeforeItsLevelAndMuteBlendedWithTheMainMix) {
    constexpr double kCued = 440, kPlaying = 660;
    open(4);
    engine->routeHeadphones(audio::HeadphoneRoute::MainChannels);
    load(0, wav("a.wav", Tone(kCued, 2, kRate)));
    load(1, wav("b.wav", Tone(kPlaying, 2, kRate)));
    engine->setLevel(0, -4500); // the volume law's 0
    engine->setMute(0, true);
    engine->setPrelisten(0, true);
    engine->setCueMix(0.5f);
    engine->setHeadphoneLevel(0.5f);
    engine->play(0);
    engine->play(1);
    const auto quad = render(1.0);
    // Of channels 1-2 or 3-4, how loud a tone is in the second half.
    const auto heard = [&](int first, double tone) {
        std::vector<float> pair;
        for (size_t i = first; i < quad.size(); i += 4)
            pair.insert(pair.end(), {quad[i], quad[i + 1]});
        return ToneDb(pair, kRate / 2, kRate, tone, kRate);
    };
    EXPECT_LT(heard(0, kCued), -60);
    EXPECT_NEAR(heard(0, kPlaying), -6.0, 0.1);
    EXPECT_NEAR(heard(2, kCued), -18.0, 0.1); // half of each, at half the level
    EXPECT_NEAR(heard(2, kPlaying), -18.0, 0.1);
}
