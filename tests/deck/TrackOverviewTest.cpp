#include "analysis/KnownTracks.h"
#include "common/TrackOverviewBar.h"
#include "support/AudioFixtures.h"
#include "support/WindowTest.h"

#include <QTemporaryDir>

using namespace velmor;
using namespace velmor::test;

// Deck 1's overview of a two-minute track at one level for its first three quarters and at
// another after.
namespace {
struct TrackOverviewTest : WindowTest {
    TrackOverviewBar* overview = ui.ovwTrack[0];
    QTemporaryDir dir;
    int step = 0; // the column where the loud quarter begins

    void SetUp() override {
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        const QString path = dir.filePath("steps.wav");
        std::vector<float> samples(120 * 8000);
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = (i < samples.size() * 3 / 4 ? 0.2f : 0.8f) * (i % 2 ? -1 : 1);
        WriteWav(path.toStdString(), samples, 8000, 1);
        t.player(0).durations[path] = 120;
        t.open(0, path);
        waitForScans();
        ASSERT_TRUE(overview->isVisible());
        step = int(overview->columns().size() * 3 / 4);
    }
    void waitForScans() {
        w.trackAnalyser.waitForDone();
        DeliverNotifications();
    }
    // How many pixels of column x are drawn.
    int drawnHeight(const QImage& drawn, int x) {
        int lit = 0;
        for (int y = 0; y < drawn.height(); ++y)
            lit += drawn.pixel(x, y) != drawn.pixel(x, 0);
        return lit;
    }
    bool remainingTimeWarns(const QColor& normal) {
        return ui.lblRTracking[0]->palette().color(QPalette::WindowText) != normal;
    }
};
} // namespace

// The scan's stretches, gathered into the bar's pixel columns, keep the step where it is, and
// the loud quarter is drawn taller than the rest.
TEST_F(TrackOverviewTest, EachPixelColumnHoldsTheLoudestSampleOfItsStretch) {
    const std::vector<float>& columns = overview->columns();
    ASSERT_EQ(int(columns.size()), overview->width());
    for (int x = 0; x < int(columns.size()); ++x)
        if (std::abs(x - step) > 1) {
            EXPECT_NEAR(columns[size_t(x)], x < step ? 0.2 : 0.8, 0.01) << "column " << x;
        }
    const QImage drawn = overview->grab().toImage();
    EXPECT_GT(drawnHeight(drawn, step + 10), drawnHeight(drawn, step - 10));
    EXPECT_GT(drawnHeight(drawn, step - 10), drawn.height() / 6);
}

TEST_F(TrackOverviewTest, AClickGoesToThePlaceClicked) {
    QTest::mouseClick(overview, Qt::LeftButton, {}, QPoint(overview->width() * 3 / 4, 5));
    EXPECT_DOUBLE_EQ(t.player(0).CurrentPosition(), 90.0);
}

// The last thirty seconds of a playing track warn; a paused track is not about to end.
TEST_F(TrackOverviewTest, TheLastThirtySecondsOfAPlayingTrackWarn) {
    const QColor normal = ui.lblRTracking[0]->palette().color(QPalette::WindowText);
    t.playPause(0);
    for (const auto& [position, warned] :
         {std::pair{80.0, false}, {89.5, false}, {90.0, true}, {119.0, true}}) {
        t.player(0).setPosition(position);
        w.overviews[0]->refresh();
        SCOPED_TRACE(position);
        EXPECT_EQ(overview->warning(), warned);
        EXPECT_EQ(remainingTimeWarns(normal), warned);
    }
    t.playPause(0);
    w.overviews[0]->refresh();
    EXPECT_FALSE(overview->warning());
    EXPECT_FALSE(remainingTimeWarns(normal));
}

TEST_F(TrackOverviewTest, AnUnreadableTrackHasNone) {
    t.open(0, dir.filePath("missing.wav")); // the player tells what is wrong with it
    waitForScans();
    EXPECT_TRUE(overview->isHidden());
}

// Sound from end to end is not shaded. Where the track's sound is known to start at 15 s and
// end at 105 s, the silence before and after is: darker than the background between.
TEST_F(TrackOverviewTest, SilentHeadAndTailAreShaded) {
    const QImage whole = overview->grab().toImage();
    EXPECT_EQ(whole.pixelColor(whole.width() / 16, 0), whole.pixelColor(whole.width() / 2, 0));
    TrackFacts facts;
    facts.lengthSeconds = 120;
    facts.soundStart = 15;
    facts.soundEnd = 105;
    w.knownTracks.learnFacts(dir.filePath("steps.wav"), facts);
    const QImage drawn = overview->grab().toImage();
    const int width = drawn.width();
    const QColor between = drawn.pixelColor(width / 2, 0);
    EXPECT_LT(drawn.pixelColor(width / 16, 0).value(), between.value());
    EXPECT_LT(drawn.pixelColor(width - width / 16, 0).value(), between.value());
}
