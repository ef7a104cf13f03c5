#include "app/UnheardDecks.h"

#include "app/Main.h"

#include <algorithm>

namespace velmor {

UnheardDecks::UnheardDecks(Main& window, std::function<QDateTime()> clock)
    : w_(window), clock_(std::move(clock)), epoch_(clock_()) {}

void UnheardDecks::wire() {
    w_.meters.onMaster([this](const MasterLevels& levels) { masterLevels(levels); });
}

void UnheardDecks::masterLevels(const MasterLevels& levels) {
    std::array<bool, kDecks> meant{};
    for (int d = 0; d < kDecks; ++d)
        meant[d] = w_.decks[d]->playsAudibly() && !w_.ui.FadeTimer[d]->isActive();
    const float peak = std::max(levels.levels.peak[0], levels.levels.peak[1]);
    for (int d : watch_.look(epoch_.msecsTo(clock_()) / 1000.0, peak, meant)) {
        w_.reporter.notice(UnheardNotice(d, movesOn_));
        if (movesOn_)
            trapped(w_.reporter, [&] { w_.decks[d]->next(); });
    }
}

QString UnheardNotice(int deck, bool movesOn) {
    return QString("Deck %1 plays but nothing is heard: the track may be silent here, or its "
                   "file damaged.%2")
        .arg(deck + 1)
        .arg(movesOn ? " It moves on to its next entry." : "");
}

} // namespace velmor
