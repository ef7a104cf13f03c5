#include "deck/player/MediaPlayer.h"
#include "playlist/DeckPlaylist.h"
#include "support/AudioFixtures.h"
#include "support/EngineWindow.h"
#include "support/FakePlayer.h"
#include "support/TestWindow.h"

#include <QDir>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

constexpr int kRate = 48000;
// Lengths that end mid-buffer at every buffer size, the second long enough (more than the
// 1.5 s the engine reads ahead, at 150 %) for the third to be named before it is read out.
constexpr long kFirst = 2 * kRate + 100, kSecond = 3 * kRate + 37, kThird = kRate;

// A tone riding on an offset: no frame of it is silent, so that any gap shows as zeros.
std::vector<float> Track(double frequency, long frames) {
    std::vector<float> out(frames);
    for (long i = 0; i < frames; ++i)
        out[i] = 0.25f + 0.2f * static_cast<float>(std::sin(2 * M_PI * frequency * i / kRate));
    return out;
}

// Deck 1 of the real window on the offline engine, with the list a.wav, b.wav, c.wav, the
// first opened. The window handles what the engine told it after every buffer, as the UI
// thread does between two callbacks.
struct Evening {
    explicit Evening(int bufferFrames) : t(kRate, bufferFrames), buffer(bufferFrames) {
        WriteWav(path("a.wav"), Track(330, kFirst), kRate, 1);
        WriteWav(path("b.wav"), Track(550, kSecond), kRate, 1);
        WriteWav(path("c.wav"), Track(770, kThird), kRate, 1);
        WriteWav(path("x.wav"), Track(990, kThird), kRate, 1);
        t.fill(0, {"a.wav", "b.wav", "c.wav"}, dir.path());
    }
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    QString entry(const char* name) const { return QDir::toNativeSeparators(dir.filePath(name)); }
    // Renders `seconds`, the window handling its events after every buffer.
    std::vector<float> listen(double seconds) {
        std::vector<float> heard;
        for (long done = 0; done < std::lround(seconds * kRate); done += buffer) {
            const auto out = t.driver->render(buffer);
            heard.insert(heard.end(), out.begin(), out.end());
            DeliverNotifications();
        }
        return heard;
    }

    QTemporaryDir dir;
    EngineWindow t;
    const int buffer;
    MediaPlayer& player = *t.w().pla[0];
};

} // namespace

// A deck moving on by itself joins its tracks sample for sample: no silence and no ramp
// between them, at every buffer size and speed. (Which entry follows, and where the deck
// stands after the last, the deck's own tests state.)
TEST(GaplessAdvance, ADeckMovingOnByItselfJoinsItsTracksWithoutAGap) {
    const struct {
        int buffer;
        bool fast;
    } cases[] = {{256, false}, {1024, false}, {256, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.buffer << " frames" << (c.fast ? " at 150 %" : ""));
        Evening e(c.buffer);
        Main& w = e.t.w();
        if (c.fast)
            w.panels[0]->cmdFastPlay_Click();
        w.panels[0]->cmdPlayPause_Click();
        const auto heard = e.listen(c.fast ? 4.5 : 6.5);
        const long start = FirstSoundingFrame(heard);
        ASSERT_GE(start, 0);
        const long frames = std::lround((kFirst + kSecond + kThird) / (c.fast ? 1.5 : 1.0));
        EXPECT_NEAR(LastSoundingFrame(heard) - start, frames, c.fast ? kRate / 50 : 1);
        const long silence = LongestSilentRun(heard, start, LastSoundingFrame(heard));
        std::printf("%d frames%s: the longest silence between the tracks is %ld frames\n", c.buffer,
                    c.fast ? " at 150 %" : "", silence);
        EXPECT_EQ(silence, 0);
        if (!c.fast) { // each join is the last frame of one file, then the first of the next
            auto files = DecodeAll(e.path("a.wav"));
            for (const char* name : {"b.wav", "c.wav"}) {
                const auto more = DecodeAll(e.path(name));
                files.insert(files.end(), more.begin(), more.end());
            }
            for (long join : {kFirst, kFirst + kSecond})
                for (long i = join - 480; i < join + 480; ++i)
                    ASSERT_EQ(heard[2 * (start + i)], files[2 * i]) << "frame " << i;
        }
    }
}

// At the moment a track ends into the next, a deck whose list changed since plays what it
// chose now; a user's stop keeps the deck on the ended track, rewound, and it does not move
// on.
TEST(GaplessAdvance, AChangedListOrAStopAtTheEndIsWhatTheDeckDoes) {
    for (bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stopped" : "list changed");
        Evening e(256);
        Main& w = e.t.w();
        w.panels[0]->cmdPlayPause_Click();
        e.listen(1.9);
        e.t.driver->render(kRate / 5); // the second track is heard, the window not told yet
        if (stop) {
            w.panels[0]->cmdStop_Click();
        } else {
            w.playlists.list(0).setTrack(1, {"x.wav", QDir::toNativeSeparators(e.dir.path())});
        }
        e.listen(0.3);
        const auto heard = e.listen(0.5);
        EXPECT_EQ(w.decks[0]->trackNumber(), stop ? 1 : 2);
        EXPECT_EQ(e.player.FileName(), e.entry(stop ? "a.wav" : "x.wav"));
        if (stop) {
            EXPECT_EQ(e.player.PlayState(), MediaPlayer::Stopped);
            EXPECT_EQ(e.player.CurrentPosition(), 0.0);
            EXPECT_EQ(FirstSoundingFrame(heard), -1);
            continue;
        }
        EXPECT_EQ(e.player.PlayState(), MediaPlayer::Playing);
        EXPECT_NEAR(e.player.CurrentPosition(), 0.8, 0.01) << "x from its start";
        EXPECT_GT(ToneDb(heard, 0, kRate / 2, 990, kRate), -20);
        EXPECT_LT(ToneDb(heard, 0, kRate / 2, 550, kRate), -60) << "nothing left of b";
    }
}

// The deck keeps its player told of the entry it would open at the end of the track as the
// list stands at the position timer's tick.
TEST(GaplessAdvance, TheTimersTickNamesTheEntryTheChangedListWouldPlayNext) {
    TestWindow t;
    Main& w = t.w();
    FakePlayer& player = t.player(0);
    t.fill(0, {"A.mp3", "B.mp3", "C.mp3"});
    t.playPause(0);
    w.playlists.list(0).setTrack(1, {"X.mp3", "/music"});
    QMetaObject::invokeMethod(w.ui.timer[0], "timeout");
    EXPECT_EQ(player.QueuedNext(), "/music/X.mp3");
}
