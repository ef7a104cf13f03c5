#include "support/FakeOutputs.h"
#include "support/TestWindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

// The window with the set-up's cards, playing through "card", and Deck 2 loaded.
struct OtherWindowsKeysTest : ::testing::Test {
    OtherWindowsKeysTest() {
        outputs.setup.device = "card";
        t.open(1, "/music/2.mp3");
        t.player(1).log.clear();
    }
    FakeOutputs outputs;
    TestWindow t{11520, true, [this](MainOptions& options) { options.outputs = &outputs; }};
    Main& w = t.w();

    FrmAudio& setUp() {
        w.audioSetup.cmdAudio_Click();
        return *w.audioSetup.frmAudio();
    }
    // What Deck 2's player was told since the last look.
    QStringList deck2() {
        DeliverNotifications();
        return std::exchange(t.player(1).log, {});
    }
};

} // namespace

// "s" in the set-up's list of cards plays Deck 2; the list does not jump to "System
// default", and the card that plays stays the chosen one. With the list open, a letter does
// not move its choice either: Return then keeps the card.
TEST_F(OtherWindowsKeysTest, ADeckKeyInTheSetUpsListOfCardsPlaysTheDeckAndChoosesNoCard) {
    FrmAudio& frm = setUp();
    QTest::keyClick(frm.cboDevice, 's');
    EXPECT_EQ(deck2(), QStringList{"Play"});
    EXPECT_EQ(frm.cboDevice->currentText(), "card");
    frm.cboDevice->showPopup();
    QAbstractItemView* list = frm.cboDevice->view();
    QTest::keyClick(list, 's');
    EXPECT_EQ(list->currentIndex().data().toString(), "card");
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(deck2(), QStringList{"Pause"});
    EXPECT_EQ(outputs.setup.device, "card");
}

TEST_F(OtherWindowsKeysTest, DeckAndCrossfaderKeysActFromTheHelpWindow) {
    w.help.cmdHelp_Click();
    FrmHelp& frm = *w.help.frmHelp();
    QTest::keyClick(frm.Text1, 's');
    EXPECT_EQ(deck2(), QStringList{"Play"});
    QTest::keyClick(frm.cmdCloseWindow, 'c');
    EXPECT_EQ(w.ui.cross->value(), 100);
    EXPECT_TRUE(frm.isVisible());
}
