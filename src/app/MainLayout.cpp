#include "app/MainLayout.h"
#include "common/Controls.h"

#include "common/Accessible.h"
#include "common/BrowserLists.h"
#include "common/LevelMeterBar.h"
#include "common/NoticeBar.h"
#include "common/TrackOverviewBar.h"
#include "common/TwipsLayout.h"
#include "common/Widgets.h"
#include "deck/player/AudioOutputs.h"
#include "playlist/PlaylistFiles.h"

#include <QButtonGroup>

namespace velmor {
namespace {

QFont fontOf(const char* family, double points, bool bold = false) {
    QFont font(QString::fromLatin1(family));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}
const char* const kSans = "Liberation Sans";   // stands in for Arial and MS Sans Serif
const char* const kSerif = "Liberation Serif"; // for Times New Roman
const char* const kMono = "Liberation Mono";   // for Courier New

template <typename W> W* place(W* widget, int left, int top, int width, int height) {
    PlaceInTwips(widget, QRectF(left, top, width, height));
    return widget;
}

QLabel* label(QWidget* parent, const QString& caption, int l, int t, int w, int h) {
    return place(new QLabel(caption, parent), l, t, w, h);
}

QLineEdit* textBox(QWidget* parent, const QString& text, const QString& tip, int l, int t, int w,
                   int h) {
    auto* box = place(new QLineEdit(text, parent), l, t, w, h);
    box->setToolTip(tip);
    box->setTextMargins(0, 0, 0, 0);
    return box;
}

ColorButton* button(QWidget* parent, const QString& caption, const QString& tip, int l, int t,
                    int w, int h, Rgb color = kButtonFace) {
    auto* b = place(new ColorButton(caption, parent), l, t, w, h);
    b->setToolTip(tip);
    if (color != kButtonFace)
        b->setBackColor(color);
    return b;
}

QPushButton* plainButton(QWidget* parent, const QString& caption, const QString& tip, int l, int t,
                         int w, int h) {
    auto* b = place(new QPushButton(caption, parent), l, t, w, h);
    b->setToolTip(tip);
    return b;
}

QSlider* slider(QWidget* parent, const QString& tip, int max, int large, int l, int t, int w,
                int h) {
    auto* s = place(new QSlider(Qt::Horizontal, parent), l, t, w, h);
    s->setToolTip(tip);
    s->setRange(0, max);
    s->setPageStep(large);
    s->setSingleStep(1);
    s->setMouseTracking(true);
    s->setFocusPolicy(Qt::StrongFocus);
    return s;
}

QLabel* coloured(QLabel* l, Rgb color) {
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, ToQColor(color, pal));
    l->setPalette(pal);
    return l;
}

void buildDeck(QWidget* window, Controls& ui, int d) {
    auto* fra = place(new CaptionFrame(QString::number(d + 1), window), 0, 990 * d, 7695, 990);
    fra->setCaptionFont(fontOf(kMono, 9.75, true));
    fra->setCaptionEndTwips(5400);         // before the deck's level meter
    fra->setNoteFont(fontOf(kSans, 8.25)); // when the track and the list end
    fra->setAccessibleDescription(QString("Deck %1: number, track and its length").arg(d + 1));
    ui.fra[d] = fra;

    ui.Tracker[d] = slider(fra, "Drag to skip through the track", 273, 10, 30, 210, 2340, 300);
    ui.Tracker[d]->setTickPosition(QSlider::NoTicks);
    ui.Volumen[d] = slider(fra, "Volume", 100, 5, 30, 585, 2325, 300);
    ui.Volumen[d]->setTickPosition(QSlider::TicksBelow);
    ui.Volumen[d]->setTickInterval(5);
    // This label and those of the fade panel reach to the control on their right, wider than
    // designed, so that their text shows whole in our fonts at every size of the window.
    ui.lblVolumen[d] = label(fra, "100", 2370, 630, 330, 225);
    SetDesignFont(ui.lblVolumen[d], fontOf(kSerif, 9.75));

    ui.cmdSet[d] = plainButton(fra, "Set", "Set the track to a specific time", 2295, 225, 405, 285);
    ui.txtSet[d] = textBox(fra, "0", "minutes", 2700, 225, 270, 285);
    ui.lbl2ptos[d] = label(fra, ":", 2955, 255, 240, 165);
    ui.txtSetSec[d] = textBox(fra, "0", "seconds", 3000, 225, 270, 285);
    // The time labels are wider than designed (255) so that "12:34" is not cut off in our
    // fonts; the space to their right is empty.
    ui.lblTracking[d] = coloured(label(fra, "0:0", 3285, 225, 600, 240), kDarkRed);
    ui.lblRTracking[d] = coloured(label(fra, "0:0", 4350, 210, 600, 240), kDarkGreen);
    ui.lblTracking[d]->setAccessibleDescription("Time played");
    ui.lblRTracking[d]->setAccessibleDescription("Time left");

    ui.shpVa[d] = place(new Shape(Shape::Rectangle, fra), 3285, 450, 1065, 195);
    ui.shpVa[d]->setFillColor(kDarkRed);
    ui.shpVa[d]->setWidthTwips(1065);
    ui.shpQueda[d] = place(new Shape(Shape::Rectangle, fra), 4365, 450, 1065, 195);
    ui.shpQueda[d]->setFillColor(kGreen192);
    ui.shpQueda[d]->setWidthTwips(1065);

    ui.cmdRetroceso[d] = button(fra, "|<<", "Previous Track", 5445, 180, 360, 225);
    ui.cmdPlayPause[d] = button(fra, ">", "Play/Pause", 5805, 180, 360, 225);
    ui.cmdStop[d] = button(fra, "o", "Stop", 6165, 180, 360, 225);
    ui.cmdStop[d]->setSymbolCaption(true);
    ui.cmdMute[d] = button(fra, "X", "Mute", 6525, 180, 360, 225);
    ui.cmdAvanceTema[d] = button(fra, ">>|", "Next Track", 6885, 180, 360, 225);
    ui.cmdSlowPlay[d] = button(fra, ">", "50% speed", 5445, 405, 450, 225);
    ui.cmdNormalPlay[d] = button(fra, ">>", "100% speed", 5895, 405, 450, 225);
    ui.cmdNormalPlay[d]->setEnabled(false);
    ui.cmdFastPlay[d] = button(fra, ">>>", "150% speed", 6345, 405, 450, 225);
    ui.cmdUltraPlay[d] = button(fra, ">>>>", "200% speed", 6795, 405, 450, 225);

    ui.selec[d] = place(new Shape(Shape::Circle, fra), 7335, 270, 270, 270);

    // Right of the remaining time, left of the transport buttons.
    ui.cmdPrelisten[d] = button(fra, "", "Pre-listen in the headphones", 4980, 195, 420, 225);
    ui.cmdPrelisten[d]->setCheckable(true);
    ui.cmdPrelisten[d]->setIcon(HeadphonesIcon());
    SetAccessibleText(ui.cmdPrelisten[d], QString("Pre-listen deck %1").arg(d + 1));
    // In the caption row above the transport buttons, where the caption has ended.
    ui.mtrLevel[d] = place(new LevelMeterBar(false, fra), 5445, 30, 2160, 120);
    SetAccessibleText(
        ui.mtrLevel[d], QString("Deck %1 level").arg(d + 1),
        "What the deck sends to the master, left and right: RMS, peak and the held peak");
    // Over both position bars, which stay beneath it as the deck's state.
    ui.ovwTrack[d] = place(new TrackOverviewBar(fra), 3285, 450, 2145, 195);
    SetAccessibleText(
        ui.ovwTrack[d], QString("Deck %1 track overview").arg(d + 1),
        "The whole track's waveform: the played part shaded, the cue point marked; a click "
        "goes to that place");
    ui.ovwTrack[d]->hide(); // until the track's overview is worked out

    // The fade panel.
    ui.cmdFade[d] = plainButton(fra, "Fade", "", 2700, 675, 750, 255);
    ui.lblin[d] = label(fra, "in", 3480, 705, 165, 165);
    ui.lblout[d] = label(fra, "out", 3645, 705, 255, 165);
    ui.chkInOrOut[d] = button(fra, "<", "", 3660, 675, 210, 255);
    ui.chkInOrOut[d]->setCheckable(true);
    ui.lblFade[d] = label(fra, "Length", 3900, 705, 525, 195);
    ui.txtLength[d] = textBox(fra, "2000", "Fade duration in milliseconds", 4425, 675, 675, 285);
    ui.lblMinVol[d] = label(fra, "Start Vol", 5160, 705, 645, 195);
    ui.txtStartVolume[d] = textBox(fra, "20", "Start volume of the fade", 5805, 675, 390, 285);
    ui.lblPercent[d] = label(fra, "%", 6210, 705, 165, 195);
    ui.lblMaxVol[d] = label(fra, "End Vol", 6435, 705, 615, 195);
    ui.txtEndVolume[d] = textBox(fra, "100", "End volume of the fade", 7050, 675, 390, 285);
    ui.lblPercent[d + kDecks] = label(fra, "%", 7455, 705, 165, 195);

    ui.timer[d] = new QTimer(window);
    ui.timer[d]->setInterval(250);
    ui.FadeTimer[d] = new QTimer(window);
    ui.FadeTimer[d]->setTimerType(Qt::PreciseTimer);
    ui.FadeTimer[d]->setInterval(250);
}

void buildLists(QWidget* window, Controls& ui) {
    auto* group = new QButtonGroup(window);
    group->setExclusive(true);
    for (int d = 0; d < kDecks; ++d) {
        // The master strip lies over the lists' foot, from the crossfader row down.
        auto* list = place(new FootedList(kListFootTwips, window), 7695, 0, 3495, 4305);
        SetDesignFont(list, fontOf(kSans, 8.25));
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setMouseTracking(true);
        list->viewport()->setAcceptDrops(true); // files dragged from a file manager
        list->setToolTip("Double Click = Play || Left Click = Select (for deletion) || Right "
                         "Click -> Put Selected Track in Deck");
        ui.lstPlay[d] = list;

        const int left[] = {7755, 8010, 8250, 8490};
        ui.optPla[d] =
            button(window, QString::number(d + 1), QString("Activate Deck %1").arg(d + 1), left[d],
                   4470, 240, 225, kButtonLightBlue);
        ui.optPla[d]->setCheckable(true);
        group->addButton(ui.optPla[d], d);
    }
    ui.lstPlay[0]->raise();
    ui.optPla[0]->setChecked(true);

    ui.cmdOK = button(window, "Add", "Add Selected Track/s", 8745, 4470, 630, 225, kLightYellow);
    ui.cmdOKCarpeta =
        button(window, "Add Folder", "Add the complete folder", 9375, 4470, 885, 225, kLightYellow);
    ui.chkFocus =
        button(window, "Auto Focus", "Useful if you have a wheel mouse", 10275, 4470, 945, 225);
    ui.chkFocus->setCheckable(true);
    ui.cmdGuardarComo =
        button(window, "Save List", "Saves Active List", 7740, 4725, 990, 225, kButtonLightBlue);
    ui.cmdBorrar =
        button(window, "Delete", "Delete Selected Track/s", 8745, 4725, 630, 225, kLightRed);
    ui.cmdBorrarTodo =
        button(window, "Delete All", "Delete All Tracks", 9375, 4725, 885, 225, kLightRed);
    ui.cmdHelp = button(window, "Help", "Key Assignments", 10275, 4725, 720, 225, kLightGreen);
    ui.cmdAbout = button(window, "?", "About", 10995, 4725, 225, 225, kLightGreen);
}

void buildBrowser(QWidget* window, Controls& ui) {
    ui.fil = place(new FileList(window), -30, 4455, 7725, 3015);
    ui.fil->setToolTip("Double click to Add single files, Drag to select multiple files, Right "
                       "Click to Add selection");
    ui.fil->setPattern(AddablePattern()); // every type the decks play, and playlists
    ui.fil->setMouseTracking(true);
    ui.drv = place(new DriveList(window), 7725, 4965, 3510, 315);
    ui.drv->setToolTip("Select the drive where you have the music");

    // The save panel lies behind the folder list, which covers it while it is closed.
    // The save panel's two labels reach to the window's edge, wider than designed, for the
    // same reason as the fade panel's.
    ui.lblNomArch = label(window, "Choose the folder and put a filename:", 7725, 6585, 3495, 195);
    ui.txtNomArch = textBox(window, "", "", 7725, 6795, 3135, 285);
    ui.lblM3U = label(window, ".m3u", 10860, 6825, 375, 225);
    ui.cmdGuardar = plainButton(window, "Save", "", 7740, 7140, 1725, 225);
    ui.Command1 = plainButton(window, "Cancel", "", 9495, 7140, 1725, 225);

    ui.dir = place(new FolderList(window), 7725, 5325, 3495, 1215);
    ui.dir->setToolTip("Choose your music folder");
    ui.dir->setMouseTracking(true);
    ui.dir->viewport()->setAcceptDrops(true); // a folder dragged from a file manager
    ui.dir->raise();
}

// The right half of the master strip, in line with the crossfader row: the headphones'
// level, the cue/main blend, and the audio set-up.
void buildHeadphoneStrip(QWidget* window, Controls& ui) {
    ui.sldPhones = slider(window, "Headphone level", 100, 5, 9435, 3960, 690, 330);
    ui.sldPhones->setValue(kDefaultPhonesVolume);
    SetAccessibleText(ui.sldPhones, "Headphone level");
    ui.sldCueMix = slider(window, "Headphones: pre-listened decks <- -> main mix", 100, 5, 10140,
                          3960, 690, 330);
    ui.sldCueMix->setValue(0);
    SetAccessibleText(ui.sldCueMix, "Headphones: cue to main blend");
    ui.cmdAudio = button(window, "", "Audio set-up", 10845, 3960, 345, 330);
    ui.cmdAudio->setIcon(SpeakerIcon());
    SetAccessibleText(ui.cmdAudio, "Audio set-up");
    for (QWidget* control :
         std::initializer_list<QWidget*>{ui.sldPhones, ui.sldCueMix, ui.cmdAudio})
        control->raise(); // over the playlists
}

// Over the lists' foot, the dropouts' line, with the time of day at its right end; and the
// recording on the line above while there is one.
void buildClock(QWidget* window, Controls& ui) {
    ui.lblClock = coloured(label(window, "", 7695, 3735, 3495, 225), kBlack);
    SetDesignFont(ui.lblClock, fontOf(kSans, 8.25, true));
    ui.lblClock->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui.lblClock->setIndent(TwipsToPixels(60));
    ui.lblClock->setAutoFillBackground(true);
    ui.lblClock->setAccessibleDescription("The time of day");
    ui.lblRecording = coloured(label(window, "", 7695, 3510, 3495, 225), kDarkRed);
    ui.lblRecording->setAutoFillBackground(true);
    ui.lblRecording->setIndent(TwipsToPixels(30));
    ui.lblRecording->setAccessibleDescription("The main output is being recorded");
    ui.lblRecording->hide();
    ui.tmrClock = new QTimer(window);
    ui.tmrClock->setInterval(1000);
}

} // namespace

QFont WindowFont() {
    return fontOf(kSans, 8.25);
}

void BuildControls(QWidget* window, Controls& ui) {
    SetDesignFont(window, WindowFont());
    for (int d = 0; d < kDecks; ++d)
        buildDeck(window, ui, d);

    ui.cross =
        slider(window, "<- Manually Crossfade between decks ->", 100, 5, 180, 3960, 6900, 330);
    ui.cross->setValue(50);
    ui.cross->setTickPosition(QSlider::NoTicks);
    ui.lblCero = label(window, "1", 0, 3960, 165, 360);
    ui.lblUno = label(window, "2", 7110, 3960, 165, 360);
    for (QLabel* end : {ui.lblCero, ui.lblUno})
        SetDesignFont(end, fontOf(kSerif, 15.75, true));
    ui.lblCero->setAccessibleDescription("Crossfader end of the active deck");
    ui.lblUno->setAccessibleDescription("Crossfader end of the deck after it");
    ui.cmdExpandir = plainButton(window, "/\\", "Compress/Expand window", 7335, 3960, 330, 345);

    buildLists(window, ui);
    buildBrowser(window, ui);

    // In line with the crossfader, across the foot of the playlist area: seen both expanded
    // and compressed. The master's meter and clip light take its left half.
    ui.fraMaster = place(new QWidget(window), 7695, 3960, 3495, 330);
    ui.fraMaster->setAutoFillBackground(true);
    ui.mtrMaster = place(new LevelMeterBar(true, ui.fraMaster), 30, 30, 1680, 270);
    ui.mtrMaster->setToolTip("Master level; the light at its end: the master was limited");
    SetAccessibleText(
        ui.mtrMaster, "Master level",
        "The master after its limiter, left and right: RMS, peak and the held peak; the clip "
        "light lights when the limiter turns the master down");
    // Dropouts are rare: the word on them lies over the lists' last line, in the strip's
    // colour, only once there was one.
    ui.lblDropouts = label(window, "", 7695, 3735, 2535, 225);
    ui.lblDropouts->setAutoFillBackground(true);
    ui.lblDropouts->setIndent(TwipsToPixels(30)); // in line with the meter
    ui.lblDropouts->setToolTip("Times the sound output had nothing to play since Velmor started: "
                               "the main output, and the headphones' own device");
    ui.lblDropouts->hide();
    ui.cmdDuck = button(window, "Voice over",
                        "The music is dipped under a voice: p or a click "
                        "brings it back",
                        9735, 3510, 1455, 225, kLightYellow);
    SetAccessibleText(ui.cmdDuck, "Voice over: the music dipped");
    ui.cmdDuck->setFocusPolicy(Qt::NoFocus); // a click leaves the keys where they were
    ui.cmdDuck->hide();
    ui.tmrDisplay = new QTimer(window);
    ui.tmrDisplay->setInterval(33);
    buildClock(window, ui);
    ui.lblDropouts->raise(); // over the clock's line, left of the time
    ui.cmdDuck->raise();     // over the recording's line, right of what it says

    // Over the lower part of the playlist area, just above the master strip, where no control
    // of the decks or the crossfader row lies. Hidden until there is something to tell.
    ui.lblNotice = place(new NoticeBar(window), 7695, 3060, 3495, 900);

    // Its right half: the headphones' level and blend, and the audio set-up.
    buildHeadphoneStrip(window, ui);

    // A list brought to the front stays behind the strip and what lies over its foot; a
    // notice covers the dropouts and the clock.
    for (QListView* list : ui.lstPlay)
        static_cast<FootedList*>(list)->setFoot({ui.fraMaster, ui.sldPhones, ui.sldCueMix,
                                                 ui.cmdAudio, ui.lblClock, ui.lblDropouts,
                                                 ui.lblRecording, ui.cmdDuck, ui.lblNotice});
}

void FitListsFoot(Controls& ui) {
    const bool above = !ui.lblRecording->isHidden() || !ui.cmdDuck->isHidden();
    for (QListView* list : ui.lstPlay)
        static_cast<FootedList*>(list)->setFootTwips(above ? kRecordingFootTwips : kListFootTwips);
}

} // namespace velmor
