#include "common/Widgets.h"
#include "common/Twips.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;

// The title gives way only when the caption would pass the frame's edge, less the caption's
// scaled indent and two pixels either side of it; a deck is made active by a left click only.
TEST(CaptionFrameTest, TheTitleGivesWayAtTheScaledEdgeAndOnlyALeftClickCounts) {
    CaptionFrame frame("");
    ApplyScale(&frame, 2);
    frame.setCaptionFont(QFont("DejaVu Sans", 8));
    frame.setCaption("1. ", "A long title", " 3:05");
    const QFontMetrics metrics(ScaledFont(&frame, QFont("DejaVu Sans", 8)));
    const int fits = 2 * 8 + 4 + metrics.horizontalAdvance("1.  3:05") +
                     metrics.horizontalAdvance("A long title");
    for (const auto& [width, whole] : {std::pair{fits, true}, {fits - 1, false}}) {
        frame.resize(width, 60);
        EXPECT_EQ(frame.DisplayedCaption() == "1. A long title 3:05", whole) << width;
    }
    int clicks = 0;
    QObject::connect(&frame, &CaptionFrame::clicked, [&] { ++clicks; });
    QTest::mouseClick(&frame, Qt::RightButton);
    QTest::mouseClick(&frame, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}
