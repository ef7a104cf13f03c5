#include "analysis/KnownTracks.h"
#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "deck/player/EnginePlayer.h"
#include "support/AudioFixtures.h"
#include "support/FakePlayer.h"

#include <QHash>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

constexpr int kRate = 48000;

long Frame(double seconds) {
    return std::lround(seconds * kRate);
}

// An engine's player over the offline engine, planning its files by what the window knows of
// them, as the window's players do. The loudness a file's gain tags imply is given by the
// test, as the tag reader would give it.
struct EnginePlayerPlanTest : ::testing::Test {
    EnginePlayerPlanTest() {
        player.setPlanner([this](const QString& path, std::optional<double> tagged) {
            return known.plan(path, tagsImply.contains(path) ? tagsImply.value(path) : tagged);
        });
        QObject::connect(&known, &KnownTracks::learned, &player, &EnginePlayer::replan);
    }
    // A 1 kHz sine at `db` dBFS (a stereo such sine reads its peak level in LUFS).
    QString tone(const char* name, double db, double seconds) {
        const auto amplitude = static_cast<float>(std::pow(10.0, db / 20.0));
        WriteWav(dir.filePath(name).toStdString(), Tone(1000, seconds, kRate, amplitude), kRate, 1);
        return dir.filePath(name);
    }
    // 2 s of a half-scale 1 kHz sine between 5 s of silence at each end, its look known.
    QString framed(const char* name) {
        std::vector<float> samples(Frame(5), 0.0f);
        const auto sound = Tone(1000, 2, kRate, 0.5f);
        samples.insert(samples.end(), sound.begin(), sound.end());
        samples.resize(samples.size() + Frame(5), 0.0f);
        WriteWav(dir.filePath(name).toStdString(), samples, kRate, 1);
        TrackFacts facts;
        facts.lengthSeconds = 12;
        facts.loudness = -6;
        facts.soundStart = 5;
        facts.soundEnd = 7;
        known.learnFacts(dir.filePath(name), facts);
        return dir.filePath(name);
    }
    void learnLoudness(const QString& path, double loudness) {
        TrackFacts facts;
        facts.loudness = loudness;
        known.learnFacts(path, facts);
    }
    // The level of the 1 kHz sine heard over the next `seconds`, past the first tenth.
    double heardDb(double seconds) {
        const auto out = driver->render(Frame(seconds));
        return ToneDb(out, Frame(0.1), Frame(seconds), 1000, kRate);
    }
    // Renders `seconds` a tenth at a time, the window handling what the player tells.
    std::vector<float> play(double seconds) {
        std::vector<float> out;
        for (double done = 0; done < seconds; done += 0.1) {
            const auto part = driver->render(Frame(0.1));
            out.insert(out.end(), part.begin(), part.end());
            DeliverNotifications();
        }
        return out;
    }
    // At the end of its track the deck opens `next` (queued or not) and plays it.
    void advanceTo(const QString& next) {
        QObject::connect(&player, &MediaPlayer::PlayStateChange, [this, next](int, int) {
            if (player.PlayState() != MediaPlayer::Stopped || player.FileName() == next)
                return;
            player.setFileName(next);
            player.Play();
        });
    }

    QTemporaryDir dir;
    std::unique_ptr<audio::OfflineOutput> output =
        std::make_unique<audio::OfflineOutput>(kRate, 256);
    audio::OfflineOutput* driver = output.get();
    audio::Engine engine{std::move(output)};
    KnownTracks known;
    QHash<QString, double> tagsImply;
    EnginePlayer player{engine, 0};
};

} // namespace

TEST_F(EnginePlayerPlanTest, ALoudnessLearntBeforeTheFirstPlayIsWhatTheTrackStartsWith) {
    const QString path = tone("quiet.wav", -26, 3);
    player.setFileName(path);
    DeliverNotifications();
    driver->render(Frame(0.5)); // the audio ahead is ready at the gain of an unknown track
    learnLoudness(path, -26);
    player.Play();
    DeliverNotifications();
    EXPECT_NEAR(heardDb(1.0), -18.0, 0.1);
}

// The file's gain tags say it is at -18 LUFS: it starts at its own level. Its measurement
// (-12 LUFS) comes while it plays: nothing heard changes, through a pause either; the track
// started again from a stop plays at the measured gain.
TEST_F(EnginePlayerPlanTest, AGainTagStandsUntilTheNextStartAfterTheMeasurement) {
    const QString path = tone("tagged.wav", -12, 12);
    tagsImply[path] = -18;
    player.setFileName(path);
    player.Play();
    DeliverNotifications();
    EXPECT_NEAR(heardDb(1.0), -12.0, 0.1);
    learnLoudness(path, -12);
    EXPECT_NEAR(heardDb(2.0), -12.0, 0.1);
    player.Pause();
    player.Play();
    DeliverNotifications();
    EXPECT_NEAR(heardDb(1.0), -12.0, 0.1);
    player.Stop();
    player.Play();
    DeliverNotifications();
    EXPECT_NEAR(heardDb(1.0), -18.0, 0.1);
}

// Played from its start by the user, the first track is heard from its silent head; the
// queued one is gone on into at its first sound, 0.2 s after the first one's last.
TEST_F(EnginePlayerPlanTest, TheAutomaticAdvanceIntoTheQueuedTrackLeavesNoDeadAir) {
    const QString first = framed("first.wav");
    const QString second = framed("second.wav");
    advanceTo(second);
    player.setFileName(first);
    player.QueueNext(second);
    player.Play();
    DeliverNotifications();
    const auto out = play(8.5);
    const long delay = engine.masterDelayFrames();
    EXPECT_NEAR(FirstSoundingFrame(out), Frame(5.0) + delay, Frame(0.11));
    EXPECT_LE(LongestSilentRun(out, Frame(5.5), Frame(8.5)), Frame(0.3));
    EXPECT_EQ(player.FileName(), second);
    EXPECT_EQ(player.PlayState(), MediaPlayer::Playing);
    EXPECT_NEAR(player.CurrentPosition(), 6.3, 0.15);
}

// With nothing queued, the track the deck opens at the end starts at its first sound too.
TEST_F(EnginePlayerPlanTest, ATrackOpenedAtTheEndOfTheOneBeforeStartsAtItsFirstSound) {
    const QString first = tone("first.wav", -12, 0.5);
    const QString second = framed("second.wav");
    advanceTo(second);
    player.setFileName(first);
    player.Play();
    DeliverNotifications();
    play(1.0);
    EXPECT_EQ(player.FileName(), second);
    EXPECT_NEAR(player.CurrentPosition(), 5.5, 0.15);
}
