#include "history/EveningHistory.h"

#include "history/DroppedTable.h"
#include "support/TestWindow.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velmor::test {
namespace {

// The window on fake players and a clock moved by hand; Deck 1 holds "/music/track1.mp3" and
// Deck 2 "/music/track2.mp3".
struct EveningHistoryTest : ::testing::Test {
    EveningHistoryTest() {
        t.fill(0, {"track1.mp3"});
        t.fill(1, {"track2.mp3"});
        QObject::connect(t.w().history.get(), &EveningHistory::playedChanged,
                         [this](const QSet<QString>& paths) { pushed = paths; });
    }
    // Plays deck d for `seconds` and stops it.
    void play(int d, int seconds) {
        t.playPause(d);
        now = now.addSecs(seconds);
        t.w().decks[d]->stop();
        DeliverNotifications();
    }

    QTemporaryDir dir;
    QString file = dir.filePath("velmor/library.sqlite");
    QDateTime now{QDate(2026, 12, 8), QTime(21, 0, 0)};
    TestWindow t{11520, true,
                 [this](MainOptions& options) { options.clock = [this] { return now; }; }};
    QSet<QString> pushed;
};

TEST_F(EveningHistoryTest, AStoreThatWillNotOpenIsOneNoticeAndTheEveningGoesOn) {
    QDir().mkpath(file); // a folder where the file should be
    t.w().history->open(file);
    ASSERT_EQ(t.reporter.notices.size(), 1);
    EXPECT_TRUE(t.reporter.notices[0].endsWith(" Tonight's history is not kept."));
    play(0, 30);
    EXPECT_EQ(t.w().history->store(), nullptr);
    EXPECT_EQ(pushed, QSet<QString>({"/music/track1.mp3"}));
}

TEST_F(EveningHistoryTest, FailedWritesAreOneNotice) {
    t.w().history->open(file);
    DropHistoryTable(file);
    play(0, 30);
    play(1, 30);
    ASSERT_EQ(t.reporter.notices.size(), 1);
    EXPECT_EQ(t.reporter.notices[0],
              "The history in " + file + " could not be written: no such table: history.");
}

} // namespace
} // namespace velmor::test
