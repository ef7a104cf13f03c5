#include "mix/Crossfader.h"

#include "common/AutoFocus.h"
#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/Deck.h"
#include "deck/VolumeLaw.h"
#include "deck/WindowContext.h"
#include "legacy/Numbers.h"

namespace velmor {

CrossfadeVolumes CrossfadeVolumesAt(int32_t position, int32_t volumeA, int32_t volumeB) {
    if (position <= 50)
        return {Check16(volumeA), RealToInt16(2 * position * volumeB / 100.0)};
    return {RealToInt16((200 - 2 * position) * volumeA / 100.0), Check16(volumeB)};
}

int NextDeck(int deck) {
    return deck == kDecks - 1 ? 0 : deck + 1;
}

void Crossfader::wire() {
    QSlider* cross = w_.ui.cross;
    // Without tracking a drag is told once per move (sliderMoved) and once at its release
    // (valueChanged), instead of twice per move; values set by code still notify.
    cross->setTracking(false);
    QObject::connect(cross, &QSlider::valueChanged, [this] { cross_Change(); });
    QObject::connect(cross, &QSlider::sliderMoved, [this] { cross_Scroll(); });
    OnMouseMove(cross, [this] { cross_MouseMove(); });
}

void Crossfader::cross_Change() {
    trapped(w_.reporter, [&] {
        const int a = w_.commands.ActiveDeck();
        const int b = NextDeck(a);
        // While the thumb is dragged only the slider position follows it, not yet the value.
        const int32_t c = w_.ui.cross->sliderPosition();
        Deck& deckA = *w_.decks[a];
        Deck& deckB = *w_.decks[b];
        const CrossfadeVolumes v = CrossfadeVolumesAt(c, deckA.level(), deckB.level());
        // The deck at its own setting first, the one turned down second.
        if (c <= 50) {
            deckA.setOutputLevel(VolumeToPlayerLevel(v.a));
            deckB.setOutputLevel(VolumeToPlayerLevel(v.b));
        } else {
            deckB.setOutputLevel(VolumeToPlayerLevel(v.b));
            deckA.setOutputLevel(VolumeToPlayerLevel(v.a));
        }
    });
}

void Crossfader::cross_MouseMove() {
    // With a wheel mouse, pointing at the crossfader is enough to turn it.
    FocusIfAutoFocus(w_.ui.cross, w_.ui.chkFocus);
}

} // namespace velmor
