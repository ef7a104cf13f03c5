#include "history/EveningHistory.h"

#include "deck/DeckFixture.h"
#include "history/DroppedTable.h"
#include "history/HistoryStore.h"

#include <QFileInfo>
#include <QTemporaryDir>

namespace velmor::test {
namespace {

// Four decks on fake players and a clock moved by hand, their history opened on a file.
struct EveningHistoryTest : ::testing::Test {
    EveningHistoryTest() {
        for (int d = 0; d < kDecks; ++d) {
            entries[d].add({QString("track%1.mp3").arg(d + 1)});
            decks[d] = new Deck(d, players[d], entries[d], reporter, &owner);
            decks[d]->setLevel(80);
            decks[d]->load(0);
        }
        DeliverNotifications();
    }
    void start() {
        history = std::make_unique<EveningHistory>(
            decks, reporter, [this] { return now; },
            [](const QString& path) {
                return PlayWatcher::Names{"", QFileInfo(path).baseName()};
            });
        QObject::connect(history.get(), &EveningHistory::playedChanged,
                         [this](const QSet<QString>& paths) { pushed = paths; });
        history->open(file);
    }
    // Plays deck d for `seconds` and stops it.
    void play(int d, int seconds) {
        decks[d]->playPause();
        DeliverNotifications();
        now = now.addSecs(seconds);
        decks[d]->stop();
    }

    QTemporaryDir dir;
    QString file = dir.filePath("velmor/library.sqlite");
    QDateTime now{QDate(2026, 12, 8), QTime(21, 0, 0)};
    RecordingReporter reporter;
    std::array<FakePlayer, kDecks> players;
    std::array<TestEntries, kDecks> entries;
    QObject owner; // deletes the decks
    PerDeck<Deck> decks{};
    std::unique_ptr<EveningHistory> history;
    QSet<QString> pushed;
};

TEST_F(EveningHistoryTest, AStoreThatWillNotOpenIsOneNoticeAndTheEveningGoesOn) {
    QDir().mkpath(file); // a folder where the file should be
    start();
    ASSERT_EQ(reporter.notices.size(), 1);
    EXPECT_TRUE(reporter.notices[0].endsWith(" Tonight's history is not kept."));
    play(0, 30);
    EXPECT_EQ(history->store(), nullptr);
    EXPECT_EQ(pushed, QSet<QString>({"/music/track1.mp3"}));
}

TEST_F(EveningHistoryTest, FailedWritesAreOneNotice) {
    start();
    DropHistoryTable(file);
    play(0, 30);
    play(1, 30);
    ASSERT_EQ(reporter.notices.size(), 1);
    EXPECT_EQ(reporter.notices[0],
              "The history in " + file + " could not be written: no such table: history.");
}

} // namespace
} // namespace velmor::test
