#include "audio/Engine.h"
#include "common/Widgets.h"
#include "deck/player/JingleSlots.h"
#include "support/AudioFixtures.h"
#include "support/EngineWindow.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

constexpr int kRate = 48000;
constexpr int kBuffer = 256;

// Deck 1 plays a 440 Hz tone; jingle F1 is a 1500 Hz one.
struct JinglesTest : ::testing::Test {
    JinglesTest() {
        WriteWav(path("deck.wav"), Tone(440, 4, kRate, 0.2f), kRate, 1);
        WriteWav(path("jingle.wav"), Tone(1500, 2, kRate, 0.2f), kRate, 1);
        t.fill(0, {"deck.wav"}, dir.path());
        w.panels[0]->cmdPlayPause_Click();
        w.jingles.assign(0, dir.filePath("jingle.wav"));
        w.jingles.waitUntilRead();
        t.driver->render(kRate / 4);
    }
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    // The jingle's tone in the next buffers, from the first buffer after the limiter's delay.
    double jingleDb() {
        const long delay = t.engine->masterDelayFrames();
        const auto out = t.driver->render(4 * kBuffer);
        return ToneDb(out, delay + kBuffer, 4 * kBuffer, 1500, kRate);
    }
    QTemporaryDir dir;
    EngineWindow t;
    Main& w = t.w();
};

} // namespace

// F1 from the main window plays the jingle over the deck within one buffer; F1 again stops it.
TEST_F(JinglesTest, F1PlaysTheJingleWithinOneBufferAndStopsItWhenPressedAgain) {
    EXPECT_EQ(w.jingles.state(0), JingleBank::State::Ready);
    EXPECT_LT(jingleDb(), -40); // the deck's tone, seen across the window
    QTest::keyClick(&w, Qt::Key_F1);
    EXPECT_TRUE(w.jingles.playing(0));
    EXPECT_NEAR(jingleDb(), -14.0, 0.2);
    QTest::keyClick(w.ui.lstPlay[0], Qt::Key_F1);
    EXPECT_FALSE(w.jingles.playing(0));
    EXPECT_LT(jingleDb(), -40); // the deck's tone, seen across the window
}

// A file that cannot be played is refused with its reason; the slot keeps its jingle.
TEST_F(JinglesTest, AFileThatCannotBeReadIsRefusedWithAMessage) {
    WriteBytes(path("broken.mp3"), "no sound in here");
    w.jingles.assign(0, dir.filePath("broken.mp3"));
    w.jingles.waitUntilRead();
    ASSERT_FALSE(t.reporter.told.empty());
    EXPECT_TRUE(
        t.reporter.told.back().startsWith(dir.filePath("broken.mp3") + " cannot be a jingle: "))
        << t.reporter.told.back().toStdString();
    EXPECT_EQ(w.jingles.file(0), dir.filePath("jingle.wav"));
    EXPECT_EQ(w.jingles.state(0), JingleBank::State::Ready);
}

// The slots are kept: another evening's bank finds the jingle there, ready; one whose file
// has gone since is told, and told again when fired.
TEST_F(JinglesTest, TheSlotsAreKeptForTheNextEvening) {
    const QString kept = dir.filePath("jingles.conf");
    w.jingles.keepIn(kept);
    w.jingles.assign(1, dir.filePath("jingle.wav"));
    w.jingles.waitUntilRead();
    QFile::copy(dir.filePath("jingle.wav"), dir.filePath("gone.wav"));
    w.jingles.assign(2, dir.filePath("gone.wav"));
    w.jingles.waitUntilRead();
    QFile::remove(dir.filePath("gone.wav"));

    RecordingReporter reporter;
    JingleBank next([this]() -> audio::Engine& { return *t.engine; }, reporter);
    next.keepIn(kept);
    next.waitUntilRead();
    EXPECT_EQ(next.state(1), JingleBank::State::Ready);
    EXPECT_EQ(next.file(1), dir.filePath("jingle.wav"));
    EXPECT_EQ(next.state(2), JingleBank::State::Unreadable);
    EXPECT_EQ(reporter.notices.size(), 1u);
    next.fire(2);
    EXPECT_EQ(reporter.notices.size(), 2u);
}

// p dips the music and lights the window's voice-over light; p again brings it back.
TEST_F(JinglesTest, PDipsTheMusicAndLightsTheVoiceOverLight) {
    QTest::keyClick(w.ui.lstPlay[0], Qt::Key_P);
    EXPECT_TRUE(t.engine->duck().on());
    EXPECT_FALSE(w.ui.cmdDuck->isHidden());
    EXPECT_EQ(w.ui.cmdDuck->text(), "Voice over: -15 dB");
    QTest::keyClick(w.ui.lstPlay[0], Qt::Key_P);
    EXPECT_FALSE(t.engine->duck().on());
    EXPECT_TRUE(w.ui.cmdDuck->isHidden());
}
