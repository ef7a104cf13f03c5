#include "common/Reporter.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace velmor;

namespace {

// The answer a real question box gives to `key`, pressed inside the box's own event loop.
bool AnswerWithKey(Qt::Key key, Answer byDefault) {
    QTimer::singleShot(0, [key] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, key);
    });
    MessageBoxReporter reporter;
    return reporter.ask("Restore?", byDefault);
}

// A reporter that only shows boxes, as one without a window for notices does.
struct BoxesOnly : Reporter {
    void show(const QString& text, const QString&, Icon icon) override {
        shown << text;
        lastIcon = icon;
    }
    QStringList shown;
    Icon lastIcon = Icon::None;
};

} // namespace

// Return in a question box gives the answer the question was asked with as its default;
// Escape is always a No.
TEST(ReporterTest, ReturnGivesTheQuestionsDefaultAnswerAndEscapeANo) {
    EXPECT_TRUE(AnswerWithKey(Qt::Key_Return, Answer::Yes));
    EXPECT_FALSE(AnswerWithKey(Qt::Key_Return, Answer::No));
    EXPECT_FALSE(AnswerWithKey(Qt::Key_Escape, Answer::Yes));
}

// One without a window for notices cannot ask: it answers the default, showing nothing. It
// shows a notice as an exclamation box.
TEST(ReporterTest, OneWithoutABarAnswersTheDefaultAndShowsANoticeAsAnExclamationBox) {
    BoxesOnly reporter;
    EXPECT_FALSE(reporter.ask("Quit?"));
    EXPECT_TRUE(reporter.ask("Restore?", Answer::Yes));
    EXPECT_TRUE(reporter.shown.isEmpty());
    reporter.notice("gone");
    EXPECT_EQ(reporter.shown, QStringList{"gone"});
    EXPECT_EQ(reporter.lastIcon, Icon::Exclamation);
}
