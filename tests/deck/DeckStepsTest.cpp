#include "common/Widgets.h"
#include "deck/TimeText.h"
#include "playlist/DeckPlaylist.h"
#include "support/WindowTest.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>

using namespace velmor;
using namespace velmor::test;

namespace {
// Deck 1's list, one character an entry: "A" is /music/A.mp3; a lower-case one is a file the
// player refuses. The first entry is opened as adding does, unless it is refused.
// Steps: P play/pause, S stop, E the track ends, N next, V previous, m the position moves to
// 60 s, k the slider is dragged to 30 s, f the player's level moves (as a fade leaves it), c the
// cue box reads 2, dK entry K is deleted.
struct Case {
    const char *list, *steps;
    char loaded; // '-': nothing
    int trackNumber, state;
    double position;
    const char* notice; // nullptr: none; else the only notice contains this
};

constexpr int Closed = MediaPlayer::Closed, Stopped = MediaPlayer::Stopped,
              Paused = MediaPlayer::Paused, Playing = MediaPlayer::Playing;
const char* const kOneBad = "Deck 1: /music/b.mp3 cannot be played";

const Case kCases[] = {
    // At a track's end the deck plays the next entry, and stops on the last at the cue.
    {"ABC", "PE", 'B', 2, Playing, 0, nullptr},
    {"ABC", "PEEcE", 'C', 3, Stopped, 2, nullptr},
    {"ABC", "PEd2d0E", 'B', 2, Stopped, 0, nullptr}, // entries deleted: nothing to go to
    {"AxyD", "PE", 'D', 4, Playing, 0, "stepped over 2 entries, the first because /music/x.mp3"},
    {"AxyD", "PEE", 'D', 4, Stopped, 0, "2 entries"},
    {"Axyz", "PE", 'A', 1, Stopped, 0, "3 entries"},
    // Stop rewinds without moving on; a stop on a stopped deck leaves no flag behind.
    {"AB", "PmS", 'A', 1, Stopped, 0, nullptr},
    {"AB", "PmSP", 'A', 1, Playing, 0, nullptr},
    {"AB", "SPE", 'B', 2, Playing, 0, nullptr},
    {"AB", "PP", 'A', 1, Paused, 0, nullptr},
    {"AB", "PPP", 'A', 1, Playing, 0, nullptr},
    {"AB", "PfS", 'A', 1, Stopped, 0, nullptr}, // every stop puts the slider's level back
    {"AB", "k", 'A', 1, Stopped, 30, nullptr},
    {"AB", "PPk", 'A', 1, Paused, 30, nullptr},
    {"", "NVP", '-', 1, Closed, 0, nullptr}, // nothing open: nothing happens
    // Next and previous load a stopped deck without playing, up to either end of the list.
    {"ABC", "NNN", 'C', 3, Stopped, 0, nullptr},
    {"ABC", "NVV", 'A', 1, Stopped, 0, nullptr},
    {"AB", "Nd1d0V", 'B', 2, Stopped, 0, nullptr}, // every entry deleted: nothing before
    // On a playing or paused deck the neighbour plays from its start.
    {"ABC", "NPmV", 'A', 1, Playing, 0, nullptr},
    {"ABC", "PmV", 'A', 1, Playing, 60, nullptr}, // the first entry plays on
    {"ABC", "PPN", 'B', 2, Playing, 0, nullptr},
    {"ABC", "NNPd2d1NV", 'A', 1, Playing, 0, nullptr}, // A stood before the deleted C
    // Entries that cannot be played are stepped over both ways, and tried once.
    {"AbC", "N", 'C', 3, Stopped, 0, kOneBad},
    {"AbC", "NV", 'A', 1, Stopped, 0, kOneBad},
    {"AbC", "NVPN", 'C', 3, Playing, 0, kOneBad},
    {"Ab", "NPN", 'A', 1, Playing, 0, kOneBad},
    {"bAC", "N", 'A', 2, Stopped, 0, nullptr}, // nothing open: the first was refused when added
};

struct DeckStepsTest : WindowTest, ::testing::WithParamInterface<Case> {};
} // namespace

TEST_P(DeckStepsTest, EachStepLoadsAndPlaysTheEntryItShould) {
    const Case& c = GetParam();
    SCOPED_TRACE(std::string(c.list) + " after " + c.steps);
    FakePlayer& player = t.player(0);
    DeckPlaylist& list = w.playlists.list(0);
    ui.Volumen[0]->setValue(80);
    for (QChar e : QString(c.list)) {
        if (e.isLower())
            player.refused[QString("/music/%1.mp3").arg(e)] = "not an audio file";
        list.append(QString(e) + ".mp3", "/music");
    }
    if (*c.list && QChar(*c.list).isUpper())
        t.open(0, QString("/music/%1.mp3").arg(*c.list));
    const std::map<char, std::function<void()>> act = {
        {'P', [&] { w.transport.cmdPlayPause_Click(0); }},
        {'S', [&] { w.transport.cmdStop_Click(0); }},
        {'E', [&] { player.endTrack(); }},
        {'N', [&] { w.navigation.cmdAvanceTema_Click(0); }},
        {'V', [&] { w.navigation.cmdRetroceso_Click(0); }},
        {'m', [&] { player.setPosition(60); }},
        {'k', [&] { ui.Tracker[0]->setSliderPosition(30); }},
        {'f', [&] { player.setVolume(-4000); }},
        {'c', [&] { ui.txtSet[0]->setText("2"); }},
    };
    for (const char* s = c.steps; *s; ++s) {
        if (*s == 'd')
            list.removeAt(*++s - '0');
        else
            act.find(*s)->second();
        DeliverNotifications();
    }

    EXPECT_EQ((std::tuple{player.FileName(), w.decks[0]->trackNumber(), player.PlayState(),
                          player.CurrentPosition()}),
              (std::tuple{c.loaded == '-' ? QString() : QString("/music/%1.mp3").arg(c.loaded),
                          c.trackNumber, c.state, c.position}));
    EXPECT_EQ(player.Volume(), -900) << "the slider's 80";
    // The deck's controls follow the state the player reports.
    const bool going = c.state == Playing || c.state == Paused;
    EXPECT_EQ((std::tuple{ui.cmdPlayPause[0]->isEnabled(), ui.cmdStop[0]->isEnabled(),
                          ui.timer[0]->isActive(), ui.cmdPlayPause[0]->BackColor() == kRed}),
              (std::tuple{c.state != Closed, going, going, c.state == Paused}));
    if (c.state == Stopped) {
        EXPECT_EQ(ui.Tracker[0]->value(), int(c.position));
    }
    if (c.state == Stopped || c.state == Paused) { // where it will play from, and what is left
        EXPECT_EQ(ui.lblTracking[0]->text() + " " + ui.lblRTracking[0]->text(),
                  TimeText(c.position) + " " + RemainingTime(c.position, player.Duration()));
        EXPECT_EQ(ui.shpVa[0]->WidthTwips(), BarWidthsAt(c.position, player.Duration())->elapsed);
    }
    EXPECT_TRUE(t.reporter.empty()) << "nothing in a box";
    const std::vector<QString>& notices = t.reporter.notices;
    EXPECT_EQ(notices.size(), c.notice ? 1u : 0u);
    EXPECT_TRUE(!c.notice || (notices.size() == 1 && notices[0].contains(c.notice)));
}

INSTANTIATE_TEST_SUITE_P(Rows, DeckStepsTest, ::testing::ValuesIn(kCases));
