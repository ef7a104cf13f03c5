#include "common/TrackOverviewBar.h"
#include "support/AudioFixtures.h"
#include "support/WindowTest.h"

#include <QTemporaryDir>

using namespace velmor;
using namespace velmor::test;

using TrackOverviewTest = WindowTest;

TEST_F(TrackOverviewTest, ShowsTheTracksStepAClickGoesThereTheEndWarnsAndAnUnreadableTrackHasNone) {
    TrackOverviewBar* overview = ui.ovwTrack[0];
    auto waitForScans = [&] { w.overview.scanner().waitForDone(), DeliverNotifications(); };
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    // Two minutes at one level for the first three quarters and another after.
    QTemporaryDir dir;
    const QString path = dir.filePath("steps.wav");
    std::vector<float> samples(120 * 8000);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = (i < samples.size() * 3 / 4 ? 0.2f : 0.8f) * (i % 2 ? -1 : 1);
    WriteWav(path.toStdString(), samples, 8000, 1);
    t.player(0).durations[path] = 120;
    t.open(0, path);
    waitForScans();
    ASSERT_TRUE(overview->isVisible());
    const std::vector<float>& columns = overview->columns();
    ASSERT_EQ(int(columns.size()), overview->width());
    const int step = int(columns.size() * 3 / 4);
    for (int x = 0; x < int(columns.size()); ++x)
        if (std::abs(x - step) > 1) {
            EXPECT_NEAR(columns[size_t(x)], x < step ? 0.2 : 0.8, 0.01) << "column " << x;
        }
    // Drawn, the loud quarter stands taller than the rest (each column against its own top).
    const QImage drawn = overview->grab().toImage();
    const auto drawnHeight = [&](int x) {
        int lit = 0;
        for (int y = 0; y < drawn.height(); ++y)
            lit += drawn.pixel(x, y) != drawn.pixel(x, 0);
        return lit;
    };
    EXPECT_GT(drawnHeight(step + 10), drawnHeight(step - 10));
    EXPECT_GT(drawnHeight(step - 10), drawn.height() / 6);
    QTest::mouseClick(overview, Qt::LeftButton, {}, QPoint(overview->width() * 3 / 4, 5));
    EXPECT_DOUBLE_EQ(t.player(0).CurrentPosition(), 90.0);

    const QColor normal = ui.lblRTracking[0]->palette().color(QPalette::WindowText);
    t.playPause(0);
    // -1 pauses: a paused track is not about to end.
    for (const auto& [position, warned] :
         {std::pair{80.0, false}, {95.0, true}, {119.0, true}, {-1.0, false}, {119.0, false}}) {
        if (position < 0)
            t.playPause(0);
        else
            t.player(0).setPosition(position);
        w.overview.refresh(0);
        SCOPED_TRACE(position);
        EXPECT_EQ(overview->warning(), warned);
        const bool remainingWarns =
            ui.lblRTracking[0]->palette().color(QPalette::WindowText) != normal;
        EXPECT_EQ(remainingWarns, warned);
    }
    t.open(0, dir.filePath("missing.wav")); // the player tells what is wrong with it
    waitForScans();
    EXPECT_TRUE(overview->isHidden());
}
