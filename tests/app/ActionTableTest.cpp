#include "app/Actions.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace velmor;

namespace {

// The table on calls that only say what they were asked, deck numbers as the user sees them.
struct ActionTableTest : ::testing::Test {
    QStringList calls;
    ActionTable table = MixerActions(recording());

    ActionCalls recording() {
        const auto deck = [this](const char* what) {
            return [this, what](int d) { calls << QString("%1 %2").arg(what).arg(d + 1); };
        };
        ActionCalls c;
        c.fade = deck("fade");
        c.playPause = deck("play/pause");
        c.previous = deck("previous");
        c.next = deck("next");
        c.activate = deck("activate");
        c.speed = [this](int d, int speed) {
            calls << QString("speed %1 %2").arg(d + 1).arg(speed);
        };
        c.help = [this] { calls << "help"; };
        c.about = [this] { calls << "about"; };
        c.jingle = [this](int slot) { calls << QString("jingle %1").arg(slot + 1); };
        c.jingles = [this] { calls << "jingles"; };
        c.panic = [this] { calls << "panic"; };
        return c;
    }
    // What a typed character calls; nothing for a character without an action.
    QStringList press(int key) {
        calls.clear();
        if (const Action* action = table.forKey(key))
            action->call();
        return calls;
    }
    QStringList press(QKeyCombination keys) {
        calls.clear();
        if (const Action* action = table.forKeys(keys))
            action->call();
        return calls;
    }
};

} // namespace

// The first deck's command runs to its end before the second's; Deck 4's digit goes on to
// Deck 1.
TEST_F(ActionTableTest, DigitsActOnADeckAndTheOneAfterIt) {
    EXPECT_EQ(press('1'), (QStringList{"fade 1", "fade 2"}));
    EXPECT_EQ(press('4'), (QStringList{"fade 4", "fade 1"}));
    EXPECT_EQ(press('5'), (QStringList{"play/pause 1", "play/pause 2"}));
    EXPECT_EQ(press('8'), (QStringList{"play/pause 4", "play/pause 1"}));
}

// Keys without a character: the jingles on F1-F12, their window on Ctrl+J, the panic on
// Shift+Esc and never on Esc alone.
TEST_F(ActionTableTest, FunctionKeysFireJinglesAndShiftEscIsThePanic) {
    EXPECT_EQ(press(QKeyCombination(Qt::Key_F1)), QStringList{"jingle 1"});
    EXPECT_EQ(press(QKeyCombination(Qt::Key_F12)), QStringList{"jingle 12"});
    EXPECT_EQ(press(Qt::ShiftModifier | Qt::Key_Escape), QStringList{"panic"});
    EXPECT_EQ(press(Qt::ControlModifier | Qt::Key_J), QStringList{"jingles"});
    EXPECT_EQ(press(QKeyCombination(Qt::Key_Escape)), QStringList{});
    EXPECT_EQ(press(Qt::ShiftModifier | Qt::Key_F1), QStringList{});
    EXPECT_EQ(table.forKeys(QKeyCombination(Qt::Key_F3))->id, "jingle.3");
    EXPECT_EQ(table.forKeys(Qt::ShiftModifier | Qt::Key_Escape)->id, "master.panic");
}

// Shifted digits, the other digits, signs, space and control characters do nothing.
TEST_F(ActionTableTest, EveryOtherCharacterDoesNothing) {
    for (const int key :
         std::initializer_list<int>{'!', '"', '0', '9', ' ', '\r', '\n', '\x1b', '<', '.', '@', '[',
                                    '`', '{', 0, -1, 0xe9, 0x451})
        EXPECT_EQ(press(key), QStringList{}) << key;
}

// The actions without a key are there by their ids, for a controller to map.
TEST_F(ActionTableTest, ActionsWithoutAKeyAreFoundByTheirIds) {
    const auto run = [&](const QString& id) {
        calls.clear();
        const Action* action = table.forId(id);
        EXPECT_NE(action, nullptr) << id.toStdString();
        if (action)
            action->call();
        return calls;
    };
    EXPECT_EQ(run("deck2.previous"), QStringList{"previous 2"});
    EXPECT_EQ(run("deck3.next"), QStringList{"next 3"});
    EXPECT_EQ(run("deck1.speed_50"), QStringList{"speed 1 0"});
    EXPECT_EQ(run("deck1.speed_100"), QStringList{"speed 1 1"});
    EXPECT_EQ(run("deck4.speed_150"), QStringList{"speed 4 2"});
    EXPECT_EQ(run("deck4.speed_200"), QStringList{"speed 4 3"});
    EXPECT_EQ(run("deck2.activate"), QStringList{"activate 2"});
    EXPECT_EQ(run("window.help"), QStringList{"help"});
    EXPECT_EQ(run("window.about"), QStringList{"about"});
    EXPECT_EQ(table.forId("deck5.play_pause"), nullptr);
}

// A deck's actions in their order, as a list of ids for a controller's set-up to show.
TEST_F(ActionTableTest, TheIdsAreListedDeckByDeck) {
    const QStringList ids = table.ids();
    EXPECT_EQ(ids.size(), 4 * 12 + 4 + 4 + 3 + 6 + 1 + 12 + 2);
    EXPECT_EQ(
        ids.mid(0, 12),
        (QStringList{"deck1.fade", "deck1.play_pause", "deck1.stop", "deck1.mute", "deck1.previous",
                     "deck1.next", "deck1.speed_50", "deck1.speed_100", "deck1.speed_150",
                     "deck1.speed_200", "deck1.prelisten", "deck1.activate"}));
    EXPECT_EQ(ids.last(), "recorder.toggle");
}

TEST(ActionTable, RefusesASecondRowWithTheSameIdOrKey) {
    ActionTable table;
    table.add({"deck1.play_pause", 'w', "", "", [] {}});
    EXPECT_THROW(table.add({"deck1.play_pause", 0, "", "", [] {}}), std::logic_error);
    EXPECT_THROW(table.add({"deck1.stop", 'w', "", "", [] {}}), std::logic_error);
    table.add({"deck1.next", 0, "", "", [] {}});
    table.add({"deck1.previous", 0, "", "", [] {}});
    table.add({"jingle.1", 0, "", "", [] {}, QKeyCombination(Qt::Key_F1)});
    EXPECT_THROW(table.add({"jingle.2", 0, "", "", [] {}, QKeyCombination(Qt::Key_F1)}),
                 std::logic_error);
    EXPECT_EQ(table.ids(),
              (QStringList{"deck1.play_pause", "deck1.next", "deck1.previous", "jingle.1"}));
}
