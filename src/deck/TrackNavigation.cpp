#include "deck/TrackNavigation.h"

#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/Deck.h"
#include "deck/WindowContext.h"

namespace velmor {

void TrackNavigation::wire() {
    for (int d = 0; d < kDecks; ++d) {
        QObject::connect(w_.ui.cmdAvanceTema[d], &QPushButton::clicked,
                         [this, d] { cmdAvanceTema_Click(d); });
        QObject::connect(w_.ui.cmdRetroceso[d], &QPushButton::clicked,
                         [this, d] { cmdRetroceso_Click(d); });
    }
}

void TrackNavigation::cmdAvanceTema_Click(int d) {
    trapped(w_.reporter, [&] { w_.decks[d]->next(); });
}

void TrackNavigation::cmdRetroceso_Click(int d) {
    trapped(w_.reporter, [&] { w_.decks[d]->previous(); });
}

} // namespace velmor
