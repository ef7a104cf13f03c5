#include "common/Widgets.h"
#include "support/Looks.h"

#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
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

// A play button, 40 by 20, painted by Fusion.
struct ColorButtonTest : ::testing::Test {
    ColorButtonTest() {
        button.setStyle(&style);
        button.resize(40, 20);
    }
    KeyRecordingStyle style;
    ColorButton button{">"};
};

} // namespace

// A deck's play button turns red and back at every start and stop of an evening. It shows each
// state as it is, whatever state it was first painted in, and paints each colour under one
// key, or the style's pixmap cache grows all night.
TEST_F(ColorButtonTest, IsDrawnAsItIsWhateverItsColourUnderOneCacheKeyAColour) {
    for (const Rgb colour : {kButtonFace, kRed, kButtonFace, kRed})
        for (const bool enabled : {false, true, false, true}) {
            button.setBackColor(colour);
            button.setEnabled(enabled);
            EXPECT_EQ(test::CaptionLooksEnabled(&button), enabled)
                << "colour " << colour << ", enabled " << enabled;
        }
    EXPECT_EQ(style.keys.size(), 2u);
}
