#include "common/Widgets.h"
#include "support/Looks.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTest>
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

// A deck's play button turns red and back at every start and stop of an evening: it must
// paint each colour under one key, or the style's pixmap cache grows all night.
TEST(ColorButtonTest, AColourShownAgainIsPaintedUnderTheSameKey) {
    KeyRecordingStyle style;
    ColorButton button(">");
    button.setStyle(&style);
    button.resize(40, 20);
    for (int i = 0; i < 20; ++i) {
        button.setBackColor(i % 2 ? kRed : kButtonFace);
        button.grab();
    }
    EXPECT_EQ(style.keys.size(), 2u);
    EXPECT_EQ(button.palette().color(QPalette::Button), ToQColor(kRed, QPalette()))
        << "the widget's palette still tells its colour";
}

// The kept palette must not keep the state it was first painted in: a button enabled, disabled
// and enabled again, in either colour, shows each state as it is.
TEST(ColorButtonTest, IsDrawnInTheStateItIsInWhateverItWasFirstPaintedIn) {
    ColorButton button(">");
    button.resize(40, 20);
    for (const Rgb colour : {kButtonFace, kRed, kButtonFace})
        for (const bool enabled : {false, true, false, true}) {
            button.setBackColor(colour);
            button.setEnabled(enabled);
            EXPECT_EQ(test::CaptionLooksEnabled(&button), enabled)
                << "colour " << colour << (enabled ? ", enabled" : ", disabled");
        }
}

// A deck is made the active one by a left click on its frame, not by another button.
TEST(CaptionFrameTest, OnlyALeftClickCounts) {
    CaptionFrame frame("Deck 1");
    frame.resize(120, 60);
    int clicks = 0;
    QObject::connect(&frame, &CaptionFrame::clicked, [&] { ++clicks; });
    QTest::mouseClick(&frame, Qt::RightButton);
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(&frame, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}
