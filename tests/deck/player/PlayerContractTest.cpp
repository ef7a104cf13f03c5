#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "common/Error.h"
#include "deck/player/EnginePlayer.h"
#include "support/AudioFixtures.h"
#include "support/FakePlayer.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

// The fake the deck's tests play on, and the engine's player over the offline engine: the
// deck relies on the same timing from both.
struct FakeRig {
    FakePlayer player;
    QString playable(const QString& name, double seconds) {
        player.durations[name] = seconds;
        return name;
    }
    QString unplayable() {
        player.refused["notes.mp3"] = "not an MP3 or WAV";
        return "notes.mp3";
    }
    void playToEnd() { player.endTrack(); }
};

struct EngineRig {
    QTemporaryDir dir;
    audio::OfflineOutput* driver = nullptr;
    std::unique_ptr<audio::Engine> engine = [this] {
        auto output = std::make_unique<audio::OfflineOutput>(48000, 256);
        driver = output.get();
        return std::make_unique<audio::Engine>(std::move(output));
    }();
    EnginePlayer player{*engine, 1};

    QString playable(const QString& name, double seconds) {
        const QString path = dir.filePath(name);
        WriteWav(path.toStdString(), Tone(440, seconds, 48000), 48000, 1);
        return path;
    }
    QString unplayable() {
        const QString path = dir.filePath("notes.mp3");
        WriteBytes(path.toStdString(), "just some words, no music\n");
        return path;
    }
    void playToEnd() { driver->render(48000); } // the tracks here are shorter
};

// Every notification as it arrives, with what the player says at that moment.
template <typename Rig> class PlayerContractTest : public ::testing::Test {
protected:
    PlayerContractTest() {
        MediaPlayer& p = rig.player;
        QObject::connect(&p, &MediaPlayer::OpenStateChange, [this, &p](int, int) {
            log << QString("open %1 %2").arg(QFileInfo(p.FileName()).fileName()).arg(p.Duration());
        });
        QObject::connect(&p, &MediaPlayer::PlayStateChange, [this, &p](int, int) {
            log << QString("play %1").arg(p.PlayState());
            if (onPlayState)
                onPlayState();
        });
    }
    QStringList taken() { return std::exchange(log, {}); }
    QStringList delivered() {
        DeliverNotifications();
        return taken();
    }

    Rig rig;
    QStringList log;
    std::function<void()> onPlayState;
};

using Players = ::testing::Types<FakeRig, EngineRig>;
TYPED_TEST_SUITE(PlayerContractTest, Players);

} // namespace

TYPED_TEST(PlayerContractTest, OpeningAndTransportNotifyWhenTheContractSays) {
    MediaPlayer& p = this->rig.player;
    EXPECT_EQ(p.PlayState(), 6);
    p.Play(); // nothing open: nothing happens
    p.Pause();
    p.Stop();
    EXPECT_EQ(p.PlayState(), 6);
    EXPECT_TRUE(this->delivered().isEmpty());

    const QString path = this->rig.playable("one.wav", 2.5);
    p.setFileName(path);
    EXPECT_EQ(p.FileName(), path);
    EXPECT_EQ(p.PlayState(), 0);
    EXPECT_TRUE(this->log.isEmpty()) << "the open notification waits for the handler to return";
    EXPECT_EQ(this->delivered(), QStringList{"open one.wav 2.5"});

    p.Pause(); // stopped: nothing to pause
    p.Play();
    EXPECT_EQ(p.PlayState(), 2);
    p.Play(); // playing already
    EXPECT_TRUE(this->log.isEmpty());
    EXPECT_EQ(this->delivered(), QStringList{"play 2"});
    p.Pause();
    EXPECT_EQ(p.PlayState(), 1);
    EXPECT_TRUE(this->log.isEmpty());
    EXPECT_EQ(this->delivered(), QStringList{"play 1"});

    p.Stop();
    EXPECT_EQ(this->taken(), QStringList{"play 0"}) << "a stop is reported inside the call";
    EXPECT_EQ(p.CurrentPosition(), 0.0);
    p.Stop();
    EXPECT_TRUE(this->delivered().isEmpty()) << "a stopped player does not report a stop";

    p.setFileName("");
    EXPECT_EQ(p.PlayState(), 6);
    EXPECT_EQ(this->delivered(), QStringList{"open  0"});
}

// A new file never reads as the end of the old one: playing, it pauses and says so; paused,
// it stays paused.
TYPED_TEST(PlayerContractTest, ANewFileWaitsPausedAndIsNeverReportedAsAStop) {
    MediaPlayer& p = this->rig.player;
    p.setFileName(this->rig.playable("a.wav", 3));
    p.Play();
    this->delivered();
    p.setFileName(this->rig.playable("b.wav", 4));
    EXPECT_EQ(p.PlayState(), 1);
    EXPECT_EQ(this->delivered(), (QStringList{"play 1", "open b.wav 4"}));
    p.setFileName(this->rig.playable("c.wav", 1));
    EXPECT_EQ(p.PlayState(), 1);
    EXPECT_EQ(this->delivered(), QStringList{"open c.wav 1"});
}

// The end comes as an event of its own, and the deck may load and play the next track from
// its handler.
TYPED_TEST(PlayerContractTest, TheEndOfATrackIsAStopOfItsOwnAndTheDeckCanGoOn) {
    MediaPlayer& p = this->rig.player;
    const QString first = this->rig.playable("first.wav", 0.5);
    const QString second = this->rig.playable("second.wav", 0.7);
    p.setFileName(first);
    p.Play();
    this->delivered();
    this->onPlayState = [&] {
        if (p.PlayState() == 0 && p.FileName() == first) {
            p.setFileName(second);
            p.Play();
        }
    };
    this->rig.playToEnd();
    EXPECT_EQ(this->delivered(), (QStringList{"play 0", "open second.wav 0.7", "play 2"}));
    EXPECT_EQ(p.PlayState(), 2);
}

TYPED_TEST(PlayerContractTest, AFileItCannotPlayIsRefusedAndTheOpenFilePlaysOn) {
    MediaPlayer& p = this->rig.player;
    const QString good = this->rig.playable("good.wav", 3);
    p.setFileName(good);
    p.Play();
    this->delivered();
    EXPECT_THROW(p.setFileName(this->rig.unplayable()), Error);
    EXPECT_EQ(p.FileName(), good);
    EXPECT_EQ(p.PlayState(), 2);
    EXPECT_TRUE(this->delivered().isEmpty());
}
