#include "deck/Prelisten.h"

#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/Deck.h"
#include "deck/WindowContext.h"
#include "deck/player/AudioOutputs.h"

namespace velmor {

void Prelisten::wire() {
    Controls& ui = w_.ui;
    for (int d = 0; d < kDecks; ++d) {
        QObject::connect(ui.cmdPrelisten[d], &QPushButton::clicked,
                         [this, d] { cmdPrelisten_Click(d); });
        QObject::connect(w_.decks[d], &Deck::prelistenChanged, [this, d](bool on) {
            ColorButton& button = *w_.ui.cmdPrelisten[d];
            button.setChecked(on);
            button.setBackColor(on ? kPrelistenLit : kButtonFace);
        });
    }
    QObject::connect(ui.sldPhones, &QSlider::valueChanged, [this] { sldPhones_Change(); });
    QObject::connect(ui.sldCueMix, &QSlider::valueChanged, [this] { sldCueMix_Change(); });
}

void Prelisten::cmdPrelisten_Click(int d) {
    trapped(w_.reporter, [&] { w_.decks[d]->setPrelisten(!w_.decks[d]->prelisten()); });
}

void Prelisten::sldPhones_Change() {
    if (outputs_)
        outputs_->setHeadphoneLevel(w_.ui.sldPhones->value());
}

void Prelisten::sldCueMix_Change() {
    if (outputs_)
        outputs_->setCueMix(w_.ui.sldCueMix->value());
}

} // namespace velmor
