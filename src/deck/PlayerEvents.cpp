#include "deck/PlayerEvents.h"

#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/Deck.h"
#include "deck/PositionDisplay.h"
#include "deck/TimeText.h"
#include "deck/TrackName.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"
#include "legacy/Numbers.h"

namespace velmor {

namespace {
const QString kPauseCaption = QStringLiteral("| |");
} // namespace

void PlayerEvents::wire() {
    for (int d = 0; d < kDecks; ++d) {
        Deck* deck = w_.decks[d];
        // Each handler traps its own failures: the deck's handling goes on past the display.
        const auto show = [this, d](void (PlayerEvents::*handler)(int)) {
            return [this, d, handler] { trapped(w_.reporter, [&] { (this->*handler)(d); }); };
        };
        QObject::connect(deck, &Deck::opened, show(&PlayerEvents::opened));
        QObject::connect(deck, &Deck::closed, show(&PlayerEvents::closed));
        QObject::connect(deck, &Deck::stopped, show(&PlayerEvents::stopped));
        QObject::connect(deck, &Deck::playing, show(&PlayerEvents::playing));
        QObject::connect(deck, &Deck::paused, show(&PlayerEvents::paused));
        // While it plays, the deck keeps its player told of what comes next as the list
        // changes.
        QObject::connect(w_.ui.timer[d], &QTimer::timeout,
                         [this, deck] { trapped(w_.reporter, [&] { deck->queueNext(); }); });
    }
}

void PlayerEvents::opened(int d) {
    const MediaPlayer& player = w_.decks[d]->player();
    Controls& ui = w_.ui;
    const QString path = player.FileName();
    ui.cmdPlayPause[d]->setText(">");
    ui.cmdStop[d]->setText("o");
    ui.cmdPlayPause[d]->setEnabled(true);
    ui.fra[d]->setCaption(QString::number(d + 1) + ". ", TitleOf(path),
                          ' ' + TimeText(player.Duration()));
    ui.Tracker[d]->setMaximum(RealToInt32(player.Duration()));
    ui.Tracker[d]->setValue(RealToInt32(player.CurrentPosition()));
    position_.SetBars(d, player.CurrentPosition());
    ui.lblTracking[d]->setText(TimeText(player.CurrentPosition()));
    // A deck that has not played yet shows how long it will play.
    ui.lblRTracking[d]->setText(RemainingTime(player.CurrentPosition(), player.Duration()));
}

void PlayerEvents::closed(int d) {
    Controls& ui = w_.ui;
    ui.fra[d]->setCaption(QString::number(d + 1) + ". ");
    ui.cmdPlayPause[d]->setEnabled(false);
    ui.lblRTracking[d]->setText(RemainingTime(0, 0));
}

void PlayerEvents::stopped(int d) {
    const Deck& deck = *w_.decks[d];
    const MediaPlayer& player = deck.player();
    Controls& ui = w_.ui;
    ui.timer[d]->stop();
    ui.fra[d]->setForeColor(kBlack);
    ui.cmdStop[d]->setEnabled(false);
    ui.cmdPlayPause[d]->setText(">");
    ui.cmdStop[d]->setText("o");
    ui.cmdPlayPause[d]->setBackColor(kButtonFace);
    if (deck.cue())
        ui.Tracker[d]->setValue(RealToInt32(*deck.cue()));
    position_.SetBars(d, player.CurrentPosition());
    ui.lblTracking[d]->setText(TimeText(player.CurrentPosition()));
    ui.lblRTracking[d]->setText(RemainingTime(player.CurrentPosition(), player.Duration()));
}

void PlayerEvents::playing(int d) {
    Controls& ui = w_.ui;
    ui.fra[d]->setForeColor(kBlue);
    ui.cmdPlayPause[d]->setEnabled(true);
    ui.cmdStop[d]->setEnabled(true);
    ui.cmdPlayPause[d]->setText(kPauseCaption);
    ui.cmdStop[d]->setText("o");
    ui.cmdPlayPause[d]->setBackColor(kButtonFace);
    if (!ui.timer[d]->isActive())
        ui.timer[d]->start();
}

void PlayerEvents::paused(int d) {
    Controls& ui = w_.ui;
    ui.fra[d]->setForeColor(kLightBlue);
    ui.cmdPlayPause[d]->setText(">");
    ui.cmdStop[d]->setText("o");
    ui.cmdPlayPause[d]->setBackColor(kRed);
}

} // namespace velmor
