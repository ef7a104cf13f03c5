#include "common/BrowserLists.h"
#include "common/Twips.h"
#include "common/Widgets.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

TEST(Startup, EveryDeckStartsEmptyStoppedAtFullVolumeAndNormalSpeed) {
    TestWindow t;
    ASSERT_TRUE(t.loaded);
    EXPECT_TRUE(t.reporter.empty());
    const Controls& ui = t.w().ui;
    for (int d = 0; d < kDecks; ++d) {
        SCOPED_TRACE(d);
        EXPECT_EQ(ui.fra[d]->Caption(), QString::number(d + 1));
        EXPECT_FALSE(ui.cmdPlayPause[d]->isEnabled());
        EXPECT_FALSE(ui.cmdStop[d]->isEnabled());
        EXPECT_EQ(ui.cmdPlayPause[d]->text(), ">");
        EXPECT_EQ(ui.cmdStop[d]->text(), "o");
        EXPECT_EQ(ui.cmdMute[d]->BackColor(), kButtonFace);
        EXPECT_EQ(ui.Volumen[d]->value(), 100);
        EXPECT_EQ(ui.lblVolumen[d]->text(), "100");
        EXPECT_EQ(ui.lblTracking[d]->text(), "0:0");
        EXPECT_EQ(ui.lblRTracking[d]->text(), "0:0");
        EXPECT_TRUE(ui.cmdSlowPlay[d]->isEnabled());
        EXPECT_FALSE(ui.cmdNormalPlay[d]->isEnabled());
        EXPECT_TRUE(ui.cmdFastPlay[d]->isEnabled());
        EXPECT_TRUE(ui.cmdUltraPlay[d]->isEnabled());
        EXPECT_FALSE(ui.timer[d]->isActive());
        EXPECT_FALSE(ui.FadeTimer[d]->isActive());
        EXPECT_EQ(ui.timer[d]->interval(), 250);
        EXPECT_EQ(ui.shpVa[d]->WidthTwips(), 1);
        EXPECT_EQ(ui.shpQueda[d]->WidthTwips(), 1);
        EXPECT_EQ(ui.selec[d]->FillColor(), d == 0 ? kLightBlue : kButtonFace);
        EXPECT_EQ(ui.txtLength[d]->text(), "2000");
        EXPECT_EQ(ui.txtStartVolume[d]->text(), "20");
        EXPECT_EQ(ui.txtEndVolume[d]->text(), "100");
        EXPECT_EQ(ui.txtSet[d]->text(), "0");
        EXPECT_EQ(ui.txtSetSec[d]->text(), "0");
        EXPECT_EQ(t.w().decks.TrackNumber[d], 1);
        EXPECT_EQ(t.player(d).Volume(), 0);
    }
    EXPECT_EQ(t.w().windowTitle(), "Velmor 1.0.0");
    EXPECT_EQ(ui.cross->value(), 50);
    EXPECT_EQ(ui.lblCero->text(), "1");
    EXPECT_EQ(ui.lblUno->text(), "2");
    EXPECT_TRUE(ui.optPla[0]->isChecked());
    EXPECT_EQ(ui.cmdExpandir->text(), "/\\");
    EXPECT_EQ(ui.dir->height(), TwipsToPixels(2115));
    EXPECT_EQ(t.w().height(), TwipsToPixels(7440));
    EXPECT_EQ(t.w().width(), TwipsToPixels(11235));
}

TEST(Startup, ButtonsCarryTheirColours) {
    TestWindow t;
    const Controls& ui = t.w().ui;
    EXPECT_EQ(ui.cmdHelp->BackColor(), kLightGreen);
    EXPECT_EQ(ui.cmdAbout->BackColor(), kLightGreen);
    EXPECT_EQ(ui.cmdBorrar->BackColor(), kLightRed);
    EXPECT_EQ(ui.cmdBorrarTodo->BackColor(), kLightRed);
    EXPECT_EQ(ui.cmdOK->BackColor(), kLightYellow);
    EXPECT_EQ(ui.cmdOKCarpeta->BackColor(), kLightYellow);
    EXPECT_EQ(ui.cmdGuardarComo->BackColor(), kButtonLightBlue);
    for (ColorButton* option : ui.optPla)
        EXPECT_EQ(option->BackColor(), kButtonLightBlue);
    EXPECT_EQ(ToQColor(kButtonFace, ui.cmdMute[0]->palette()),
              ui.cmdMute[0]->palette().color(QPalette::Button));
    EXPECT_EQ(ToQColor(kRed, QPalette()), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(kLightBlue, QPalette()), QColor(128, 128, 255));
}

TEST(Startup, TheScreenMustBeAtLeast9000TwipsHigh) {
    TestWindow enough(9000);
    EXPECT_TRUE(enough.loaded);
    EXPECT_TRUE(enough.reporter.empty());

    TestWindow small(8999);
    EXPECT_FALSE(small.loaded);
    ASSERT_EQ(small.reporter.messages.size(), 1u);
    EXPECT_EQ(small.reporter.last().text, "Please use 800x600 or more.");
    EXPECT_EQ(small.reporter.last().title, "Resolution issue");
    EXPECT_EQ(small.reporter.last().icon, Icon::Exclamation);
}

TEST(Startup, AFailingStepIsReportedAndSkipsTheRest) {
    TestWindow t(11520, false);
    t.player(1).failures["VolumeRead"] = "The player does not answer";
    t.w().ui.optPla[2]->setChecked(true);
    EXPECT_TRUE(t.w().Form_Load());
    ASSERT_EQ(t.reporter.messages.size(), 1u);
    EXPECT_EQ(t.reporter.last().text, "The player does not answer");
    EXPECT_EQ(t.reporter.last().title, "Velmor");
    EXPECT_EQ(t.reporter.last().icon, Icon::Exclamation);
    const Controls& ui = t.w().ui;
    EXPECT_FALSE(ui.cmdStop[0]->isEnabled());      // deck 1 was done
    EXPECT_FALSE(ui.cmdPlayPause[1]->isEnabled()); // deck 2 up to the failing step
    EXPECT_TRUE(ui.cmdStop[1]->isEnabled());       // but no further
    EXPECT_TRUE(ui.cmdStop[3]->isEnabled());
    EXPECT_EQ(t.w().activation.ActiveDeck(), 2); // deck 1 was never activated
}

TEST(Startup, CompressingTwiceReturnsToTheFirstHeight) {
    TestWindow t;
    Main& w = t.w();
    const int expanded = w.height();
    w.cmdExpandir_Click();
    EXPECT_EQ(w.height(), TwipsToPixels(4290));
    EXPECT_EQ(w.ui.cmdExpandir->text(), "\\/");
    EXPECT_EQ(w.width(), TwipsToPixels(11235));
    w.cmdExpandir_Click();
    EXPECT_EQ(w.height(), expanded);
    EXPECT_EQ(w.ui.cmdExpandir->text(), "/\\");
}

TEST(Startup, ActivatingADeckLightsOnlyItsCircleAndNamesThePair) {
    TestWindow t;
    Main& w = t.w();
    w.activation.fra_Click(3);
    EXPECT_EQ(w.activation.ActiveDeck(), 3);
    EXPECT_EQ(w.ui.lblCero->text(), "4");
    EXPECT_EQ(w.ui.lblUno->text(), "1");
    for (int d = 0; d < kDecks; ++d)
        EXPECT_EQ(w.ui.selec[d]->FillColor(), d == 3 ? kLightBlue : kButtonFace);
    w.activation.optPla_Click(1);
    EXPECT_TRUE(w.ui.optPla[1]->isChecked());
    EXPECT_FALSE(w.ui.optPla[3]->isChecked());
    EXPECT_EQ(w.ui.lblCero->text(), "2");
    EXPECT_EQ(w.ui.lblUno->text(), "3");
}
