#include "playlist/DeckActivation.h"

#include "common/NoticeBar.h"
#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"

namespace velmor {

void DeckActivation::wire() {
    for (int d = 0; d < kDecks; ++d) {
        QObject::connect(w_.ui.fra[d], &CaptionFrame::clicked, [this, d] { fra_Click(d); });
        QObject::connect(w_.ui.optPla[d], &QPushButton::clicked, [this, d] { optPla_Click(d); });
    }
}

int DeckActivation::ActiveDeck() const {
    for (int i = 0; i < kDecks; ++i)
        if (w_.ui.optPla[i]->isChecked())
            return i;
    return 0;
}

void DeckActivation::fra_Click(int d) {
    Controls& ui = w_.ui;
    ui.optPla[d]->setChecked(true);
    // In front of the other lists, still under the notice that lies over the playlist area.
    ui.lstPlay[d]->stackUnder(ui.lblNotice);
    for (int i = 0; i < kDecks; ++i) {
        if (ui.optPla[i]->isChecked()) {
            ui.lblCero->setText(QString::number(i + 1));
            ui.lblUno->setText(QString::number(i == kDecks - 1 ? 1 : i + 2));
        }
        ui.selec[i]->setFillColor(kButtonFace);
    }
    ui.selec[d]->setFillColor(kLightBlue);
}

} // namespace velmor
