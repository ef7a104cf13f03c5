#include "app/EveningSession.h"
#include "common/NoticeBar.h"
#include "support/WindowTest.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTextLayout>

using namespace velmor;
using namespace velmor::test;

namespace {

// The window at its design size, one and a half times it and twice it.
struct ScaledTextsTest : WindowTest, ::testing::WithParamInterface<double> {
    void SetUp() override {
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
        const QSize design = w.size();
        w.resize((design.toSizeF() * GetParam()).toSize());
        QTRY_COMPARE(w.Scale(), GetParam());
    }
    // The width a label's text has to show in.
    static int available(const QLabel* label) {
        return label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
    }
};
using ScaledNoticeTest = WindowTest;

// The notice of a session set aside, naming a file deep in a home folder.
const QString kLongFolder = "/home/someone-with-a-long-name/.local/state/velmor";
QString setAsideNotice() {
    return QString(kSessionSetAside)
        .arg(kLongFolder + "/session", "line 3: not a playlist",
             kLongFolder + "/session.unreadable-20261207-233000");
}

} // namespace

// The volume labels' "100" and the fade panel's "Start Vol" and "End Vol" among them.
TEST_P(ScaledTextsTest, EveryLabelAndButtonShowsItsWholeText) {
    for (QLabel* label : w.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || label->wordWrap())
            continue;
        SCOPED_TRACE(label->text().toStdString());
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), available(label));
    }
    for (QAbstractButton* button : w.findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty())
            continue;
        SCOPED_TRACE(button->text().toStdString());
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()),
                  button->contentsRect().width());
    }
}

TEST_P(ScaledTextsTest, TheNoticeShowsALongFileNameWhole) {
    NoticeBar* notice = ui.lblNotice;
    notice->tell(setAsideNotice());
    EXPECT_TRUE(notice->isVisible());
    EXPECT_LE(notice->heightForWidth(notice->width()), notice->height());
    // Laid out as the bar lays out its text, no line is wider than the bar: the folders and
    // the name of the file set aside are not cut off at its edge.
    const int width = available(notice);
    QTextLayout layout(notice->text(), notice->font());
    QTextOption wrapped;
    wrapped.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(wrapped);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        EXPECT_LE(line.naturalTextWidth(), width) << line.lineNumber();
    }
    layout.endLayout();
    EXPECT_EQ(notice->accessibleName(), setAsideNotice());
}

INSTANTIATE_TEST_SUITE_P(AtEachSize, ScaledTextsTest, ::testing::Values(1.0, 1.5, 2.0));

// A notice told at the design size takes its new lines when the window grows.
TEST_F(ScaledNoticeTest, ANoticeToldBeforeTheWindowGrowsStillFitsAfter) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    NoticeBar* notice = ui.lblNotice;
    notice->tell(setAsideNotice());
    w.resize(w.size() * 2);
    QTRY_COMPARE(w.Scale(), 2.0);
    EXPECT_LE(notice->heightForWidth(notice->width()), notice->height());
}
