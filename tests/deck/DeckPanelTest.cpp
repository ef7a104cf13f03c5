#include "common/Widgets.h"
#include "support/WindowTest.h"

#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

// Deck 1's panel in the real window: its buttons, colours, timer, slider and times follow
// what the deck does; its buttons are the deck's verbs.
namespace {
struct DeckPanelTest : WindowTest {
    FakePlayer& player = t.player(0);

    void click(QPushButton* button) {
        button->click();
        DeliverNotifications();
    }
};
} // namespace

TEST_F(DeckPanelTest, AnOpenedTrackShowsItsTitleAndLengthAndCanBePlayed) {
    t.fill(0, {"Song.mp3"});
    EXPECT_EQ(ui.fra[0]->Caption(), "1. Song 3:5");
    EXPECT_TRUE(ui.cmdPlayPause[0]->isEnabled());
    EXPECT_FALSE(ui.cmdStop[0]->isEnabled());
    EXPECT_EQ(ui.Tracker[0]->maximum(), 185);
    EXPECT_EQ(ui.lblTracking[0]->text(), "0:0");
    EXPECT_EQ(ui.lblRTracking[0]->text(), "3:5");
}

TEST_F(DeckPanelTest, ATrackWhoseTagsGiveArtistAndTitleIsCaptionedByThem) {
    t.fill(0, {"track07_final(2).mp3"});
    w.tagReading.waitUntilDone();
    w.knownTracks.learnTags("/music/track07_final(2).mp3", {"Chic", "Good Times", "", {}});
    EXPECT_EQ(ui.fra[0]->Caption(), u"1. Chic \u2013 Good Times 3:5"_qs);
}

// Tags learnt after the file closed leave the frame bare too.
TEST_F(DeckPanelTest, AClosedFileLeavesTheFrameBare) {
    t.fill(0, {"Song.mp3"});
    w.tagReading.waitUntilDone();
    player.closeFile();
    DeliverNotifications();
    EXPECT_EQ(ui.fra[0]->Caption(), "1. ");
    EXPECT_FALSE(ui.cmdPlayPause[0]->isEnabled());
    EXPECT_EQ(ui.lblRTracking[0]->text(), "0:0");
    w.knownTracks.learnTags("/music/Song.mp3", {"Chic", "Good Times", "", {}});
    EXPECT_EQ(ui.fra[0]->Caption(), "1. ");
}

// Playing, the deck is blue with the pause caption and its timer on; paused, light blue with
// a red play button, its timer still on; stopped, black, its timer off, showing the cue it
// will play from.
TEST_F(DeckPanelTest, EachPlayStateShowsInTheFrameTheButtonsAndTheTimer) {
    t.fill(0, {"Song.mp3"});
    ui.txtSet[0]->setText("2");
    click(ui.cmdPlayPause[0]);
    EXPECT_EQ(ui.fra[0]->ForeColor(), kBlue);
    EXPECT_EQ(ui.cmdPlayPause[0]->text(), "| |");
    EXPECT_TRUE(ui.cmdStop[0]->isEnabled());
    EXPECT_TRUE(ui.timer[0]->isActive());

    click(ui.cmdPlayPause[0]);
    EXPECT_EQ(ui.fra[0]->ForeColor(), kLightBlue);
    EXPECT_EQ(ui.cmdPlayPause[0]->text(), ">");
    EXPECT_EQ(ui.cmdPlayPause[0]->BackColor(), kRed);
    EXPECT_TRUE(ui.timer[0]->isActive());

    player.setPosition(60);
    click(ui.cmdStop[0]);
    EXPECT_EQ(ui.fra[0]->ForeColor(), kBlack);
    EXPECT_EQ(ui.cmdPlayPause[0]->text(), ">");
    EXPECT_EQ(ui.cmdPlayPause[0]->BackColor(), kButtonFace);
    EXPECT_FALSE(ui.cmdStop[0]->isEnabled());
    EXPECT_FALSE(ui.timer[0]->isActive());
    EXPECT_EQ(ui.Tracker[0]->value(), 2);
    EXPECT_EQ(ui.lblTracking[0]->text(), "0:2");
    EXPECT_EQ(ui.lblRTracking[0]->text(), "3:3");
}

TEST_F(DeckPanelTest, TheNavigationButtonsMoveTheDeckThroughItsList) {
    t.fill(0, {"A.mp3", "B.mp3"});
    click(ui.cmdAvanceTema[0]);
    EXPECT_EQ(ui.fra[0]->Caption(), "1. B 3:5");
    click(ui.cmdRetroceso[0]);
    EXPECT_EQ(ui.fra[0]->Caption(), "1. A 3:5");
}

TEST_F(DeckPanelTest, TheVolumeSliderSetsTheDecksLevelAndItsLabelShowsIt) {
    t.fill(0, {"Song.mp3"});
    ui.Volumen[0]->setValue(80);
    EXPECT_EQ(w.decks[0]->level(), 80);
    EXPECT_EQ(ui.lblVolumen[0]->text(), "80");
}
