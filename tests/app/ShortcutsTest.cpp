#include "common/BrowserLists.h"
#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {
struct ShortcutsTest : WindowTest {

    ShortcutsTest() {
        openEveryDeck();
        clearPlayerLogs();
    }
    void key(char c) { w.shortcuts.HandleShortcutKey(c); }
};
} // namespace

TEST_F(ShortcutsTest, EachLetterActsOnItsDeckInEitherCase) {
    const char* const rows[kDecks] = {"qwer", "asdf", "tyui", "ghjk"};
    // What each column's command sends first to the player.
    const char* const first[4] = {"Volume -3600", "Play", "Stop", "Mute on"};
    for (int d = 0; d < kDecks; ++d) {
        for (int k = 0; k < 4; ++k) {
            for (const char c : {rows[d][k], char(rows[d][k] - 'a' + 'A')}) {
                SCOPED_TRACE(c);
                key(c);
                for (int other = 0; other < kDecks; ++other)
                    EXPECT_EQ(t.player(other).log.isEmpty(), other != d);
                ASSERT_FALSE(t.player(d).log.isEmpty());
                if (c >= 'a') { // the upper-case key undoes the lower-case one's toggle
                    EXPECT_EQ(t.player(d).log.first(), first[k]);
                }
                DeliverNotifications();
                clearPlayerLogs();
            }
        }
        EXPECT_EQ(ui.cmdFade[d]->text(), "Fading...");
    }
    EXPECT_TRUE(t.reporter.empty());
}

TEST_F(ShortcutsTest, DigitsActOnTwoNeighbouringDecksOneAfterTheOther) {
    key('4');
    EXPECT_EQ(ui.cmdFade[3]->text(), "Fading...");
    EXPECT_EQ(ui.cmdFade[0]->text(), "Fading...");
    EXPECT_EQ(ui.cmdFade[1]->text(), "Fade");

    // Deck 1 playing, deck 2 stopped: "5" pauses the one and starts the other.
    ui.chkInOrOut[1]->click(); // keep deck 2's fade from touching it
    DeliverNotifications();
    EXPECT_EQ(t.player(0).PlayState(), MediaPlayer::Playing);
    clearPlayerLogs();
    key('5');
    EXPECT_EQ(t.player(0).log, QStringList{"Pause"});
    EXPECT_EQ(t.player(1).log, QStringList{"Play"});
    DeliverNotifications();
    key('8'); // deck 4 is playing from its fade, deck 1 paused
    EXPECT_EQ(t.player(3).log.last(), "Pause");
    EXPECT_EQ(t.player(0).log.last(), "Play");
}

TEST_F(ShortcutsTest, TwoFadesStartedByOneKeyRunTheirOwnCourse) {
    // Deck 1 fades out over 1000 ms while deck 2 fades in over the default 2000 ms.
    ui.chkInOrOut[0]->click();
    ui.txtLength[0]->setText("1000");
    w.transport.cmdPlayPause_Click(0);
    DeliverNotifications();
    key('1');
    for (int tick = 1; tick <= 20; ++tick) {
        w.fades.FadeTimer_Timer(1);
        w.fades.FadeTimer_Timer(0);
    }
    EXPECT_EQ(t.player(0).Volume(), -3600);
    EXPECT_EQ(t.player(1).Volume(), -1800);
    w.fades.FadeTimer_Timer(0);
    EXPECT_EQ(t.player(0).PlayState(), MediaPlayer::Stopped);
    EXPECT_EQ(ui.cmdFade[1]->text(), "Fading...");
}

TEST_F(ShortcutsTest, CrossfaderAndWindowKeys) {
    key('z');
    EXPECT_EQ(ui.cross->value(), 0);
    EXPECT_EQ(t.player(1).Volume(), -4500); // applied as a move
    key('C');
    EXPECT_EQ(ui.cross->value(), 100);
    EXPECT_EQ(t.player(0).Volume(), -4500);
    key('x');
    EXPECT_EQ(ui.cross->value(), 50);
    EXPECT_EQ(t.player(0).Volume(), 0);
    key('v');
    EXPECT_EQ(ui.cmdExpandir->text(), "\\/");
    key('V');
    EXPECT_EQ(ui.cmdExpandir->text(), "/\\");
}

TEST_F(ShortcutsTest, OtherCharactersDoNothing) {
    for (const char c : {'!', '9', '0', ' ', '\r', 'p', '[', '@', '\x1b'})
        key(c);
    for (int d = 0; d < kDecks; ++d) {
        EXPECT_TRUE(t.player(d).log.isEmpty());
        EXPECT_EQ(ui.cmdFade[d]->text(), "Fade");
    }
    EXPECT_EQ(ui.cross->value(), 50);
    EXPECT_EQ(ui.cmdExpandir->text(), "/\\");
}

TEST_F(ShortcutsTest, QDuringAFadeRestartsIt) {
    key('q');
    DeliverNotifications();
    for (int tick = 0; tick < 10; ++tick)
        w.fades.FadeTimer_Timer(0);
    clearPlayerLogs();
    key('q'); // the button is disabled; the key still calls the command
    EXPECT_EQ(t.player(0).log, (QStringList{"Volume -3600", "Position 0", "Pause"}));
    EXPECT_EQ(w.fades.state(0).FadeTick, 0);
    EXPECT_TRUE(ui.FadeTimer[0]->isActive());
}

TEST_F(ShortcutsTest, ForwardingControlsHandKeysOnAndStillGetThem) {
    activate();
    const std::vector<QWidget*> forwarding = {ui.cmdPlayPause[2],
                                              ui.cmdStop[0],
                                              ui.cmdMute[1],
                                              ui.cmdAvanceTema[3],
                                              ui.cmdSlowPlay[0],
                                              ui.cmdNormalPlay[0],
                                              ui.cmdFastPlay[0],
                                              ui.cmdUltraPlay[0],
                                              ui.cmdSet[1],
                                              ui.cmdFade[2],
                                              ui.chkInOrOut[3],
                                              ui.lstPlay[0],
                                              ui.optPla[1],
                                              ui.Tracker[2],
                                              ui.Volumen[3],
                                              ui.cross,
                                              ui.cmdExpandir,
                                              ui.cmdAbout,
                                              ui.cmdHelp,
                                              ui.cmdBorrar,
                                              ui.cmdBorrarTodo,
                                              ui.cmdOK,
                                              ui.cmdOKCarpeta,
                                              ui.cmdGuardarComo,
                                              ui.chkFocus,
                                              ui.drv,
                                              ui.dir,
                                              ui.fil};
    // Whether "x" typed into the control puts the crossfader back in the middle.
    auto forwards = [&](QWidget* control) {
        ui.cross->setValue(0);
        control->setFocus();
        QTest::keyClick(control, 'x');
        return ui.cross->value() == 50;
    };
    for (QWidget* control : forwarding)
        EXPECT_TRUE(forwards(control)) << control->metaObject()->className();

    // Typing into these never triggers a shortcut.
    const std::vector<QWidget*> silent = {ui.txtSet[0],         ui.txtSetSec[0],    ui.txtLength[1],
                                          ui.txtStartVolume[2], ui.txtEndVolume[3], ui.txtNomArch,
                                          ui.cmdRetroceso[0],   ui.cmdGuardar,      ui.Command1};
    for (QWidget* control : silent)
        EXPECT_FALSE(forwards(control)) << control->metaObject()->className();

    // The character still reaches the list: "s" plays deck 2 and finds the "s" entry.
    ui.lstPlay[0]->addItems({"a.mp3", "s.mp3"});
    ui.lstPlay[0]->setCurrentRow(0);
    clearPlayerLogs();
    ui.lstPlay[0]->setFocus();
    QTest::keyClick(ui.lstPlay[0], 's');
    EXPECT_EQ(t.player(1).log, QStringList{"Play"});
    EXPECT_EQ(ui.lstPlay[0]->currentRow(), 1);

    // "z" from a deck's own button moves the crossfader; that deck plays no part.
    ui.cross->setValue(50);
    clearPlayerLogs();
    ui.cmdPlayPause[2]->setFocus();
    QTest::keyClick(ui.cmdPlayPause[2], 'z');
    EXPECT_EQ(ui.cross->value(), 0);
    EXPECT_TRUE(t.player(2).log.isEmpty());
}

TEST_F(ShortcutsTest, FadeBoxesTakeDigitsAndEnterMovesOnToTheFolders) {
    activate();
    for (QLineEdit* box : {ui.txtLength[0], ui.txtStartVolume[1], ui.txtEndVolume[2]}) {
        box->clear();
        box->setFocus();
        QTest::keyClicks(box, "2000");
        EXPECT_EQ(box->text(), "2000");
        QTest::keyClick(box, Qt::Key_Return);
        EXPECT_TRUE(ui.dir->hasFocus());
    }
    for (int d = 0; d < kDecks; ++d) {
        EXPECT_EQ(ui.cmdFade[d]->text(), "Fade");
        EXPECT_TRUE(t.player(d).log.isEmpty());
    }
    // The window itself, with no control focused, hands keys on too.
    w.setFocus();
    QTest::keyClick(&w, 'z');
    EXPECT_EQ(ui.cross->value(), 0);
}
