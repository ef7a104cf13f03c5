#include "app/Actions.h"
#include "app/Help.h"
#include "support/WindowTest.h"

#include <QPlainTextEdit>
#include <QPushButton>

using namespace velmor;
using namespace velmor::test;

namespace {
const ActionTable kActions = MixerActions({});

QString lines(const QStringList& each) {
    return each.join("\r\n") + "\r\n";
}

using HelpWindowTest = WindowTest;
} // namespace

TEST(HelpTexts, TheDeckKeysColumn) {
    EXPECT_EQ(HelpDeckKeysText(kActions),
              lines({"Deck 1 Main Controls", "'q'   fade deck 1", "'w'   play/pause deck 1",
                     "'e'   stop deck 1",    "'r'   mute deck 1", "",
                     "Deck 2 Main Controls", "'a'   fade deck 2", "'s'   play/pause deck 2",
                     "'d'   stop deck 2",    "'f'   mute deck 2", "",
                     "Deck 3 Main Controls", "'t'   fade deck 3", "'y'   play/pause deck 3",
                     "'u'   stop deck 3",    "'i'   mute deck 3", "",
                     "Deck 4 Main Controls", "'g'   fade deck 4", "'h'   play/pause deck 4",
                     "'j'   stop deck 4",    "'k'   mute deck 4"}));
}

TEST(HelpTexts, TheDigitCrossfaderAndOtherKeysColumn) {
    EXPECT_EQ(HelpOtherKeysText(kActions),
              lines({"Auto CrossFading", "'1'   fade decks 1 & 2", "'2'   fade decks 2 & 3",
                     "'3'   fade decks 3 & 4", "'4'   fade decks 4 & 1", "",
                     "Track Skipping between Decks", "'5'   stop deck 1, play/pause deck 2",
                     "'6'   stop deck 2, play/pause deck 3", "'7'   stop deck 3, play/pause deck 4",
                     "'8'   stop deck 4, play/pause deck 1", "", "Crossfader Settings",
                     "'z'   Crossfader = 0", "'x'   Crossfader = 50", "'c'   Crossfader = 100", "",
                     "Other Keys", "'v'   \\/ or /\\ button"}));
}

TEST(HelpTexts, TheHeadphonesAndSetUpColumn) {
    EXPECT_EQ(HelpHeadphoneKeysText(kActions), lines({"Headphones",
                                                      "'b'   pre-listen deck 1",
                                                      "'n'   pre-listen deck 2",
                                                      "'m'   pre-listen deck 3",
                                                      "','   pre-listen deck 4",
                                                      "(or the headphones button",
                                                      "of the deck)",
                                                      "",
                                                      "Audio Set-up",
                                                      "'o'   audio set-up window",
                                                      "",
                                                      "Library",
                                                      "'l'   library window",
                                                      "(or Ctrl+F)",
                                                      "",
                                                      "Recording",
                                                      "Ctrl+R   record the main output / stop",
                                                      "",
                                                      "Announcements",
                                                      "'p'   voice over: music down / back",
                                                      "F1-F12   jingles: play / stop",
                                                      "Ctrl+J   jingles window",
                                                      "Shift+Esc   panic: all fade out in 3 s"}));
}

// One window at a time, its three columns the table's keys, not modal, afresh after closing.
TEST_F(HelpWindowTest, OneHelpWindowOfTheKeysAtATimeNotModalAndAfreshAfterClosing) {
    w.help.cmdHelp_Click();
    FrmHelp* frm = w.help.frmHelp();
    ASSERT_NE(frm, nullptr);
    EXPECT_TRUE(frm->Text1->toPlainText().startsWith("Deck 1 Main Controls\n'q'   fade deck 1\n"));
    EXPECT_TRUE(frm->Text2->toPlainText().endsWith("Other Keys\n'v'   \\/ or /\\ button\n"));
    EXPECT_TRUE(frm->Text3->toPlainText().startsWith("Headphones\n'b'   pre-listen deck 1\n"));
    w.help.cmdHelp_Click();
    EXPECT_EQ(w.help.frmHelp(), frm);
    EXPECT_TRUE(frm->isVisible());
    EXPECT_FALSE(frm->isModal());
    frm->cmdCloseWindow->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w.help.frmHelp(), nullptr);
    w.help.cmdHelp_Click();
    ASSERT_NE(w.help.frmHelp(), nullptr);
    EXPECT_TRUE(w.help.frmHelp()->isVisible());
}

// The About box begins with the window's caption.
TEST_F(HelpWindowTest, TheAboutBoxBeginsWithTheWindowsCaption) {
    w.help.cmdAbout_Click();
    EXPECT_TRUE(t.reporter.last().text.startsWith("Velmor " + Main::Version() + "\r\n"));
    EXPECT_EQ(w.windowTitle(), "Velmor " + Main::Version());
}
