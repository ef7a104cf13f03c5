#include "deck/player/EnginePlayer.h"
#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "common/Error.h"
#include "support/AudioFixtures.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

// A deck's player over an offline engine. What every player must do is in the contract
// tests; these are the engine player's own.
class EnginePlayerTest : public ::testing::Test {
protected:
    EnginePlayerTest() {
        auto output = std::make_unique<audio::OfflineOutput>(48000, 256);
        driver = output.get();
        engine = std::make_unique<audio::Engine>(std::move(output));
        player = std::make_unique<EnginePlayer>(*engine, 1);
    }
    ~EnginePlayerTest() override { player.reset(); }

    QString file(const char* name, double seconds) {
        const QString path = dir.filePath(name);
        WriteWav(path.toStdString(), Tone(440, seconds, 48000), 48000, 1);
        return path;
    }
    void events() { QCoreApplication::processEvents(); }
    void render(double seconds) {
        driver->render(std::lround(seconds * 48000));
        events();
    }

    QTemporaryDir dir;
    audio::OfflineOutput* driver = nullptr;
    std::unique_ptr<audio::Engine> engine;
    std::unique_ptr<EnginePlayer> player;
};

} // namespace

TEST_F(EnginePlayerTest, SeekRateLevelAndMuteAreKept) {
    player->setFileName(file("a.wav", 10));
    player->setCurrentPosition(4.25);
    EXPECT_EQ(player->CurrentPosition(), 4.25);
    player->setCurrentPosition(99);
    EXPECT_EQ(player->CurrentPosition(), 10.0) << "beyond the end lands at the end";
    player->setCurrentPosition(2);
    player->setRate(1.5);
    player->setVolume(-2500);
    player->setMute(true);
    EXPECT_EQ(player->Rate(), 1.5);
    EXPECT_EQ(player->Volume(), -2500);
    EXPECT_TRUE(player->Mute());
    player->Play();
    render(1.0);
    EXPECT_NEAR(player->CurrentPosition(), 3.5, 0.02);
    EXPECT_THROW(player->setRate(0), Error);
    EXPECT_THROW(player->setCurrentPosition(std::nan("")), Error);
}

TEST_F(EnginePlayerTest, BadFilesAreRefusedByNameAndTheOpenFilePlaysOn) {
    const QString good = file("good.wav", 3);
    player->setFileName(good);
    player->Play();
    events();
    const QString text = dir.filePath("notes.mp3");
    WriteBytes(text.toStdString(), "just some words, no music\n");
    // One sentence, the name once, the cause in plain words: from the system or the decoder.
    const std::pair<QString, QString> cases[] = {
        {dir.filePath("missing.mp3"), "it does not exist"},
        {text, "it is not an audio file"},
    };
    for (const auto& [path, cause] : cases) {
        try {
            player->setFileName(path);
            ADD_FAILURE() << path.toStdString() << " was accepted";
        } catch (const Error& e) {
            const QString said = e.description();
            EXPECT_EQ(said.count(path), 1) << said.toStdString();
            EXPECT_TRUE(said.endsWith(" cannot be played: " + cause + ".")) << said.toStdString();
        }
    }
    EXPECT_EQ(player->FileName(), good);
    EXPECT_EQ(player->PlayState(), 2);
}

// The window is built before the sound card is found: the players keep what it sets and
// take the engine only for their first file.
TEST(EnginePlayerWithoutEngineTest, SettingsMadeBeforeTheEngineIsTakenReachIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath("tone.wav");
    WriteWav(path.toStdString(), Tone(440, 4, 48000), 48000, 1);
    auto output = std::make_unique<audio::OfflineOutput>(48000, 256);
    audio::OfflineOutput* driver = output.get();
    audio::Engine engine(std::move(output));
    int taken = 0;
    EnginePlayer player(
        [&]() -> audio::Engine& {
            ++taken;
            return engine;
        },
        2);
    player.setVolume(-2000);
    player.setMute(true);
    player.setRate(2.0);
    player.Play();
    EXPECT_EQ(taken, 0) << "nothing asked of the player needed the engine yet";

    player.setFileName(path);
    player.Play();
    QCoreApplication::processEvents();
    EXPECT_EQ(taken, 1);
    auto peak = [](const std::vector<float>& samples) {
        return std::abs(*std::max_element(samples.begin(), samples.end(), [](float a, float b) {
            return std::abs(a) < std::abs(b);
        }));
    };
    EXPECT_EQ(peak(driver->render(4800)), 0.0f) << "muted before the engine was taken";
    player.setMute(false);
    driver->render(4800); // past the level's ramp
    EXPECT_NEAR(peak(driver->render(4800)), 0.1 * 0.5, 0.01) << "-20 dB of a half-scale tone";
    EXPECT_NEAR(player.CurrentPosition(), 0.6, 0.05) << "three tenths of a second at 200 %";
    player.setFileName(path);
    EXPECT_EQ(taken, 1) << "the engine is taken once";
}
