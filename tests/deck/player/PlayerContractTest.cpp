#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "deck/player/EnginePlayer.h"
#include "support/AudioFixtures.h"
#include "support/Failure.h"
#include "support/FakePlayer.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
using Refusals = std::vector<std::pair<QString, QString>>; // a file, the cause it is refused for

// The fake the deck's tests play on, and the engine's player over the offline engine: the
// deck relies on the same timing from both.
struct FakeRig {
    FakePlayer player;
    QString playable(const QString& name, double seconds) {
        return player.durations[name] = seconds, name;
    }
    Refusals unplayable() {
        player.refused = {{"missing.mp3", "it does not exist"},
                          {"notes.mp3", "it is not an audio file"}};
        return {player.refused.keyValueBegin(), player.refused.keyValueEnd()};
    }
    void playToEnd() { player.endTrack(); }
    void pauseAsItEnds() {
        player.Pause();
        player.endTrack();
    }
    bool heard() { return player.PlayState() == MediaPlayer::Playing; }
};

// The engine is taken as the window's players take it: only when the first file needs it.
struct EngineRig {
    QTemporaryDir dir;
    std::unique_ptr<audio::OfflineOutput> output =
        std::make_unique<audio::OfflineOutput>(48000, 256);
    audio::OfflineOutput* driver = output.get();
    audio::Engine engine{std::move(output)};
    int taken = 0;
    EnginePlayer player{[this]() -> audio::Engine& { return ++taken, engine; }, 1};

    QString playable(const QString& name, double seconds) {
        WriteWav(dir.filePath(name).toStdString(), Tone(440, seconds, 48000), 48000, 1);
        return dir.filePath(name);
    }
    Refusals unplayable() { // the cause from the system, and from the decoder
        WriteBytes(dir.filePath("notes.mp3").toStdString(), "just some words, no music\n");
        return {{dir.filePath("missing.mp3"), "it does not exist"},
                {dir.filePath("notes.mp3"), "it is not an audio file"}};
    }
    void playToEnd() { driver->render(48000); } // the tracks here are shorter
    // its end is on its way
    void pauseAsItEnds() {
        playToEnd();
        player.Pause();
    }
    bool heard() { return PeakOf(driver->render(4800)) > 0; }
};

// Every notification as it arrives, with what the player says at that moment.
template <typename Rig> struct PlayerContractTest : ::testing::Test {
    PlayerContractTest() {
        QObject::connect(&p, &MediaPlayer::OpenStateChange, [this](int, int) {
            log << QString("open %1 %2").arg(QFileInfo(p.FileName()).fileName()).arg(p.Duration());
        });
        QObject::connect(&p, &MediaPlayer::PlayStateChange, [this](int, int) {
            log << QString("play %1").arg(p.PlayState());
            if (onPlayState)
                onPlayState();
        });
        QObject::connect(&p, &MediaPlayer::OpenFailed,
                         [this](const QString&, const QString& description, bool play) {
                             log << "failed " + description;
                             failedToPlay = play;
                         });
    }
    // The state right after the call, what it notified inside the call and what after the
    // handler returned.
    void expect(int state, const QStringList& now, const QStringList& later) {
        EXPECT_EQ(p.PlayState(), state);
        EXPECT_EQ(std::exchange(log, {}), now) << "inside the call";
        DeliverNotifications();
        EXPECT_EQ(std::exchange(log, {}), later) << "once the handler has returned";
    }

    Rig rig;
    MediaPlayer& p = rig.player;
    QStringList log;
    bool failedToPlay = false;
    std::function<void()> onPlayState;
};

using Players = ::testing::Types<FakeRig, EngineRig>;
TYPED_TEST_SUITE(PlayerContractTest, Players);
} // namespace

TYPED_TEST(PlayerContractTest, OpeningAndTransportNotifyWhenTheContractSays) {
    MediaPlayer& p = this->p;
    // nothing open: nothing happens
    p.Play();
    p.Pause();
    p.Stop();
    this->expect(6, {}, {});
    const QString path = this->rig.playable("one.wav", 2.5);
    p.setFileName(path);
    EXPECT_EQ(p.FileName(), path);
    this->expect(0, {}, {"open one.wav 2.5"});
    // stopped, nothing to pause; then playing already
    p.Pause();
    p.Play();
    p.Play();
    this->expect(2, {}, {"play 2"});
    p.Pause();
    this->expect(1, {}, {"play 1"});
    p.Stop();
    EXPECT_EQ(p.CurrentPosition(), 0.0);
    this->expect(0, {"play 0"}, {});
    // a stopped player does not report a stop
    p.Stop();
    p.setFileName("");
    this->expect(6, {}, {"open  0"});
}

// The end comes as an event of its own, and the deck may load and play the next track from
// its handler. A track that runs out just as it is paused stays paused, and ends when played on.
TYPED_TEST(PlayerContractTest, TheEndOfATrackIsAStopOfItsOwnAndTheDeckCanGoOn) {
    MediaPlayer& p = this->p;
    const QString first = this->rig.playable("first.wav", 0.5);
    const QString second = this->rig.playable("second.wav", 0.7);
    p.setFileName(first);
    p.Play();
    this->expect(2, {}, {"open first.wav 0.5", "play 2"});
    this->rig.pauseAsItEnds();
    this->expect(1, {}, {"play 1"});
    p.Play();
    this->expect(2, {}, {"play 2", "play 0"});
    p.Play();
    this->expect(2, {}, {"play 2"});
    this->onPlayState = [&] {
        if (p.PlayState() == 0 && p.FileName() == first) {
            p.setFileName(second);
            p.Play();
        }
    };
    this->rig.playToEnd(); // the fake tells its end inside the call, the engine after it
    DeliverNotifications();
    EXPECT_EQ(this->log.join(',') + QString(" %1").arg(p.PlayState()),
              "play 0,open second.wav 0.7,play 2 2");
}

// A new file never reads as the end of the old one: playing, it pauses and says so; paused, it
// stays paused.
TYPED_TEST(PlayerContractTest, ANewFileWaitsPausedWhereTheOldOnePlayed) {
    MediaPlayer& p = this->p;
    p.setFileName(this->rig.playable("a.wav", 3));
    p.Play();
    this->expect(2, {}, {"open a.wav 3", "play 2"});
    p.setFileName(this->rig.playable("b.wav", 4));
    this->expect(1, {}, {"play 1", "open b.wav 4"});
    p.setFileName(this->rig.playable("c.wav", 1));
    this->expect(1, {}, {"open c.wav 1"});
}

// A file it cannot play is told once the open is done, in one sentence, the name once and the
// cause in plain words; the player keeps the file it had, as it stood, and tells it again.
// What was asked of the refused file is not done; whether it was to play is told.
TYPED_TEST(PlayerContractTest, ARefusedFileIsToldAndThePlayerKeepsTheFileItHad) {
    MediaPlayer& p = this->p;
    const QString good = this->rig.playable("good.wav", 3);
    p.setFileName(good);
    this->expect(0, {}, {"open good.wav 3"});
    const Refusals refusals = this->rig.unplayable();
    const auto& [missing, missingCause] = refusals.at(0);
    p.setFileName(missing);
    EXPECT_EQ(p.FileName(), missing) << "while it opens";
    this->expect(
        0, {},
        {"failed " + missing + " cannot be played: " + missingCause + ".", "open good.wav 3"});
    EXPECT_EQ(p.FileName(), good);
    EXPECT_FALSE(this->failedToPlay);

    p.Play();
    p.Pause();
    this->expect(1, {}, {"play 1", "play 1"});
    const auto& [notes, notesCause] = refusals.at(1);
    p.setFileName(notes);
    p.Play();
    p.setCurrentPosition(1);
    this->expect(2, {},
                 {"failed " + notes + " cannot be played: " + notesCause + ".", "open good.wav 3"});
    EXPECT_TRUE(this->failedToPlay);
    EXPECT_EQ(p.PlayState(), 1) << "paused as it was told";
    EXPECT_FALSE(this->rig.heard());
    EXPECT_EQ(p.FileName(), good);
    EXPECT_EQ(p.Duration(), 3.0);
}

// Writing a file name returns before the file is read. The player stands for the new file at
// once; a play and a seek meanwhile are done once it is open, and told after the open.
TYPED_TEST(PlayerContractTest, WhatIsAskedWhileAFileOpensIsDoneOnceItIsOpen) {
    MediaPlayer& p = this->p;
    const QString path = this->rig.playable("slow.wav", 2.5);
    p.setFileName(path);
    EXPECT_EQ(p.FileName(), path);
    EXPECT_EQ(p.PlayState(), 0);
    EXPECT_EQ(p.Duration(), 0.0) << "not known yet";
    p.setCurrentPosition(1.5);
    EXPECT_EQ(p.CurrentPosition(), 1.5);
    p.Play();
    this->expect(2, {}, {"open slow.wav 2.5", "play 2"});
    EXPECT_NEAR(p.CurrentPosition(), 1.5, 0.01);
    EXPECT_TRUE(this->rig.heard());

    // past the end: the end, once it is known
    p.setFileName(path);
    p.setCurrentPosition(99);
    DeliverNotifications();
    EXPECT_EQ(p.CurrentPosition(), 2.5);
}

// A new file or a close before the open is done supersedes it: the file never plays, nothing
// is told of it, and what was asked of it goes with it. A stop meanwhile is told inside the
// call, as always, and the play before it is not told at all.
TYPED_TEST(PlayerContractTest, ASupersededOpenNeverPlays) {
    MediaPlayer& p = this->p;
    const QString first = this->rig.playable("first.wav", 2);
    const QString second = this->rig.playable("second.wav", 3);
    p.setFileName(first);
    p.Play();
    p.setFileName(second);
    this->expect(0, {}, {"open second.wav 3"});
    EXPECT_FALSE(this->rig.heard());

    p.setFileName(first);
    p.Play();
    p.setFileName("");
    this->expect(6, {}, {"open  0"});
    EXPECT_FALSE(this->rig.heard());

    p.setFileName(first);
    p.Play();
    p.Stop();
    this->expect(0, {"play 0"}, {"open first.wav 2"});
    EXPECT_FALSE(this->rig.heard());
}

// The window is built before the sound card is found: the engine's player keeps what it sets
// and takes the engine only for its first file.
TEST(EnginePlayerTest, EarlySettingsReachTheEngineAndBadOrdersFail) {
    EngineRig rig;
    EnginePlayer& p = rig.player;
    p.setVolume(-2000);
    p.setMute(true);
    p.setRate(2.0);
    p.Play();
    EXPECT_EQ(rig.taken, 0) << "nothing asked of the player needed the engine yet";
    const QString path = rig.playable("tone.wav", 4);
    p.setFileName(path);
    p.Play();
    DeliverNotifications();
    EXPECT_EQ(PeakOf(rig.driver->render(4800)), 0.0f) << "muted before the engine was taken";
    // past the level's ramp
    p.setMute(false);
    rig.driver->render(4800);
    EXPECT_NEAR(PeakOf(rig.driver->render(4800)), 0.1 * 0.5, 0.01) << "-20 dB of a half-scale tone";
    EXPECT_NEAR(p.CurrentPosition(), 0.6, 0.05) << "three tenths of a second at 200 %";
    p.setFileName(path);
    DeliverNotifications();
    EXPECT_EQ(rig.taken, 1) << "the engine is taken once";

    p.setCurrentPosition(2.25);
    EXPECT_EQ(p.CurrentPosition(), 2.25);
    p.setCurrentPosition(99.0);
    EXPECT_EQ(p.CurrentPosition(), 4.0) << "at most the end";
    EXPECT_NO_THROW(p.setRate(0.25));
    EXPECT_NO_THROW(p.setRate(4.0));
    for (double rate : {0.24, 4.01, std::nan("")})
        EXPECT_THROW(p.setRate(rate), Error) << rate;
    EXPECT_THROW(p.setCurrentPosition(std::nan("")), Error);
}

// The deck names the file it would play next; the end is still a stop of its own. A handler
// that opens the queued file and plays it gets it with the notifications of any file, its
// position the new file's; a handler that chooses nothing leaves the ended file stopped where
// it rewound it, the queue kept; one that chooses another file plays that from its start.
TYPED_TEST(PlayerContractTest, TheQueuedFileIsWhatPlaysOnlyWhenTheDeckOpensIt) {
    MediaPlayer& p = this->p;
    const QString first = this->rig.playable("first.wav", 0.5);
    const QString second = this->rig.playable("second.wav", 2.5); // longer than read ahead
    const QString third = this->rig.playable("third.wav", 0.5);
    const QString other = this->rig.playable("other.wav", 0.5);
    p.QueueNext(second); // nothing open: nothing to follow
    EXPECT_EQ(p.QueuedNext(), "");
    p.setFileName(first);
    p.QueueNext(second);
    EXPECT_EQ(p.QueuedNext(), second);
    p.Play();
    this->expect(2, {}, {"open first.wav 0.5", "play 2"});

    QString choice; // what the handler opens and plays at the end; "" nothing
    this->onPlayState = [&] {
        if (p.PlayState() != 0)
            return;
        p.setCurrentPosition(0.25); // the cue point
        this->log << QString("at %1").arg(p.CurrentPosition());
        if (!choice.isEmpty()) {
            p.setFileName(choice);
            p.Play();
        }
    };
    const auto playUntilStopped = [&] {
        for (int i = 0; i < 5 && !this->log.contains("play 0"); ++i) {
            this->rig.playToEnd();
            DeliverNotifications();
        }
        DeliverNotifications();
    };
    choice = second;
    playUntilStopped();
    EXPECT_EQ(std::exchange(this->log, {}),
              (QStringList{"play 0", "at 0.25", "open second.wav 2.5", "play 2"}));
    EXPECT_EQ(p.FileName(), second);
    EXPECT_LT(p.CurrentPosition(), 1.0) << "the second file's";
    EXPECT_EQ(p.QueuedNext(), "") << "taken";

    p.QueueNext(third);
    choice.clear();
    playUntilStopped();
    EXPECT_EQ(std::exchange(this->log, {}), (QStringList{"play 0", "at 0.25"}));
    this->rig.playToEnd();
    EXPECT_EQ(p.FileName(), second);
    EXPECT_EQ(p.PlayState(), 0);
    EXPECT_EQ(p.CurrentPosition(), 0.25) << "rewound, and it stays there";
    EXPECT_EQ(p.QueuedNext(), third);

    p.Play();
    this->expect(2, {}, {"play 2"});
    choice = other;
    playUntilStopped();
    EXPECT_EQ(std::exchange(this->log, {}),
              (QStringList{"play 0", "at 0.25", "open other.wav 0.5", "play 2"}));
    EXPECT_EQ(p.CurrentPosition(), 0.0) << "the other file from its start";

    // Seeks and rates keep the queue; a new file or none forgets it.
    this->onPlayState = nullptr;
    p.QueueNext(third);
    p.setCurrentPosition(0.1);
    p.setRate(1.5);
    EXPECT_EQ(p.QueuedNext(), third);
    p.setFileName(first);
    EXPECT_EQ(p.QueuedNext(), "");
    p.QueueNext(third);
    p.setFileName("");
    EXPECT_EQ(p.QueuedNext(), "");
}
