#include "mix/Fades.h"

#include "common/AutoFocus.h"
#include "common/BrowserLists.h"
#include "common/Reporter.h"
#include "common/TwipsLayout.h"
#include "common/Widgets.h"
#include "deck/WindowContext.h"
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
        runners_[d].emplace(*w_.decks[d], w_.reporter);
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
    FadeRunner& fade = *runners_[d];
    bool buttonTaken = false;
    const bool ok = trapped(w_.reporter, [&] {
        if (!ui.chkInOrOut[d]->isChecked())
            fade.cueIn(ToInt16(ui.txtStartVolume[d]->text()));
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
    // A fade that cannot be set up is told on its own, and the caller goes on all the same.
    const bool ok = trapped(w_.reporter, [&] {
        runners_[d]->start(fadeOut, lengthMs, startVolume, endVolume);
        w_.ui.FadeTimer[d]->start(kFadeTickMs);
    });
    if (!ok) {
        abandonStart(d);
        return false;
    }
    return fadeOut;
}

void Fades::FadeTimer_Timer(int d) {
    FadeRunner& fade = *runners_[d];
    if (fade.isOver())
        trapped(w_.reporter, [&] { endFade(d); });
    else
        fade.step();
}

void Fades::endFade(int d) {
    Controls& ui = w_.ui;
    setFadeButton(d, false);
    ui.FadeTimer[d]->stop();
    // The switch is read as it stands now; a toggle during the fade decides the ending.
    const bool switchOut = ui.chkInOrOut[d]->isChecked();
    runners_[d]->end(switchOut);
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

void Fades::cancel(int d) {
    if (w_.ui.FadeTimer[d]->isActive())
        abandonStart(d);
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
