#include "deck/DeckVolume.h"

#include "common/AutoFocus.h"
#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/VolumeLaw.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"

namespace velmor {

void DeckVolume::wire() {
    for (int d = 0; d < kDecks; ++d) {
        QSlider* slider = w_.ui.Volumen[d];
        // valueChanged follows the user's moves and the program's assignments alike.
        QObject::connect(slider, &QSlider::valueChanged, [this, d] { Volumen_Change(d); });
        FocusOnMouseOver(slider, w_.ui.chkFocus);
    }
}

void DeckVolume::Volumen_Change(int d) {
    QSlider* slider = w_.ui.Volumen[d];
    w_.pla[d]->setVolume(VolumeToPlayerLevel(slider->value()));
    w_.ui.lblVolumen[d]->setText(QString::number(slider->value()));
}

} // namespace velmor
