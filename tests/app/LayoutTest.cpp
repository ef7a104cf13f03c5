#include "common/BrowserLists.h"
#include "common/LevelMeterBar.h"
#include "common/Widgets.h"
#include "deck/LevelMeters.h"
#include "support/WindowTest.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

using namespace velmor;
using namespace velmor::test;

namespace {
using LayoutTest = WindowTest;
struct ShortcutsTest : WindowTest {
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

TEST_F(LayoutTest, AtTwiceTheSizeEveryControlAndFontKeepsItsProportionalPlace) {
    // Every control of the stage, of the deck frames and of the master strip, with its place
    // in the window and the size of its text.
    const auto places = [&] {
        QSet<QWidget*> holders{
            ui.fra[0]->parentWidget(), ui.fraMaster, ui.fra[0], ui.fra[1], ui.fra[2], ui.fra[3]};
        std::vector<std::pair<QRect, double>> all;
        for (QWidget* control : w.findChildren<QWidget*>())
            if (holders.contains(control->parentWidget()))
                all.push_back({QRect(control->mapTo(&w, QPoint()), control->size()),
                               control->font().pointSizeF()});
        return all;
    };
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QSize design = w.size();
    EXPECT_EQ(w.minimumSize(), design) << "the design size is the smallest";
    const auto before = places();
    w.resize(2 * design);
    QTRY_COMPARE(w.size(), 2 * design);
    const auto after = places();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) { // each edge is rounded once at either size
        const QRect a = before[i].first, b = after[i].first;
        const int off = (b.topLeft() - 2 * a.topLeft()).manhattanLength() +
                        (b.bottomRight() - 2 * a.bottomRight()).manhattanLength();
        EXPECT_TRUE(off <= 4 && qFuzzyCompare(after[i].second, 2 * before[i].second)) << i;
    }
}

TEST_F(LayoutTest, ClosingAsksOnlyWhileADeckPlaysAndNoKeepsTheWindow) {
    t.open(2, "/music/3.mp3");
    const auto close = [&](bool deckPlays, bool answer) { // "closes/questions asked"
        w.show();
        if (deckPlays != (t.player(2).PlayState() == MediaPlayer::Playing))
            t.playPause(2);
        t.reporter.questions.clear();
        t.reporter.answer = answer;
        return QString("%1/%2 ").arg(w.close()).arg(t.reporter.questions.size()); // closes first
    };
    EXPECT_EQ(close(false, false) + close(true, false) + close(true, true), "1/0 0/1 1/1 ");
}

// A failure takes the keyboard in a box only when the user's own click caused it with nothing
// playing; while a deck plays, or when a timer met it, it is a notice.
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

// A screen under 9000 twips high is refused; a failing step is told and skips the rest:
// Deck 1 was done, Deck 2 up to the failing step, Deck 1 never activated.
TEST(Startup, TheScreenMustBeHighEnoughAndAFailingStepSkipsTheRest) {
    EXPECT_TRUE(TestWindow(9000).loaded);
    TestWindow small(8999);
    EXPECT_EQ(std::pair(small.loaded, small.reporter.last().icon),
              std::pair(false, Icon::Exclamation));

    TestWindow t(11520, false);
    t.player(1).failures["VolumeRead"] = "The player does not answer";
    const Controls& ui = t.w().ui;
    ui.optPla[2]->setChecked(true);
    EXPECT_TRUE(t.w().Form_Load());
    ASSERT_EQ(t.reporter.told, std::vector<QString>{"The player does not answer"});
    EXPECT_EQ(QString::asprintf("%d%d%d active %d", ui.cmdStop[0]->isEnabled(),
                                ui.cmdPlayPause[1]->isEnabled(), ui.cmdStop[1]->isEnabled(),
                                t.w().activation.ActiveDeck()),
              "001 active 2");
}

// Every deck starts empty at full volume with Deck 1 active; choosing a deck, by its frame
// or its option, lights only its circle and names the pair.
TEST_F(LayoutTest, EveryDeckStartsEmptyAndActivatingADeckLightsOnlyItsCircle) {
    const auto decks = [&] { // per deck: enabled buttons, volume + tick, track, lit circle
        QString all =
            QString::asprintf("active %d pair %s%s:", w.activation.ActiveDeck(),
                              qPrintable(ui.lblCero->text()), qPrintable(ui.lblUno->text()));
        for (int d = 0; d < kDecks; ++d)
            all += QString::asprintf(
                " %d%d/%d/%d/%d", ui.cmdPlayPause[d]->isEnabled(), ui.cmdStop[d]->isEnabled(),
                ui.Volumen[d]->value() + ui.timer[d]->interval(), w.decks[d]->trackNumber(),
                ui.selec[d]->FillColor() == kLightBlue);
        return all;
    };
    EXPECT_EQ(decks(), "active 0 pair 12: 00/350/1/1 00/350/1/0 00/350/1/0 00/350/1/0");
    w.activation.fra_Click(3);
    EXPECT_EQ(decks(), "active 3 pair 41: 00/350/1/0 00/350/1/0 00/350/1/0 00/350/1/1");
    w.activation.optPla_Click(1);
    EXPECT_EQ(decks(), "active 1 pair 23: 00/350/1/0 00/350/1/1 00/350/1/0 00/350/1/0");
}

// One window at a time, not modal, afresh after closing. The About box begins with the window's
// caption.
TEST_F(LayoutTest, OneHelpWindowAtATimeNotModalAndAfreshAfterClosing) {
    w.help.cmdHelp_Click();
    FrmHelp* frm = w.help.frmHelp();
    w.help.cmdHelp_Click();
    ASSERT_TRUE(frm && w.help.frmHelp() == frm && frm->isVisible() && !frm->isModal());
    frm->cmdCloseWindow->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.help.frmHelp(), nullptr);
    w.help.cmdHelp_Click();
    EXPECT_TRUE(w.help.frmHelp() && w.help.frmHelp()->isVisible());

    w.help.cmdAbout_Click();
    EXPECT_TRUE(t.reporter.last().text.startsWith(w.windowTitle() + "\r\n"));
}

// Each key the help window lists does what its line says, in either case; the rest of the
// keyboard does nothing.
TEST_F(ShortcutsTest, EveryListedKeyDoesWhatTheHelpWindowSaysAndNoOtherKeyActs) {
    openEveryDeck();
    clearPlayerLogs();
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
            key('V'); // back to full height: the last check below
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
    EXPECT_EQ(QString::asprintf("%zu %d %s %d", ordered().size(), ui.cross->value(),
                                qPrintable(ui.cmdExpandir->text()), t.reporter.empty()),
              "0 100 /\\ 1");
}

// Typed into a control, a key acts and the control still gets it; a text box keeps it.
TEST_F(ShortcutsTest, ControlsHandKeysOnAndStillGetThemButTextBoxesDoNot) {
    openEveryDeck();
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

TEST(MasterStrip, TheDropoutsTextNamesTheHeadphonesOnlyWhenTheyHadSome) {
    EXPECT_EQ(DropoutsText(0, 0), "");
    EXPECT_EQ(DropoutsText(3, 0), "Dropouts: 3");
    EXPECT_EQ(DropoutsText(3, 1), QString::fromUtf8("Dropouts: 3 \u00b7 phones 1"));
    EXPECT_EQ(DropoutsText(0, 2), QString::fromUtf8("Dropouts: 0 \u00b7 phones 2"));
}

// Nothing is said while there were no dropouts; once there were, the count shows whole at
// the window's design size, in front of the active list.
TEST(MasterStrip, TheDropoutsShowOnlyOnceThereWereSomeWholeAndInFront) {
    MasterLevels levels;
    TestWindow t(11520, true,
                 [&](MainOptions& options) { options.masterLevels = [&] { return levels; }; });
    Main& w = t.w();
    QLabel* dropouts = w.ui.lblDropouts;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.meters.tmrDisplay_Timer();
    EXPECT_FALSE(dropouts->isVisible());

    levels.underruns = 99999;
    levels.phonesUnderruns = 99999;
    w.meters.tmrDisplay_Timer();
    EXPECT_TRUE(dropouts->isVisible());
    EXPECT_LE(dropouts->sizeHint().width(), dropouts->width());
    EXPECT_LE(dropouts->sizeHint().height(), dropouts->height());
    w.activation.fra_Click(2);
    const QPoint middle = dropouts->geometry().center();
    EXPECT_EQ(w.ui.fra[0]->parentWidget()->childAt(middle), dropouts);
}

// Bringing a deck's list to the front leaves the master strip over its foot.
TEST_F(LayoutTest, TheMasterStripStaysInFrontOfTheListBroughtForward) {
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    w.activation.fra_Click(3);
    QWidget* stage = ui.fra[0]->parentWidget();
    const auto seen = [&](QWidget* control) { // the control at its own middle
        return stage->childAt(control->mapTo(stage, control->rect().center())) == control;
    };
    EXPECT_TRUE(seen(ui.mtrMaster));
    EXPECT_TRUE(seen(ui.sldPhones));
    EXPECT_TRUE(seen(ui.cmdAudio));
}
