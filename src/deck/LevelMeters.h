#pragma once

#include "common/MeterBallistics.h"
#include "deck/DeckState.h"

#include <QElapsedTimer>
#include <array>

namespace velmor {

class Main;

// The level meters: what each deck sends to the master, and the master after its limiter,
// read from the players thirty times a second by the window's one display timer.
class LevelMeters {
public:
    explicit LevelMeters(Main& window) : w_(window) {}
    void wire();

    // A frame of the display: every meter takes what was measured since the last one.
    void tmrDisplay_Timer();

private:
    Main& w_;
    std::array<MeterBallistics, kDecks> decks_;
    MeterBallistics master_;
    QElapsedTimer clock_;
};

} // namespace velmor
