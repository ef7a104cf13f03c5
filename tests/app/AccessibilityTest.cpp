#include "common/NoticeBar.h"
#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QLabel>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct AccessibilityTest : WindowTest {
    static QString said(QObject* control, QAccessible::Text what) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
        return face ? face->text(what) : QString("<no interface>");
    }
    QString entryDescription(int d, int row) {
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(ui.lstPlay[d]);
        QAccessibleInterface* cell = list->tableInterface()->cellAt(row, 0);
        return cell ? cell->text(QAccessible::Description) : QString("<no cell>");
    }
};
} // namespace

// Every control that shows text, painted or not, is named by it; a tooltip is its description.
TEST_F(AccessibilityTest, EveryControlThatShowsTextIsNamedAndDescribed) {
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
        const std::string what = control->metaObject()->className() + (" " + shown).toStdString();
        EXPECT_EQ(said(control, QAccessible::Name), shown) << what;
        if (!control->toolTip().isEmpty()) {
            EXPECT_EQ(said(control, QAccessible::Description), control->toolTip()) << what;
        }
    }
    EXPECT_GT(checked, 4 * 20);
    // The painted caption of a deck with a track names the track and its length.
    EXPECT_TRUE(said(ui.fra[0], QAccessible::Name).contains("Intro"))
        << ui.fra[0]->Caption().toStdString();
    EXPECT_FALSE(said(ui.fra[0], QAccessible::Description).isEmpty());
    EXPECT_FALSE(said(ui.lblTracking[0], QAccessible::Description).isEmpty());
}

// An entry that cannot be played tells why, as its tooltip does; once it plays again, not.
TEST_F(AccessibilityTest, AnUnplayableEntryIsDescribedByItsReason) {
    t.fill(2, {"a.mp3", "b.mp3"});
    const QString reason = "/music/b.mp3 cannot be played: it is cut short.";
    w.playlists.list(2).markUnplayable(1, reason);
    EXPECT_EQ(entryDescription(2, 1), reason);
    EXPECT_EQ(entryDescription(2, 0), "");
    w.playlists.list(2).clearUnplayable(1);
    EXPECT_EQ(entryDescription(2, 1), "");
}
