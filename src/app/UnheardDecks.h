#pragma once

#include "deck/SilenceWatch.h"
#include "deck/player/MasterLevels.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace velmor {

class Main;

// Watches the master's levels, as the meters take them, for a deck that plays but is not
// heard, and tells of it; where the set-up asks for it, the deck moves on to its next entry.
class UnheardDecks {
public:
    UnheardDecks(Main& window, std::function<QDateTime()> clock);
    void wire();

    // Off by default: a deck that is not heard is only told of.
    bool movesOn() const { return movesOn_; }
    void setMovesOn(bool on) { movesOn_ = on; }

    void masterLevels(const MasterLevels& levels);

private:
    Main& w_;
    std::function<QDateTime()> clock_;
    QDateTime epoch_;
    SilenceWatch watch_;
    bool movesOn_ = false;
};

// "Deck 2 plays but nothing is heard: ..."
QString UnheardNotice(int deck, bool movesOn);

} // namespace velmor
