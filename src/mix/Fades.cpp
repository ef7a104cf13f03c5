#include "mix/Fades.h"

#include "common/AutoFocus.h"
#include "common/BrowserLists.h"
#include "common/Reporter.h"
#include "common/TwipsLayout.h"
#include "common/Widgets.h"
#include "deck/Deck.h"
#include "deck/VolumeLaw.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"
#include "legacy/Error.h"
#include "legacy/Numbers.h"
#include "mix/FadeSteps.h"

namespace velmor {

namespace {
// The switch stands against the Fade button for a fade out, further right for a fade in.
constexpr int kSwitchLeftOut = 3450, kSwitchLeftIn = 3660, kSwitchTop = 675;
constexpr int kSwitchWidth = 210, kSwitchHeight = 255;

// A slider refuses a value outside its range instead of quietly clamping it, so an end
// volume of 150 is told to the user rather than turned into 100.
void setSliderValue(QSlider* slider, int32_t value) {
    if (value < slider->minimum() || value > slider->maximum())
        throw Error("Invalid property value");
    slider->setValue(value);
}
} // namespace

void Fades::wire() {
    Controls& ui = w_.ui;
    for (int d = 0; d < kDecks; ++d) {
        QObject::connect(ui.cmdFade[d], &QPushButton::clicked, [this, d] { cmdFade_Click(d); });
        QObject::connect(ui.chkInOrOut[d], &QPushButton::clicked,
                         [this, d] { chkInOrOut_Click(d); });
        QObject::connect(ui.FadeTimer[d], &QTimer::timeout, [this, d] { FadeTimer_Timer(d); });
        for (QLineEdit* box : {ui.txtLength[d], ui.txtStartVolume[d], ui.txtEndVolume[d]}) {
            SelectAllOnClick(box);
            FocusFolderOnEnter(box, ui.dir);
        }
    }
}

void Fades::cmdFade_Click(int d) {
    Controls& ui = w_.ui;
    bool buttonTaken = false;
    const bool ok = trapped(w_.reporter, [&] {
        if (!ui.chkInOrOut[d]->isChecked()) {
            Deck& deck = *w_.decks[d];
            // A fade works on the player's level, not on the deck's (the slider's).
            deck.player().setVolume(VolumeToPlayerLevel(ToInt16(ui.txtStartVolume[d]->text())));
            if (!deck.cue())
                throw Error(kTypeMismatch);
            deck.seek(RealToInt32(*deck.cue())); // from the cue, in whole seconds
            w_.commands.cmdPlayPause_Click(d);
        }
        ui.chkInOrOut[d]->setFocus();
        setFadeButton(d, true);
        buttonTaken = true;
        const bool fadeOut = ui.chkInOrOut[d]->isChecked();
        const int16_t endVolume = ToInt16(ui.txtEndVolume[d]->text());
        const int16_t startVolume = ToInt16(ui.txtStartVolume[d]->text());
        const int32_t lengthMs = ToInt32(ui.txtLength[d]->text());
        StartFade(d, fadeOut, lengthMs, startVolume, endVolume);
        ui.lstPlay[d]->setFocus();
    });
    if (!ok && buttonTaken)
        abandonStart(d);
}

bool Fades::StartFade(int d, bool fadeOut, int32_t lengthMs, int16_t startVolume,
                      int16_t endVolume) {
    QTimer* timer = w_.ui.FadeTimer[d];
    FadeState& s = state_[d];
    const bool ok = trapped(w_.reporter, [&] {
        timer->setInterval(kFadeTickMs);
        s.FadeTick = 0;
        s.FadeLength = lengthMs;
        s.FadingOut = fadeOut;
        stepFailureShown_[d] = false;
        s.FadeStep = FadeStepSize(fadeOut, lengthMs, startVolume, endVolume);
        timer->start();
    });
    if (!ok) {
        abandonStart(d);
        return false;
    }
    return fadeOut;
}

void Fades::FadeTimer_Timer(int d) {
    const FadeState& s = state_[d];
    if (FadeIsOver(s.FadeTick, s.FadeLength)) {
        trapped(w_.reporter, [&] { endFade(d); });
        return;
    }
    try {
        applyStep(d);
    } catch (const std::exception& error) {
        // The timer keeps running so the next tick tries again, without another box.
        if (!stepFailureShown_[d])
            w_.reporter.reportError(error);
        stepFailureShown_[d] = true;
    }
}

void Fades::applyStep(int d) {
    FadeState& s = state_[d];
    MediaPlayer& player = *w_.pla[d];
    // From the level the player has now: a slider or crossfader move meanwhile carries over.
    player.setVolume(NextFadeLevel(s.FadingOut, player.Volume(), s.FadeStep));
    s.FadeTick = Add16(s.FadeTick, 1);
}

void Fades::endFade(int d) {
    Controls& ui = w_.ui;
    setFadeButton(d, false);
    ui.FadeTimer[d]->stop();
    // The switch is read as it stands now; a toggle during the fade decides the ending.
    const bool switchOut = ui.chkInOrOut[d]->isChecked();
    if (switchOut || state_[d].FadingOut)
        w_.commands.cmdStop_Click(d);
    if (!switchOut)
        setSliderValue(ui.Volumen[d], ToInt32(ui.txtEndVolume[d]->text()));
}

void Fades::chkInOrOut_Click(int d) {
    Controls& ui = w_.ui;
    const QString start = ui.txtStartVolume[d]->text();
    ui.txtStartVolume[d]->setText(ui.txtEndVolume[d]->text());
    ui.txtEndVolume[d]->setText(start);
    ColorButton* sw = ui.chkInOrOut[d];
    const bool out = sw->isChecked();
    PlaceInTwips(
        sw, QRectF(out ? kSwitchLeftOut : kSwitchLeftIn, kSwitchTop, kSwitchWidth, kSwitchHeight));
    sw->setText(out ? ">" : "<");
    ui.lstPlay[d]->setFocus();
}

void Fades::setFadeButton(int d, bool running) {
    QPushButton* button = w_.ui.cmdFade[d];
    button->setEnabled(!running);
    button->setText(running ? "Fading..." : "Fade");
}

void Fades::abandonStart(int d) {
    // A start that failed leaves no fade running, also when it was to restart one.
    w_.ui.FadeTimer[d]->stop();
    setFadeButton(d, false);
}

} // namespace velmor
