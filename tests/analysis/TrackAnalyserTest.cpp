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

// A deck's scan comes before a look ahead given after it: the scan gives the deck its overview
// and makes the track's facts known, the look ahead makes the facts of the entry up next known
// without an overview shown for it.
TEST_F(AnalyserTest, ADecksScanGivesTheOverviewAndComesBeforeALookAheadThatOnlyLearnsFacts) {
    QSignalSpy scanned(&analyser, &TrackAnalyser::scanned);
    QStringList learned;
    QObject::connect(&known, &KnownTracks::learned, [&](const QString& path) { learned << path; });
    analyser.scan(2, first);
    analyser.lookAhead(second);
    analyser.waitForDone();
    ASSERT_EQ(scanned.count(), 1);
    EXPECT_EQ(scanned.at(0).at(0).toInt(), 2);
    EXPECT_EQ(learned, (QStringList{first, second}));
    ASSERT_NE(known.facts(first), nullptr);
    EXPECT_DOUBLE_EQ(known.facts(first)->lengthSeconds, 2.0);
    ASSERT_NE(known.facts(second), nullptr);
    EXPECT_DOUBLE_EQ(known.facts(second)->lengthSeconds, 2.0);
}

// A track is looked at ahead once, however often the deck tells it is up next: not again while
// it waits, once it is known, nor once it could not be read.
TEST_F(AnalyserTest, ATrackIsLookedAtAheadOnce) {
    const QString broken = dir.path() + "/broken.mp3";
    test::WriteBytes(broken.toStdString(), "not a sound");
    analyser.lookAhead(second);
    analyser.lookAhead(second);
    analyser.lookAhead(broken);
    analyser.waitForDone();
    analyser.lookAhead(second);
    analyser.lookAhead(broken);
    analyser.waitForDone();
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(known.facts(broken), nullptr);
}
