#include "deck/PositionDisplay.h"

#include "common/AutoFocus.h"
#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/Deck.h"
#include "deck/TimeText.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"
#include "legacy/Numbers.h"

namespace velmor {

void PositionDisplay::wire() {
    Controls& ui = w_.ui;
    for (int d = 0; d < kDecks; ++d) {
        QObject::connect(ui.timer[d], &QTimer::timeout, [this, d] { timer_Timer(d); });
        // Only the user's own moves seek: the timer and the notifications set the value too,
        // and valueChanged would make each of them a seek.
        QObject::connect(ui.Tracker[d], &QAbstractSlider::actionTriggered,
                         [this, d] { Tracker_Scroll(d); });
        FocusOnMouseOver(ui.Tracker[d], ui.chkFocus);
        QObject::connect(w_.decks[d], &Deck::sought, [this, d] { ShowStandingPosition(d); });
    }
}

void PositionDisplay::SetBars(int d, double position) {
    if (const auto widths = BarWidthsAt(position, w_.decks[d]->length())) {
        w_.ui.shpVa[d]->setWidthTwips(widths->elapsed);
        w_.ui.shpQueda[d]->setWidthTwips(widths->remaining);
    }
}

void PositionDisplay::timer_Timer(int d) {
    // Every step reads the position afresh, as the player moves on between them.
    const MediaPlayer& player = *w_.pla[d];
    Controls& ui = w_.ui;
    const double length = w_.decks[d]->length();
    if (const auto widths = BarWidthsAt(player.CurrentPosition(), length))
        ui.shpVa[d]->setWidthTwips(widths->elapsed);
    if (const auto widths = BarWidthsAt(player.CurrentPosition(), length))
        ui.shpQueda[d]->setWidthTwips(widths->remaining);
    ui.Tracker[d]->setValue(RealToInt32(player.CurrentPosition()));
    ui.lblTracking[d]->setText(TimeText(player.CurrentPosition(), player.CurrentPosition()));
    ui.lblRTracking[d]->setText(RemainingTime(player.CurrentPosition(), player.Duration()));
}

void PositionDisplay::Tracker_Scroll(int d) {
    // The action is reported before the value follows it; the slider's position is the
    // place the user chose.
    w_.decks[d]->seek(double(w_.ui.Tracker[d]->sliderPosition()));
}

void PositionDisplay::ShowStandingPosition(int d) {
    const MediaPlayer& player = *w_.pla[d];
    if (player.PlayState() == MediaPlayer::Playing)
        return;
    const double position = player.CurrentPosition();
    SetBars(d, position);
    w_.ui.lblTracking[d]->setText(TimeText(position));
    w_.ui.lblRTracking[d]->setText(RemainingTime(position, player.Duration()));
}

} // namespace velmor
