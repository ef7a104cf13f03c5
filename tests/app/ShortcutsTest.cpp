#include "common/BrowserLists.h"
#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QLineEdit>
#include <QTimer>

using namespace velmor;
using namespace velmor::test;

namespace {

// Every deck with a track, its players' logs empty.
struct ShortcutsTest : WindowTest {
    ShortcutsTest() {
        openEveryDeck();
        clearPlayerLogs();
    }
    void key(char c) { w.shortcuts.HandleShortcutKey(c); }
    // What deck d's player was told since the last look. The fades' own steps are held back,
    // so that only the keys give orders.
    QStringList told(int d) {
        for (QTimer* timer : ui.FadeTimer)
            timer->stop();
        DeliverNotifications();
        return std::exchange(t.player(d).log, {});
    }
};

} // namespace

// The keys reach the handlers a click on the deck's buttons reaches.
TEST_F(ShortcutsTest, DeckKeysCallTheDecksOwnCommands) {
    key('w');
    EXPECT_EQ(told(0), QStringList{"Play"});
    key('e');
    EXPECT_EQ(told(0).value(0), "Stop");
    key('f');
    EXPECT_EQ(told(1), QStringList{"Mute on"});
    key('g');
    EXPECT_EQ(told(3).value(0), "Volume -3600");
    key('m');
    EXPECT_EQ(told(2), QStringList{"Prelisten on"});
    EXPECT_TRUE(ui.cmdPrelisten[2]->isChecked());
}

// A failing first deck does not keep the second from its turn.
TEST_F(ShortcutsTest, TheSecondDeckOfADigitActsWhenTheFirstFails) {
    t.player(3).failures["Play"] = "The device is gone";
    key('8');
    EXPECT_EQ(t.reporter.told, std::vector<QString>{"The device is gone"});
    EXPECT_EQ(told(0), QStringList{"Play"});
}

TEST_F(ShortcutsTest, CrossfaderAndCompressKeysMoveTheWindowsControls) {
    key('z');
    EXPECT_EQ(ui.cross->value(), 0);
    key('C');
    EXPECT_EQ(ui.cross->value(), 100);
    key('x');
    EXPECT_EQ(ui.cross->value(), 50);
    key('v');
    EXPECT_EQ(ui.cmdExpandir->text(), "\\/");
    key('V');
    EXPECT_EQ(ui.cmdExpandir->text(), "/\\");
}

// The actions without a key call the same handlers as their buttons.
TEST_F(ShortcutsTest, ActionsWithoutAKeyCallTheirButtonsHandlers) {
    w.actions.forId("deck2.speed_150")->call();
    EXPECT_EQ(told(1), QStringList{"Rate 1.5"});
    w.actions.forId("deck3.activate")->call();
    EXPECT_EQ(w.activation.ActiveDeck(), 2);
    w.actions.forId("window.help")->call();
    EXPECT_NE(w.help.frmHelp(), nullptr);
}

// Typed into a control, a key acts and the control still gets it; a text box keeps it, and
// so do the previous-track and save buttons.
TEST_F(ShortcutsTest, ControlsHandKeysOnAndStillGetThemButTextBoxesDoNot) {
    activate();
    w.playlists.list(0).append({{"a.mp3", "/m"}, {"s.mp3", "/m"}});
    ui.lstPlay[0]->setCurrentIndex(w.playlists.list(0).index(0));
    const auto playsDeck2 = [&](QWidget* control) {
        control->setFocus();
        QTest::keyClick(control, 's');
        const bool played = told(1) == QStringList{"Play"};
        if (played)
            t.playPause(1);
        clearPlayerLogs();
        return played;
    };
    EXPECT_TRUE(playsDeck2(ui.lstPlay[0]));
    EXPECT_EQ(ui.lstPlay[0]->currentIndex().row(), 1); // the list found its "s" entry
    EXPECT_TRUE(playsDeck2(ui.Volumen[1]));
    EXPECT_TRUE(playsDeck2(ui.dir));
    EXPECT_TRUE(playsDeck2(&w));
    EXPECT_FALSE(playsDeck2(ui.txtSet[0]));
    EXPECT_EQ(ui.txtSet[0]->text(), "0s");
    EXPECT_FALSE(playsDeck2(ui.cmdRetroceso[0]));
    EXPECT_FALSE(playsDeck2(ui.cmdGuardar));
}
