#pragma once

class QLineEdit;
class QWidget;

namespace velmor {

struct WindowContext;

// A deck's transport panel: play/pause, stop, mute, the four speeds, the seek to a time and
// the cue point (the minutes box, read as seconds). The handlers give the deck its orders;
// the deck's notifications set the buttons' captions, colours and enabled states.
class Transport {
public:
    explicit Transport(WindowContext& window) : w_(window) {}
    void wire();

    void cmdPlayPause_Click(int d);
    void cmdStop_Click(int d);
    void cmdMute_Click(int d);
    void cmdSlowPlay_Click(int d) { ApplySpeed(d, 0); }
    void cmdNormalPlay_Click(int d) { ApplySpeed(d, 1); }
    void cmdFastPlay_Click(int d) { ApplySpeed(d, 2); }
    void cmdUltraPlay_Click(int d) { ApplySpeed(d, 3); }
    void cmdSet_Click(int d);
    // The minutes box is also the cue point every stop rewinds to, in seconds.
    void txtSet_Change(int d);

    // Speeds by button: 50 %, 100 %, 150 %, 200 %.
    void ApplySpeed(int d, int speed);

private:
    void showMute(int d, bool muted);
    void showSpeed(int d, int speed);
    WindowContext& w_;
};

// A click in the box selects its whole text, so that typing replaces it.
void SelectAllOnClick(QLineEdit* box);
// Enter in the box gives the folder list the focus, after which keys are shortcuts again.
void FocusFolderOnEnter(QLineEdit* box, QWidget* folderList);

} // namespace velmor
