#include "common/NoticeBar.h"
#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QTest>
#include <QTimer>

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
    bool noticeShowsAtItsCentre() {
        NoticeBar* bar = ui.lblNotice;
        const QWidget* top = w.childAt(bar->geometry().center());
        return bar->isVisible() && (top == bar || bar->isAncestorOf(top));
    }
};
} // namespace

TEST_F(LayoutTest, AtTwiceTheSizeEveryControlAndFontKeepsItsProportionalPlace) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QSize design = w.size();
    EXPECT_EQ(w.minimumSize(), design) << "the design size is the smallest";
    const auto before = places();
    w.resize(2 * design);
    QTRY_COMPARE(w.size(), 2 * design);
    const auto after = places();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        // Each edge is rounded once at either size: a pixel either way.
        const QRect a = before[i].first, b = after[i].first;
        EXPECT_LE((b.topLeft() - 2 * a.topLeft()).manhattanLength() +
                      (b.bottomRight() - 2 * a.bottomRight()).manhattanLength(),
                  4)
            << i;
        EXPECT_DOUBLE_EQ(after[i].second, 2 * before[i].second) << i;
    }
    // Compressed at twice the size, the window is twice as high as compressed at the design.
    w.cmdExpandir_Click();
    const int compressedAtTwice = w.height();
    w.cmdExpandir_Click();
    w.resize(design);
    QTRY_COMPARE(w.size(), design);
    w.cmdExpandir_Click();
    EXPECT_NEAR(compressedAtTwice, 2 * w.height(), 1);
}

TEST_F(LayoutTest, AFailureIsABoxOnlyForTheUsersOwnCommandWithNothingPlaying) {
    openEveryDeck();
    activate();
    t.player(1).failures["Play"] = "The device is gone";
    const auto byClick = [&] { QTest::mouseClick(ui.cmdPlayPause[1], Qt::LeftButton); };
    const auto byTimer = [&] {
        QTimer::singleShot(0, &w, [&] { w.transport.cmdPlayPause_Click(1); });
        DeliverNotifications();
    };
    // (how it fails, whether a deck plays, whether it is a box)
    for (const auto& [fail, deckPlays, box] :
         std::initializer_list<std::tuple<std::function<void()>, bool, bool>>{
             {byClick, false, true}, {byClick, true, false}, {byTimer, false, false}}) {
        if (deckPlays != (t.player(0).PlayState() == MediaPlayer::Playing))
            t.playPause(0);
        t.reporter.clear();
        fail();
        EXPECT_EQ(t.reporter.told, std::vector<QString>{"The device is gone"});
        EXPECT_EQ(t.reporter.messages.size(), box ? 1u : 0u) << deckPlays << box;
    }
}

// Keys acting while a notice shows are the broken-entry scene's; here, where it shows.
TEST_F(LayoutTest, ANoticeStaysOnTopOfTheListsAndAClickPutsItAway) {
    activate();
    MessageBoxReporter program; // the program's own, given the notice bar as at start-up
    program.setNoticeBar(ui.lblNotice);
    program.notice("/music/b.mp3 cannot be played: not an audio file.");
    EXPECT_TRUE(noticeShowsAtItsCentre());
    w.activation.fra_Click(3); // another deck's list brought to the front
    EXPECT_TRUE(noticeShowsAtItsCentre());
    QTest::mouseClick(ui.lblNotice, Qt::LeftButton);
    EXPECT_FALSE(ui.lblNotice->isVisible());
}

TEST_F(LayoutTest, ClosingAsksOnlyWhileADeckPlaysAndNoKeepsTheWindow) {
    t.open(2, "/music/3.mp3");
    // (a deck plays, the answer, the window closes)
    for (const auto& [deckPlays, answer, closes] :
         std::initializer_list<std::tuple<bool, bool, bool>>{
             {false, false, true}, {true, false, false}, {true, true, true}}) {
        w.show();
        if (deckPlays != (t.player(2).PlayState() == MediaPlayer::Playing))
            t.playPause(2);
        t.reporter.questions.clear();
        t.reporter.answer = answer;
        EXPECT_EQ(w.close(), closes);
        EXPECT_EQ(t.reporter.questions.size(), deckPlays ? 1u : 0u);
    }
}
