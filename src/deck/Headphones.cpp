#include "deck/Headphones.h"

#include "deck/WindowContext.h"
#include "deck/player/AudioOutputs.h"

namespace velmor {

void Headphones::wire() {
    QObject::connect(w_.ui.sldPhones, &QSlider::valueChanged, [this] { sldPhones_Change(); });
    QObject::connect(w_.ui.sldCueMix, &QSlider::valueChanged, [this] { sldCueMix_Change(); });
}

void Headphones::sldPhones_Change() {
    if (outputs_)
        outputs_->setHeadphoneLevel(w_.ui.sldPhones->value());
}

void Headphones::sldCueMix_Change() {
    if (outputs_)
        outputs_->setCueMix(w_.ui.sldCueMix->value());
}

} // namespace velmor
