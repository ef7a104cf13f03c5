#pragma once

#include "common/Decks.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <array>

namespace velmor {

class CaptionFrame;
class ColorButton;
class Shape;
class DriveList;
class FolderList;
class FileList;
class NoticeBar;
class LevelMeterBar;
class TrackOverviewBar;

// Every control of the main window, by the names the handlers use. Per-deck controls are
// indexed by deck (0..3 for Deck 1..4). Built once, by BuildControls.
struct Controls {
    // Inside each deck's frame.
    PerDeck<CaptionFrame> fra{};
    PerDeck<ColorButton> cmdPlayPause{}, cmdStop{}, cmdMute{}, cmdRetroceso{}, cmdAvanceTema{};
    PerDeck<ColorButton> cmdSlowPlay{}, cmdNormalPlay{}, cmdFastPlay{}, cmdUltraPlay{};
    PerDeck<QLineEdit> txtSet{}, txtSetSec{};
    PerDeck<QLabel> lbl2ptos{};
    PerDeck<QPushButton> cmdSet{};
    PerDeck<QSlider> Tracker{}, Volumen{};
    PerDeck<QLabel> lblVolumen{}, lblTracking{}, lblRTracking{};
    PerDeck<Shape> shpVa{}, shpQueda{}, selec{};
    PerDeck<QTimer> timer{};
    // Pre-listen: the deck in the headphones.
    PerDeck<ColorButton> cmdPrelisten{};
    // What the deck sends to the master, in its caption row; its track's overview, over
    // the position bars.
    PerDeck<LevelMeterBar> mtrLevel{};
    PerDeck<TrackOverviewBar> ovwTrack{};

    // The fade panel of each deck.
    PerDeck<QPushButton> cmdFade{};
    PerDeck<ColorButton> chkInOrOut{};
    PerDeck<QLabel> lblin{}, lblout{}, lblFade{}, lblMinVol{}, lblMaxVol{};
    PerDeck<QLineEdit> txtLength{}, txtStartVolume{}, txtEndVolume{};
    PerDeck<QTimer> FadeTimer{};
    // Element d follows the start volume of deck d, element d + 4 its end volume.
    std::array<QLabel*, 2 * kDecks> lblPercent{};

    // Crossfader row.
    QSlider* cross = nullptr;
    QLabel* lblCero = nullptr;
    QLabel* lblUno = nullptr;
    QPushButton* cmdExpandir = nullptr;
    // The master strip, beside the crossfader under the playlists: the master's meter on the
    // left half.
    QWidget* fraMaster = nullptr;
    LevelMeterBar* mtrMaster = nullptr;
    // Just above the strip, only once there were dropouts: how many, since the start.
    QLabel* lblDropouts = nullptr;
    // At the right end of the same line, lit only while the music is dipped under a voice;
    // a click brings it back.
    ColorButton* cmdDuck = nullptr;
    // Thirty frames a second for the meters and the overviews.
    QTimer* tmrDisplay = nullptr;
    // The time of day, at the right end of the dropouts' line; and while the master is being
    // recorded, for how long and how much, on the line above it.
    QLabel* lblClock = nullptr;
    QLabel* lblRecording = nullptr;
    // Once a second, for the clock, the decks' end times (their frames' notes) and the
    // recording.
    QTimer* tmrClock = nullptr;

    // Playlists, deck activation and list buttons.
    PerDeck<QListView> lstPlay{};
    PerDeck<ColorButton> optPla{};
    ColorButton *cmdOK = nullptr, *cmdOKCarpeta = nullptr, *cmdBorrar = nullptr,
                *cmdBorrarTodo = nullptr, *cmdGuardarComo = nullptr, *chkFocus = nullptr,
                *cmdHelp = nullptr, *cmdAbout = nullptr;

    // File browser.
    DriveList* drv = nullptr;
    FolderList* dir = nullptr;
    FileList* fil = nullptr;

    // List-save panel (covered by `dir` while closed).
    QLabel* lblNomArch = nullptr;
    QLineEdit* txtNomArch = nullptr;
    QLabel* lblM3U = nullptr;
    QPushButton* cmdGuardar = nullptr;
    QPushButton* Command1 = nullptr;

    // Failures told without a box, over the foot of the playlist area.
    NoticeBar* lblNotice = nullptr;

    // The headphones, in the master strip: their level, the cue/main blend, and the button
    // of the audio set-up window.
    QSlider* sldPhones = nullptr;
    QSlider* sldCueMix = nullptr;
    ColorButton* cmdAudio = nullptr;
};

// One deck's frame: its transport, position, volume and pre-listen controls and its track's
// overview, as the layout placed them, and its timer.
struct DeckControls {
    CaptionFrame* fra;
    ColorButton *cmdPlayPause, *cmdStop, *cmdMute, *cmdRetroceso, *cmdAvanceTema;
    ColorButton *cmdSlowPlay, *cmdNormalPlay, *cmdFastPlay, *cmdUltraPlay;
    QLineEdit *txtSet, *txtSetSec;
    QPushButton* cmdSet;
    QSlider *Tracker, *Volumen;
    QLabel *lblVolumen, *lblTracking, *lblRTracking;
    Shape *shpVa, *shpQueda;
    QTimer* timer;
    ColorButton* cmdPrelisten;
    TrackOverviewBar* ovwTrack;
};

// The controls of deck d (0 for Deck 1).
inline DeckControls DeckControlsOf(const Controls& ui, int d) {
    return {ui.fra[d],          ui.cmdPlayPause[d],  ui.cmdStop[d],     ui.cmdMute[d],
            ui.cmdRetroceso[d], ui.cmdAvanceTema[d], ui.cmdSlowPlay[d], ui.cmdNormalPlay[d],
            ui.cmdFastPlay[d],  ui.cmdUltraPlay[d],  ui.txtSet[d],      ui.txtSetSec[d],
            ui.cmdSet[d],       ui.Tracker[d],       ui.Volumen[d],     ui.lblVolumen[d],
            ui.lblTracking[d],  ui.lblRTracking[d],  ui.shpVa[d],       ui.shpQueda[d],
            ui.timer[d],        ui.cmdPrelisten[d],  ui.ovwTrack[d]};
}

} // namespace velmor
