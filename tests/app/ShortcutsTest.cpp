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
    // The decks whose players were given an order since the last look. The fades' own
    // steps are held back, so that only the keys give orders.
    std::vector<int> ordered() {
        for (QTimer* timer : ui.FadeTimer)
            timer->stop();
        DeliverNotifications();
        std::vector<int> decks;
        for (int d = 0; d < kDecks; ++d)
            if (!t.player(d).log.isEmpty())
                decks.push_back(d);
        clearPlayerLogs();
        return decks;
    }
};
} // namespace

TEST_F(ShortcutsTest, EachKeyActsOnItsDecksInEitherCaseAndOtherCharactersDoNothing) {
    // Fade, play/pause, stop and mute of each deck; the upper-case key undoes the toggle of
    // the lower-case one, so only the lower-case key's first order is known.
    const char* const rows[kDecks] = {"qwer", "asdf", "tyui", "ghjk"};
    const char* const first[4] = {"Volume -3600", "Play", "Stop", "Mute on"};
    for (int d = 0; d < kDecks; ++d) {
        for (int k = 0; k < 4; ++k) {
            for (const char c : {rows[d][k], char(rows[d][k] - 'a' + 'A')}) {
                SCOPED_TRACE(c);
                key(c);
                if (c >= 'a') {
                    EXPECT_EQ(t.player(d).log.value(0), first[k]);
                }
                EXPECT_EQ(ordered(), std::vector<int>{d});
            }
        }
        EXPECT_EQ(ui.cmdFade[d]->text(), "Fading...");
    }
    // Digits act on a deck and the one after it; the rest of the keyboard does nothing.
    struct Case {
        char key;
        std::vector<int> decks;
    };
    for (const Case& c :
         {Case{'1', {0, 1}}, Case{'4', {0, 3}}, Case{'5', {0, 1}}, Case{'8', {0, 3}}, Case{'0', {}},
          Case{'9', {}}, Case{'!', {}}, Case{' ', {}}, Case{'\r', {}}, Case{'p', {}}, Case{'@', {}},
          Case{'[', {}}, Case{'\x1b', {}}}) {
        SCOPED_TRACE(c.key);
        key(c.key);
        EXPECT_EQ(ordered(), c.decks);
        EXPECT_EQ(ui.cross->value(), 50);
        EXPECT_EQ(ui.cmdExpandir->text(), "/\\");
    }
    EXPECT_TRUE(t.reporter.empty());

    // The crossfader keys move it as the user does; "v" compresses and expands the window.
    struct Move {
        char key;
        int cross, silentDeck; // Deck 1 is active, Deck 2 the other end
    };
    for (const Move m : {Move{'z', 0, 1}, Move{'C', 100, 0}, Move{'x', 50, -1}}) {
        key(m.key);
        EXPECT_EQ(ui.cross->value(), m.cross);
        if (m.silentDeck >= 0) {
            EXPECT_EQ(t.player(m.silentDeck).Volume(), -4500);
        }
    }
    key('v');
    EXPECT_EQ(ui.cmdExpandir->text(), "\\/");
    key('V');
    EXPECT_EQ(ui.cmdExpandir->text(), "/\\");
}

TEST_F(ShortcutsTest, ControlsHandKeysOnAndStillGetThemButTextBoxesDoNot) {
    activate();
    // Whether "x" typed into the control puts the crossfader back in the middle.
    auto forwards = [&](QWidget* control) {
        ui.cross->setValue(0);
        control->setFocus();
        QTest::keyClick(control, 'x');
        return ui.cross->value() == 50;
    };
    for (QWidget* control :
         std::initializer_list<QWidget*>{ui.cmdPlayPause[2], ui.chkInOrOut[3], ui.Volumen[1],
                                         ui.cross, ui.cmdExpandir, ui.dir, &w})
        EXPECT_TRUE(forwards(control)) << control->metaObject()->className();
    for (QWidget* control :
         std::initializer_list<QWidget*>{ui.txtSet[0], ui.txtLength[1], ui.txtNomArch,
                                         ui.cmdRetroceso[0], ui.cmdGuardar, ui.Command1})
        EXPECT_FALSE(forwards(control)) << control->metaObject()->className();

    // The character still reaches the list: "s" plays deck 2 and finds the "s" entry.
    ui.lstPlay[0]->addItems({"a.mp3", "s.mp3"});
    ui.lstPlay[0]->setCurrentRow(0);
    clearPlayerLogs();
    ui.lstPlay[0]->setFocus();
    QTest::keyClick(ui.lstPlay[0], 's');
    EXPECT_EQ(t.player(1).log, QStringList{"Play"});
    EXPECT_EQ(ui.lstPlay[0]->currentRow(), 1);

    // The fade boxes take digits, and Enter moves on to the folders.
    QLineEdit* box = ui.txtStartVolume[1];
    box->clear();
    box->setFocus();
    QTest::keyClicks(box, "20");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->text(), "20");
    EXPECT_TRUE(ui.dir->hasFocus());
    EXPECT_EQ(ui.cmdFade[1]->text(), "Fade");
}
