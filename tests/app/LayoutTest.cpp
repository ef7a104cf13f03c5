#include "common/NoticeBar.h"
#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QLabel>
#include <QTest>

using namespace velmor;
using namespace velmor::test;

namespace {
struct LayoutTest : WindowTest {
    // Every control of the stage, of the deck frames and of the master strip, with its place
    // in the window and the size of its text.
    std::vector<std::pair<QRect, double>> places() {
        QSet<QWidget*> holders{ui.fra[0]->parentWidget(), ui.fraMaster};
        for (QWidget* frame : ui.fra)
            holders << frame;
        std::vector<std::pair<QRect, double>> all;
        for (QWidget* control : w.findChildren<QWidget*>())
            if (holders.contains(control->parentWidget()))
                all.push_back({QRect(control->mapTo(&w, QPoint()), control->size()),
                               control->font().pointSizeF()});
        return all;
    }
    void resizeTo(QSize size) {
        w.resize(size);
        QTRY_COMPARE(w.size(), size);
    }
    static QString said(QObject* control, QAccessible::Text what) {
        return QAccessible::queryAccessibleInterface(control)->text(what);
    }
};
} // namespace

TEST_F(LayoutTest, AtTwiceTheSizeEveryControlAndFontKeepsItsProportionalPlace) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QSize design = w.size();
    EXPECT_EQ(w.minimumSize(), design) << "the design size is the smallest";
    const auto before = places();
    ASSERT_GT(before.size(), 150u);

    resizeTo(2 * design);
    EXPECT_EQ(w.Scale(), 2.0);
    const auto after = places();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        // Each edge is rounded once at either size: a pixel either way.
        const QRect a = before[i].first, b = after[i].first;
        const QPoint edges[] = {b.topLeft() - 2 * a.topLeft(),
                                b.bottomRight() - 2 * a.bottomRight()};
        EXPECT_LE(std::max(edges[0].manhattanLength(), edges[1].manhattanLength()), 4) << i;
        EXPECT_DOUBLE_EQ(after[i].second, 2 * before[i].second) << i;
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

// Every control that shows text, painted or not, is named by it; a tooltip is its
// description; an entry that cannot be played is described by its reason.
TEST_F(LayoutTest, EveryControlThatShowsTextIsNamedByIt) {
    t.fill(0, {"Intro.mp3", "Gone.mp3"});
    ui.lblNotice->tell("Deck 1: Gone.mp3 cannot be played: it does not exist.");
    int checked = 0;
    for (QWidget* control : w.findChildren<QWidget*>()) {
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(control))
            shown = label->text();
        else if (auto* frame = qobject_cast<CaptionFrame*>(control))
            shown = frame->Caption();
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            shown = button->text();
        if (shown.isEmpty())
            continue;
        ++checked;
        SCOPED_TRACE(control->metaObject()->className() + (" " + shown).toStdString());
        EXPECT_EQ(said(control, QAccessible::Name), shown);
        if (!control->toolTip().isEmpty()) {
            EXPECT_EQ(said(control, QAccessible::Description), control->toolTip());
        }
    }
    EXPECT_GT(checked, 4 * 20);
    EXPECT_TRUE(said(ui.fra[0], QAccessible::Name).contains("Intro"));

    const QString reason = "/music/Gone.mp3 cannot be played: it is cut short.";
    w.playlists.list(0).markUnplayable(1, reason);
    QAccessibleTableInterface* list =
        QAccessible::queryAccessibleInterface(ui.lstPlay[0])->tableInterface();
    EXPECT_EQ(list->cellAt(1, 0)->text(QAccessible::Description), reason);
    EXPECT_EQ(list->cellAt(0, 0)->text(QAccessible::Description), "");
}
