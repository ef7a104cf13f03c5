#include "common/Widgets.h"
#include "common/LevelMeterBar.h"
#include "common/MeterBallistics.h"
#include "common/Reporter.h"
#include "common/Twips.h"
#include "support/Looks.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <set>

using namespace velmor;

namespace {
// Fusion, noting the palette key of every button it paints: the key its bevel cache uses.
class KeyRecordingStyle : public QProxyStyle {
public:
    KeyRecordingStyle() : QProxyStyle(QStyleFactory::create("Fusion")) {}
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_PushButton)
            keys.insert(option->palette.cacheKey());
        QProxyStyle::drawControl(element, option, painter, widget);
    }
    mutable std::set<qint64> keys;
};
} // namespace

// A deck's play button turns red and back at every start and stop of an evening. It shows each
// state as it is, whatever state it was first painted in, and paints each colour under one
// key, or the style's pixmap cache grows all night.
TEST(ColorButtonTest, IsDrawnInItsStateAndEachColourUnderOneKey) {
    KeyRecordingStyle style;
    ColorButton button(">");
    button.setStyle(&style);
    button.resize(40, 20);
    for (const Rgb colour : {kButtonFace, kRed, kButtonFace, kRed})
        for (const bool enabled : {false, true, false, true}) {
            button.setBackColor(colour);
            button.setEnabled(enabled);
            EXPECT_EQ(test::CaptionLooksEnabled(&button), enabled) << colour << " " << enabled;
        }
    EXPECT_EQ(style.keys.size(), 2u);
}

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

// Return in a question box gives the answer the question was asked with as its default;
// Escape is always a No.
TEST(ReporterTest, ReturnGivesTheQuestionsDefaultAndEscapeNo) {
    MessageBoxReporter reporter;
    const auto answer = [&](Qt::Key key, Answer byDefault) {
        QTimer::singleShot(0, [key] { // inside the box's own event loop
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            QTest::keyClick(box, key);
        });
        return reporter.ask("Restore?", byDefault);
    };
    EXPECT_TRUE(answer(Qt::Key_Return, Answer::Yes));
    EXPECT_FALSE(answer(Qt::Key_Return, Answer::No));
    EXPECT_FALSE(answer(Qt::Key_Escape, Answer::Yes));
}

// A reporter that cannot ask answers the default, and one without a window for notices
// shows a box.
TEST(ReporterTest, OneThatCannotAskAnswersTheDefaultAndANoticeWithoutABarIsABox) {
    struct Boxes : Reporter {
        void show(const QString& t, const QString&, Icon i) override { shown << t, last = i; }
        QStringList shown;
        Icon last = Icon::None;
    } reporter;
    reporter.notice("gone");
    EXPECT_EQ(std::tuple(reporter.ask("Quit?"), reporter.shown, reporter.last),
              std::tuple(false, QStringList{"gone"}, Icon::Exclamation));
    EXPECT_TRUE(reporter.ask("Restore?", Answer::Yes));
}

TEST(MeterBallistics, RisesAtOnceFallsSteadilyAndHoldsPeakAndClipForASecondAndAHalf) {
    const double fall = MeterBallistics::kFallDbPerSecond, floor = MeterBallistics::kFloorDb;
    const float kMinus12 = 0.251189f, kQuiet = 0.01f; // -12 and -40 dBFS
    // At: peak fed, limited; then peak, rms (left, right), hold and clip shown.
    const std::tuple<double, float, bool, std::array<double, 5>, bool> steps[] = {
        {10.0, kMinus12, false, {-12, -18, -18, -24, -12}, false},
        {10.5, kQuiet, false, {-12 - fall * 0.5, -1, -1, -1, -12}, false},
        {11.4, kQuiet, false, {-1, -1, -1, -1, -12}, false},
        {11.6, kQuiet, false, {-40, -46, -46, -52, -40}, false}, // the hold is over
        {12.0, 1.0f, false, {0, -6, -6, -12, 0}, true},          // full scale
        {13.4, kQuiet, false, {-1, -1, -1, -1, -1}, true},
        {13.6, kQuiet, false, {-1, -1, -1, -1, -1}, false},
        {14.0, kMinus12, true, {-1, -1, -1, -1, -1}, true}, // the limiter worked
        {20.0, 0, false, {floor, floor, floor, floor, floor}, false},
    };
    MeterBallistics meter;
    for (const auto& [at, peak, limited, want, clip] : steps) {
        meter.feed({peak, peak / 2}, {peak / 2, peak / 4}, limited, at);
        const auto shown = meter.shown();
        const double got[] = {shown.peak[0], shown.peak[1], shown.rms[0], shown.rms[1],
                              shown.hold[0]};
        EXPECT_EQ(shown.clip, clip) << "at " << at;
        for (int i = 0; i < 5; ++i) // -1: not pinned at this step
            EXPECT_TRUE(want[i] == -1 || std::abs(got[i] - want[i]) < 0.05)
                << "at " << at << ", value " << i << " is " << got[i];
    }
}

// Drawn, a peak above the RMS lights the bar past the RMS's reach.
TEST(LevelMeterBarTest, ThePeakIsDrawnPastTheRms) {
    const auto litAt = [](double peakDb) {
        LevelMeterBar bar(false);
        bar.resize(200, 20);
        MeterBallistics::Shown shown;
        shown.peak = {peakDb, peakDb}, shown.rms = {-40, -40};
        bar.setShown(shown);
        const QImage drawn = bar.grab().toImage();
        int lit = 0;
        for (int x = 0; x < drawn.width(); ++x)
            lit += drawn.pixel(x, 5) != drawn.pixel(drawn.width() - 1, 5);
        return lit;
    };
    EXPECT_GT(litAt(-12), litAt(-40) + 20);
}
