#include "common/BrowserLists.h"
#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <QRegularExpression>
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
        std::ranges::for_each(ui.FadeTimer, &QTimer::stop);
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

// Each key the help window lists does what its line says, in either case; the rest of the
// keyboard does nothing.
TEST_F(ShortcutsTest, EveryListedKeyDoesWhatTheHelpWindowSaysAndNoOtherKeyActs) {
    // What a deck command sends first; the upper-case key, pressed next, undoes the toggle.
    const QStringList actions{"fade", "play/pause", "stop", "mute", "pre-listen"};
    const QStringList first{"Volume -3600", "Play", "Stop", "Mute on", "Prelisten on"};
    const QRegularExpression listed("^'(.)'   (\\S+) (.*)$");
    const auto upper = [](char c) { return char(QChar(c).toUpper().unicode()); };
    int keys = 0;
    for (const QString& line :
         (HelpDeckKeysText() + HelpOtherKeysText() + HelpHeadphoneKeysText()).split("\r\n")) {
        const QRegularExpressionMatch m = listed.match(line);
        if (!m.hasMatch() || m.captured(2) == "audio") // the set-up window: its own test
            continue;
        SCOPED_TRACE(line.toStdString());
        ++keys;
        const char c = m.captured(1).at(0).toLatin1();
        const QString action = m.captured(2), rest = m.captured(3);
        if (action == "Crossfader") { // pressed in upper case: either case acts, to the last letter
            key(upper(c));
            EXPECT_EQ("= " + QString::number(ui.cross->value()), rest);
            clearPlayerLogs(); // the crossfader's own orders
            continue;
        }
        key(c);
        if (c == 'v') {
            EXPECT_EQ(ui.cmdExpandir->text(), "\\/");
            key('V');
            EXPECT_EQ(ui.cmdExpandir->text(), "/\\");
            continue;
        }
        std::vector<int> decks; // "deck 2", "decks 4 & 1"
        for (const QString& n : rest.section(' ', 1).split(" & "))
            decks.push_back(n.toInt() - 1);
        const QString sent = t.player(decks[0]).log.value(0);
        std::sort(decks.begin(), decks.end());
        EXPECT_EQ(ordered(), decks);
        if (decks.size() == 1) {
            EXPECT_EQ(sent, first.value(actions.indexOf(action)));
            EXPECT_EQ(ui.cmdPrelisten[decks[0]]->isChecked(), action == "pre-listen");
            key(upper(c));
            EXPECT_EQ(ordered(), decks);
            EXPECT_FALSE(ui.cmdPrelisten[decks[0]]->isChecked());
        }
    }
    EXPECT_EQ(keys, 4 * 4 + 4 + 4 + 3 + 1 + 4);
    for (const char c : {'0', '9', '!', ' ', '\r', 'p', '@', '[', '\x1b'})
        key(c);
    EXPECT_EQ(ordered(), std::vector<int>{});
    EXPECT_EQ(QString::asprintf("%d %s %d", ui.cross->value(), qPrintable(ui.cmdExpandir->text()),
                                t.reporter.empty()),
              "100 /\\ 1");
}

// Typed into a control, a key acts and the control still gets it; a text box keeps it.
TEST_F(ShortcutsTest, ControlsHandKeysOnAndStillGetThemButTextBoxesDoNot) {
    activate();
    ui.lstPlay[0]->addItems({"a.mp3", "s.mp3"});
    ui.lstPlay[0]->setCurrentRow(0);
    QString played; // per control, whether 's' played Deck 2
    for (QWidget* control :
         std::initializer_list<QWidget*>{ui.lstPlay[0], ui.Volumen[1], ui.dir, &w, ui.txtSet[0],
                                         ui.cmdRetroceso[0], ui.cmdGuardar}) {
        clearPlayerLogs();
        control->setFocus();
        QTest::keyClick(control, 's');
        played += t.player(1).log == QStringList{"Play"} ? "1" : t.player(1).log.join(',') + "0";
        if (played.endsWith('1'))
            t.playPause(1);
    }
    EXPECT_EQ(played, "1111000");
    EXPECT_EQ(ui.lstPlay[0]->currentRow(), 1); // the list found its "s" entry
    EXPECT_EQ(ui.txtSet[0]->text(), "0s");
}
