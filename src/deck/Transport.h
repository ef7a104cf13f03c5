#pragma once

class QLineEdit;
class QWidget;

namespace velmor {

struct WindowContext;
struct DeckState;
class PositionDisplay;

// A deck's transport: play/pause, stop, mute, the four speeds and the seek to a time.
// These commands only send orders to the player; the player's notifications set the
// buttons' captions and enabled states.
class Transport {
public:
    Transport(WindowContext& window, DeckState& decks, PositionDisplay& position)
        : w_(window), decks_(decks), position_(position) {}
    void wire();

    void cmdPlayPause_Click(int d);
    void cmdStop_Click(int d);
    // The Stop button's order without its trap: the player stops and rewinds, and its
    // stopped notification does not move the deck on. A failure goes to the caller.
    void StopWithoutMovingOn(int d);
    void cmdMute_Click(int d);
    void cmdSlowPlay_Click(int d) { ApplySpeed(d, 0); }
    void cmdNormalPlay_Click(int d) { ApplySpeed(d, 1); }
    void cmdFastPlay_Click(int d) { ApplySpeed(d, 2); }
    void cmdUltraPlay_Click(int d) { ApplySpeed(d, 3); }
    void cmdSet_Click(int d);

    // Speeds by button: 50 %, 100 %, 150 %, 200 %.
    static constexpr double kRates[4] = {0.5, 1.0, 1.5, 2.0};
    void ApplySpeed(int d, int speed);

private:
    WindowContext& w_;
    DeckState& decks_;
    PositionDisplay& position_;
};

// A click in the box selects its whole text, so that typing replaces it.
void SelectAllOnClick(QLineEdit* box);
// Enter in the box gives the folder list the focus, after which keys are shortcuts again.
void FocusFolderOnEnter(QLineEdit* box, QWidget* folderList);

} // namespace velmor
