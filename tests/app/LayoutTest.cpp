#include "common/LevelMeterBar.h"
#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QSet>

using namespace velmor;
using namespace velmor::test;

namespace {
using LayoutTest = WindowTest;

struct Place {
    QWidget* control;
    QRect rect; // in the window
    double points;
};
} // namespace

TEST_F(LayoutTest, AtTwiceTheSizeEveryControlAndFontKeepsItsProportionalPlace) {
    // Every control of the stage, of the deck frames and of the master strip.
    const auto places = [&] {
        QSet<QWidget*> holders{
            ui.fra[0]->parentWidget(), ui.fraMaster, ui.fra[0], ui.fra[1], ui.fra[2], ui.fra[3]};
        std::vector<Place> all;
        for (QWidget* control : w.findChildren<QWidget*>())
            if (holders.contains(control->parentWidget()))
                all.push_back({control, QRect(control->mapTo(&w, QPoint()), control->size()),
                               control->font().pointSizeF()});
        return all;
    };
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QSize design = w.size();
    EXPECT_EQ(w.minimumSize(), design) << "the design size is the smallest";
    const std::vector<Place> before = places();
    w.resize(2 * design);
    QTRY_COMPARE(w.size(), 2 * design);
    const std::vector<Place> after = places();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(before[i].control->metaObject()->className());
        const QRect a = before[i].rect;
        const QRect b = after[i].rect;
        // Each edge is rounded once at either size.
        EXPECT_LE((b.topLeft() - 2 * a.topLeft()).manhattanLength(), 2);
        EXPECT_LE((b.bottomRight() - 2 * a.bottomRight()).manhattanLength(), 2);
        EXPECT_DOUBLE_EQ(after[i].points, 2 * before[i].points);
    }
}

// Bringing a deck's list to the front leaves the master strip over its foot.
TEST_F(LayoutTest, TheMasterStripStaysInFrontOfTheListBroughtForward) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.activation.fra_Click(3);
    QWidget* stage = ui.fra[0]->parentWidget();
    const auto seen = [&](QWidget* control) { // the control at its own middle
        return stage->childAt(control->mapTo(stage, control->rect().center())) == control;
    };
    EXPECT_TRUE(seen(ui.mtrMaster));
    EXPECT_TRUE(seen(ui.sldPhones));
    EXPECT_TRUE(seen(ui.cmdAudio));
}
