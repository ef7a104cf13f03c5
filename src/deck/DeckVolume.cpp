#include "deck/DeckVolume.h"

#include "common/AutoFocus.h"
#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/Deck.h"
#include "deck/WindowContext.h"

namespace velmor {

void DeckVolume::wire() {
    for (int d = 0; d < kDecks; ++d) {
        QSlider* slider = w_.ui.Volumen[d];
        // valueChanged follows the user's moves and the program's assignments alike.
        QObject::connect(slider, &QSlider::valueChanged, [this, d] { Volumen_Change(d); });
        FocusOnMouseOver(slider, w_.ui.chkFocus);
        QObject::connect(w_.decks[d], &Deck::levelChanged, [this, d](int volume) {
            w_.ui.lblVolumen[d]->setText(QString::number(volume));
        });
    }
}

void DeckVolume::Volumen_Change(int d) {
    w_.decks[d]->setLevel(w_.ui.Volumen[d]->value());
}

} // namespace velmor
