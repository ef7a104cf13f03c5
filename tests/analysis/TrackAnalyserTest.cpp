#include "analysis/TrackAnalyser.h"
#include "analysis/KnownTracks.h"
#include "audio/Decoder.h"
#include "support/AudioFixtures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;

namespace {

// Two tracks, an analyser with a cache of its own counting the decoders it opens.
struct AnalyserTest : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        for (const QString& track : {first, second})
            test::WriteWav(track.toStdString(), test::Stereo(test::Tone(440, 2, 44100)), 44100, 2);
    }

    QTemporaryDir dir;
    const QString first = dir.path() + "/first.wav";
    const QString second = dir.path() + "/second.wav";
    KnownTracks known;
    int opened = 0;
    TrackAnalyser analyser{known, dir.path() + "/cache", [this](const std::string& path) {
                               ++opened;
                               return audio::OpenDecoder(path);
                           }};
};

} // namespace

// A deck's scan gives the overview and makes the track's facts known.
TEST_F(AnalyserTest, ScanGivesPeaksAndFacts) {
    QSignalSpy scanned(&analyser, &TrackAnalyser::scanned);
    analyser.scan(2, first);
    analyser.waitForDone();
    ASSERT_EQ(scanned.count(), 1);
    EXPECT_EQ(scanned.at(0).at(0).toInt(), 2);
    ASSERT_NE(known.facts(first), nullptr);
    EXPECT_DOUBLE_EQ(known.facts(first)->lengthSeconds, 2.0);
}

// The entry up next is known before it plays, without an overview shown for it.
TEST_F(AnalyserTest, LookAheadMakesFactsKnown) {
    QSignalSpy scanned(&analyser, &TrackAnalyser::scanned);
    analyser.lookAhead(second);
    analyser.waitForDone();
    EXPECT_EQ(scanned.count(), 0);
    ASSERT_NE(known.facts(second), nullptr);
    EXPECT_DOUBLE_EQ(known.facts(second)->lengthSeconds, 2.0);
}

// A track already known is not looked at ahead again, nor one asked for twice.
TEST_F(AnalyserTest, KnownTrackIsNotLookedAtAhead) {
    analyser.lookAhead(second);
    analyser.lookAhead(second);
    analyser.waitForDone();
    analyser.lookAhead(second);
    analyser.waitForDone();
    EXPECT_EQ(opened, 1);
}

// A deck's scan given while a look ahead waits comes first, and the look ahead still happens.
TEST_F(AnalyserTest, DeckScanComesBeforeLookAhead) {
    QStringList order;
    QObject::connect(&known, &KnownTracks::learned, [&](const QString& path) { order << path; });
    analyser.scan(0, first);
    analyser.lookAhead(second);
    analyser.waitForDone();
    ASSERT_EQ(order.size(), 2);
    EXPECT_EQ(order.at(0), first);
    EXPECT_EQ(order.at(1), second);
}

// A file that cannot be read is tried once, however often the deck tells it is up next.
TEST_F(AnalyserTest, UnreadableTrackIsNotTriedAgain) {
    const QString broken = dir.path() + "/broken.mp3";
    test::WriteBytes(broken.toStdString(), "not a sound");
    analyser.lookAhead(broken);
    analyser.waitForDone();
    analyser.lookAhead(broken);
    analyser.waitForDone();
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(known.facts(broken), nullptr);
}
