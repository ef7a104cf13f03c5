#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QTest>

using namespace velmor;
using namespace velmor::test;

namespace {
// Where a control is in the window and how large its text is.
struct Place {
    QWidget* control;
    QRect rect;
    double points;
};

struct LayoutTest : WindowTest {
    // Every control of the stage, of the deck frames and of the master strip.
    std::vector<Place> places() {
        QWidget* stage = ui.fra[0]->parentWidget();
        QSet<QWidget*> holders{stage, ui.fraMaster};
        for (QWidget* frame : ui.fra)
            holders << frame;
        std::vector<Place> all;
        for (QWidget* control : w.findChildren<QWidget*>())
            if (holders.contains(control->parentWidget()))
                all.push_back({control, QRect(control->mapTo(&w, QPoint()), control->size()),
                               control->font().pointSizeF()});
        return all;
    }
    void resizeTo(QSize size) {
        w.resize(size);
        QTRY_COMPARE(w.size(), size);
    }
};
} // namespace

TEST_F(LayoutTest, AtTwiceTheSizeEveryControlAndFontKeepsItsProportionalPlace) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QSize design = w.size();
    EXPECT_EQ(w.minimumSize(), design) << "the design size is the smallest";
    const std::vector<Place> before = places();
    ASSERT_GT(before.size(), 150u);

    resizeTo(2 * design);
    EXPECT_EQ(w.Scale(), 2.0);
    const std::vector<Place> after = places();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        const QRect a = before[i].rect, b = after[i].rect;
        const QString what = before[i].control->metaObject()->className() + QString(" ") +
                             before[i].control->toolTip() + " at " +
                             QString("%1,%2").arg(a.x()).arg(a.y());
        // Each edge is rounded once at either size: a pixel either way.
        EXPECT_NEAR(b.left(), 2 * a.left(), 2) << qPrintable(what);
        EXPECT_NEAR(b.top(), 2 * a.top(), 2) << qPrintable(what);
        EXPECT_NEAR(b.width(), 2 * a.width(), 2) << qPrintable(what);
        EXPECT_NEAR(b.height(), 2 * a.height(), 2) << qPrintable(what);
        EXPECT_DOUBLE_EQ(after[i].points, 2 * before[i].points) << qPrintable(what);
    }

    // Compressing keeps the compressed height's proportion to the expanded one, at any size.
    w.cmdExpandir_Click();
    const int compressedAtTwice = w.height();
    w.cmdExpandir_Click();
    EXPECT_EQ(w.size(), 2 * design);
    resizeTo(design);
    w.cmdExpandir_Click();
    EXPECT_NEAR(compressedAtTwice, 2 * w.height(), 1);
    EXPECT_EQ(w.width(), design.width());
}
