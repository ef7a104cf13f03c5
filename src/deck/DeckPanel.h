#pragma once

#include "common/Controls.h"

#include <QObject>
#include <QString>

namespace velmor {

class Deck;
class KnownTracks;
class Reporter;

// One deck's frame in the window: it shows what its deck does (the caption, the buttons'
// captions, colours and enabled states, the position bars, slider and times, the volume
// label, the lit pre-listen button) from the deck's signals, and turns the user's clicks into
// the deck's verbs. Each handler is a line or two; the deck does the work. Its connections
// end with it.
class DeckPanel : public QObject {
public:
    // `ui` gives the deck's own controls, and the folder list and the Auto Focus box the
    // panel's boxes and sliders hand the focus to; `known` what the remaining time counts to
    // and the "Artist – Title" the caption gives where the track's tags give both.
    DeckPanel(Deck& deck, const Controls& ui, Reporter& reporter, const KnownTracks& known);

    Deck& deck() const { return deck_; }
    const DeckControls& controls() const { return c_; }

    void cmdPlayPause_Click();
    void cmdStop_Click();
    void cmdMute_Click();
    void cmdAvanceTema_Click();
    void cmdRetroceso_Click();
    void cmdSlowPlay_Click() { ApplySpeed(0); }
    void cmdNormalPlay_Click() { ApplySpeed(1); }
    void cmdFastPlay_Click() { ApplySpeed(2); }
    void cmdUltraPlay_Click() { ApplySpeed(3); }
    // Speeds by button: 50 %, 100 %, 150 %, 200 %.
    void ApplySpeed(int speed);
    // Goes to the minutes and seconds typed, each checked against its range.
    void cmdSet_Click();
    // The minutes box is also the cue point every stop rewinds to, in seconds.
    void txtSet_Change();
    // The slider tracks while dragged: every move of the user, and every value the program
    // gives it, sets the deck's level.
    void Volumen_Change();
    // Sends the deck to the headphones, or takes it out; the button is lit while it is in.
    void cmdPrelisten_Click();
    // While the deck plays: the position display, and what the player would play next.
    void timer_Timer();
    // The user moved the position slider (drag, click on the track, keys): the deck goes
    // there.
    void Tracker_Scroll();

private:
    void wire(const Controls& ui);
    // What the deck's signals show.
    void opened();
    void closed();
    // The caption of the track in the deck: its number, its name and its length.
    void showCaption();
    void stopped();
    void playing();
    void paused();
    void showMute(bool muted);
    void showSpeed(int speed);
    void showLevel(int volume);
    void showPrelisten(bool on);
    // A deck that is not playing shows the place it will play from: the bars and both times;
    // after every seek. A playing deck's display is the timer's.
    void showStandingPosition();
    // Sets both bars for a position; a deck without a track length keeps them.
    void setBars(double position);
    // The time left from `position`, to the track's last sound where that is what counts.
    QString remainingFrom(double position) const;

    Deck& deck_;
    const DeckControls c_;
    Reporter& reporter_;
    const KnownTracks& known_;
    QString captioned_; // the path the caption names, "" when none
};

} // namespace velmor
