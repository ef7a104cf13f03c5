#include "analysis/LoudnessPlan.h"
#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>

using namespace velmor;
using namespace velmor::test;

namespace {

constexpr int kRate = 48000;

// The amplitude of a sine `db` decibels below full scale.
float Amplitude(double db) {
    return static_cast<float>(std::pow(10.0, db / 20.0));
}

// `head` seconds of silence, `sound` seconds of a 1 kHz sine, `tail` seconds of silence.
std::vector<float> Framed(double head, double sound, double tail) {
    std::vector<float> samples(static_cast<size_t>(head * kRate), 0.0f);
    const auto tone = Tone(1000, sound, kRate, 0.5f);
    samples.insert(samples.end(), tone.begin(), tone.end());
    samples.resize(samples.size() + static_cast<size_t>(tail * kRate), 0.0f);
    return samples;
}

// Deck 0 of an engine rendering offline at 48 kHz, playing files the tests write by plans.
class EngineTrackPlanTest : public ::testing::Test {
protected:
    EngineTrackPlanTest() {
        auto output = std::make_unique<audio::OfflineOutput>(kRate, 256, 2);
        driver = output.get();
        engine = std::make_unique<audio::Engine>(std::move(output));
        engine->setTrackEndListener(0, [this](uint64_t) { ++ends; });
    }
    std::unique_ptr<audio::Decoder> wav(const char* name, const std::vector<float>& mono) {
        const std::string path = dir.filePath(name).toStdString();
        WriteWav(path, mono, kRate, 1);
        return audio::OpenDecoder(path);
    }
    // The plan for a track measured at `loudness` LUFS with its sound between the seconds
    // given, at the default target.
    static audio::TrackPlan Plan(double loudness, double soundStart = 0, double soundEnd = 60) {
        TrackFacts facts;
        facts.loudness = loudness;
        facts.soundStart = soundStart;
        facts.soundEnd = soundEnd;
        return PlanTrack(Levelling{}, &facts, std::nullopt);
    }
    std::vector<float> render(double seconds) {
        return driver->render(std::lround(seconds * kRate));
    }
    static long Frame(double seconds) { return std::lround(seconds * kRate); }
    double toneDb(const std::vector<float>& out, double from, double to) const {
        return ToneDb(out, Frame(from), Frame(to), 1000, kRate);
    }

    QTemporaryDir dir;
    audio::OfflineOutput* driver = nullptr;
    std::unique_ptr<audio::Engine> engine;
    int ends = 0;
};

} // namespace

// A stereo 1 kHz sine reads its peak level in LUFS: the tracks below are at -12 and -24 LUFS.
// Each comes out at the default target, the loaded one and the one gone on into alike.
TEST_F(EngineTrackPlanTest, TracksTwelveLuApartComeOutAtTheSameLoudness) {
    engine->load(0, wav("loud.wav", Tone(1000, 2, kRate, Amplitude(-12))), Plan(-12));
    engine->queueNext(0, wav("quiet.wav", Tone(1000, 2, kRate, Amplitude(-24))), Plan(-24));
    engine->play(0);
    const auto out = render(4.5);
    EXPECT_NEAR(toneDb(out, 0.5, 1.5), -18.0, 0.1);
    EXPECT_NEAR(toneDb(out, 2.5, 3.5), -18.0, 0.1);
}

TEST_F(EngineTrackPlanTest, TheTracksGainComesBeforeTheDecksLevel) {
    engine->load(0, wav("loud.wav", Tone(1000, 2, kRate, Amplitude(-12))), Plan(-12));
    engine->setLevel(0, -600);
    engine->play(0);
    EXPECT_NEAR(toneDb(render(1.5), 0.5, 1.5), -24.0, 0.1);
}

// A look that finishes while the deck stands still is what the track starts with, and one
// learnt for the queued file is what it is gone on into by: the audio the reader had rendered
// ahead by the old plans is rendered again.
TEST_F(EngineTrackPlanTest, PlansLearntWhileTheDeckStandsStillAreTheOnesItPlaysBy) {
    engine->load(0, wav("a.wav", Tone(1000, 1, kRate, Amplitude(-12))));
    engine->queueNext(0, wav("b.wav", Framed(5, 2, 1)));
    render(0.5); // the reader fills the ring at full gain, into the queued file's silence
    engine->setTrackPlan(0, Plan(-12));
    engine->setNextPlan(0, Plan(-6, 5.0, 7.0));
    engine->play(0);
    const auto out = render(2.5);
    EXPECT_NEAR(toneDb(out, 0.01, 0.2), -18.0, 0.1);
    EXPECT_NEAR(toneDb(out, 0.5, 0.9), -18.0, 0.1);
    EXPECT_LE(LongestSilentRun(out, Frame(0.5), Frame(2.0)), 24);
    EXPECT_NEAR(toneDb(out, 1.5, 2.5), -18.0, 0.1);
}

// A new end set while the track plays ends it there, also where the reader had rendered the
// track beyond it already.
TEST_F(EngineTrackPlanTest, ANewEndWhilePlayingEndsTheTrackThere) {
    engine->load(0, wav("long.wav", Tone(1000, 6, kRate)));
    engine->play(0);
    render(2.0);
    audio::TrackPlan plan;
    plan.endSeconds = 3.0;
    engine->setTrackPlan(0, plan);
    const auto out = render(2.0);
    EXPECT_EQ(ends, 1);
    EXPECT_NEAR(engine->position(0), 3.0, 0.001);
    EXPECT_NEAR(LastSoundingFrame(out), Frame(1.0) + engine->masterDelayFrames(), 2);
}

// Two tracks of 2 s of sound between 5 s of silence at each end: the first, played from its
// start, is heard from its first frame; the deck moves on 0.2 s after its last sound into
// the second's first sound, and ends 0.2 s after that one's last.
TEST_F(EngineTrackPlanTest, TheAutomaticAdvanceSkipsTheSilenceBetweenTracks) {
    engine->load(0, wav("a.wav", Framed(5, 2, 5)), Plan(-9, 5.0, 7.0));
    engine->queueNext(0, wav("b.wav", Framed(5, 2, 5)), Plan(-9, 5.0, 7.0));
    engine->play(0);
    const auto first = render(4.0);
    EXPECT_EQ(FirstSoundingFrame(first), -1);
    const auto out = render(7.0);
    const long delay = engine->masterDelayFrames();
    EXPECT_NEAR(FirstSoundingFrame(out), Frame(1.0) + delay, 2);
    EXPECT_LE(LongestSilentRun(out, Frame(1.5), Frame(4.5)), Frame(0.3));
    EXPECT_NEAR(FirstSoundingFrame(out, Frame(3.1)), Frame(3.2) + delay, 2);
    EXPECT_NEAR(LastSoundingFrame(out), Frame(5.2) + delay, 2);
    EXPECT_EQ(ends, 2);
    EXPECT_TRUE(engine->adoptNext(0));
    EXPECT_NEAR(engine->position(0), 7.2, 0.001);
}
