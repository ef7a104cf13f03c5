#include "app/EveningClock.h"

#include "app/Main.h"
#include "common/Widgets.h"
#include "deck/CountedEnd.h"
#include "deck/EndTimes.h"

namespace velmor {

void EveningClock::wire() {
    QObject::connect(w_.ui.tmrClock, &QTimer::timeout, [this] { tmrClock_Timer(); });
    for (int d = 0; d < kDecks; ++d) {
        const auto show = [this, d] { showEnds(d); };
        Deck* deck = w_.decks[d];
        for (auto changed : {&Deck::playing, &Deck::paused, &Deck::stopped, &Deck::sought})
            QObject::connect(deck, changed, show);
        QObject::connect(deck, &Deck::speedChanged, show);
    }
    tmrClock_Timer();
}

void EveningClock::tmrClock_Timer() {
    const QTime now = clock_().time();
    // The next tick just after the next second begins, so that the clock is never a second
    // behind.
    w_.ui.tmrClock->start(1000 - now.msec() + 5);
    const QString text = ClockText(now);
    if (w_.ui.lblClock->text() != text)
        w_.ui.lblClock->setText(text);
    for (int d = 0; d < kDecks; ++d)
        showEnds(d);
}

void EveningClock::showEnds(int d) {
    const Deck& deck = *w_.decks[d];
    const MediaPlayer& player = deck.player();
    QString text;
    trapped(w_.reporter, [&] {
        if (player.PlayState() != MediaPlayer::Playing)
            return;
        DeckEnd end;
        end.position = player.CurrentPosition();
        end.end = CountedEnd(w_.knownTracks, player.FileName(), end.position, player.Duration());
        end.rate = Deck::kRates[deck.speed()];
        const DeckEntries& list = deck.entries();
        for (int i = deck.nextEntry(); i < list.count(); ++i)
            if (!list.isUnplayable(i)) // stepped over as the deck moves on
                end.following.push_back(PlayedSeconds(w_.knownTracks, list.fullPath(i)));
        text = EndsText(clock_().time(), end);
    });
    w_.ui.fra[d]->setNote(text);
}

} // namespace velmor
