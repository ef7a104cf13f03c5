#include "common/TwipsLayout.h"
#include "common/Widgets.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;

namespace {

// A deck's frame at twice the size, captioned "1. A long title 3:05" in 8-point DejaVu Sans.
struct CaptionFrameTest : ::testing::Test {
    CaptionFrameTest() {
        ApplyScale(&frame, 2);
        frame.setCaptionFont(QFont("DejaVu Sans", 8));
        frame.setCaption("1. ", "A long title", " 3:05");
    }
    // The width at which the whole caption just fits: the caption itself, the scaled indent
    // (8 pixels, twice) and two pixels either side of it.
    int widthThatFits() const {
        const QFontMetrics metrics(ScaledFont(&frame, QFont("DejaVu Sans", 8)));
        return 2 * 8 + 4 + metrics.horizontalAdvance("1.  3:05") +
               metrics.horizontalAdvance("A long title");
    }
    // What a frame captioned `title` draws at `width`, drawn afresh.
    static QImage FreshlyDrawn(const QString& title, int width) {
        CaptionFrame fresh{""};
        ApplyScale(&fresh, 2);
        fresh.setCaptionFont(QFont("DejaVu Sans", 8));
        fresh.setCaption("1. ", title, " 3:05");
        fresh.resize(width, 60);
        return fresh.grab().toImage();
    }
    CaptionFrame frame{""};
};

} // namespace

// The whole caption shows where it fits; the title gives way only when the caption would
// pass the frame's edge.
TEST_F(CaptionFrameTest, TheTitleGivesWayOnlyAPixelNarrowerThanTheWholeCaption) {
    frame.resize(widthThatFits(), 60);
    EXPECT_EQ(frame.DisplayedCaption(), "1. A long title 3:05");
    frame.resize(widthThatFits() - 1, 60);
    EXPECT_NE(frame.DisplayedCaption(), "1. A long title 3:05");
}

// The caption is laid out once and kept: a frame drawn before its title or its size changed
// draws what a new frame draws.
TEST_F(CaptionFrameTest, ACaptionIsDrawnAsItNowIs) {
    frame.resize(widthThatFits(), 60);
    frame.grab();
    frame.setCaption("1. ", "Another title", " 3:05");
    EXPECT_EQ(frame.grab().toImage(), FreshlyDrawn("Another title", widthThatFits()));
    frame.resize(widthThatFits() - 30, 60);
    EXPECT_EQ(frame.grab().toImage(), FreshlyDrawn("Another title", widthThatFits() - 30));
}

// A deck is made active by a left click only.
TEST_F(CaptionFrameTest, OnlyALeftClickCounts) {
    int clicks = 0;
    QObject::connect(&frame, &CaptionFrame::clicked, [&] { ++clicks; });
    QTest::mouseClick(&frame, Qt::RightButton);
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(&frame, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}
