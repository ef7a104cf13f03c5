// What a deck's frame shows of its deck: the title and length when a file opens; the
// buttons, colours and timer for every play state; the position; mute, speed, volume and
// pre-listen.

#include "analysis/KnownTracks.h"
#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/CountedEnd.h"
#include "deck/Deck.h"
#include "deck/DeckPanel.h"
#include "deck/TimeText.h"
#include "deck/TrackName.h"
#include "deck/player/MediaPlayer.h"
#include "legacy/Numbers.h"

namespace velmor {

namespace {
const QString kPauseCaption = QStringLiteral("| |");
} // namespace

void DeckPanel::opened() {
    const MediaPlayer& player = deck_.player();
    const QString path = player.FileName();
    c_.cmdPlayPause->setText(">");
    c_.cmdStop->setText("o");
    c_.cmdPlayPause->setEnabled(true);
    captioned_ = path;
    showCaption();
    c_.Tracker->setMaximum(RealToInt32(player.Duration()));
    c_.Tracker->setValue(RealToInt32(player.CurrentPosition()));
    setBars(player.CurrentPosition());
    c_.lblTracking->setText(TimeText(player.CurrentPosition()));
    // A deck that has not played yet shows how long it will play.
    c_.lblRTracking->setText(remainingFrom(player.CurrentPosition()));
}

void DeckPanel::showCaption() {
    const MediaPlayer& player = deck_.player();
    const TrackTags* tags = known_.tags(captioned_);
    const QString tagged = tags ? TaggedName(*tags) : QString();
    c_.fra->setCaption(QString::number(deck_.index() + 1) + ". ",
                       tagged.isEmpty() ? TitleOf(captioned_) : tagged,
                       ' ' + TimeText(player.Duration()));
}

void DeckPanel::closed() {
    captioned_.clear();
    c_.fra->setCaption(QString::number(deck_.index() + 1) + ". ");
    c_.cmdPlayPause->setEnabled(false);
    c_.lblRTracking->setText(RemainingTime(0, 0));
}

void DeckPanel::stopped() {
    const MediaPlayer& player = deck_.player();
    c_.timer->stop();
    c_.fra->setForeColor(kBlack);
    c_.cmdStop->setEnabled(false);
    c_.cmdPlayPause->setText(">");
    c_.cmdStop->setText("o");
    c_.cmdPlayPause->setBackColor(kButtonFace);
    if (deck_.cue())
        c_.Tracker->setValue(RealToInt32(*deck_.cue()));
    setBars(player.CurrentPosition());
    c_.lblTracking->setText(TimeText(player.CurrentPosition()));
    c_.lblRTracking->setText(remainingFrom(player.CurrentPosition()));
}

void DeckPanel::playing() {
    c_.fra->setForeColor(kBlue);
    c_.cmdPlayPause->setEnabled(true);
    c_.cmdStop->setEnabled(true);
    c_.cmdPlayPause->setText(kPauseCaption);
    c_.cmdStop->setText("o");
    c_.cmdPlayPause->setBackColor(kButtonFace);
    if (!c_.timer->isActive())
        c_.timer->start();
}

void DeckPanel::paused() {
    c_.fra->setForeColor(kLightBlue);
    c_.cmdPlayPause->setText(">");
    c_.cmdStop->setText("o");
    c_.cmdPlayPause->setBackColor(kRed);
}

void DeckPanel::showMute(bool muted) {
    c_.cmdMute->setBackColor(muted ? kRed : kButtonFace);
}

void DeckPanel::showSpeed(int speed) {
    ColorButton* buttons[] = {c_.cmdSlowPlay, c_.cmdNormalPlay, c_.cmdFastPlay, c_.cmdUltraPlay};
    for (int i = 0; i < 4; ++i)
        buttons[i]->setEnabled(i != speed);
    c_.timer->setInterval(RealToInt32(250.0 / Deck::kRates[speed]));
}

void DeckPanel::showLevel(int volume) {
    c_.lblVolumen->setText(QString::number(volume));
}

void DeckPanel::showPrelisten(bool on) {
    c_.cmdPrelisten->setChecked(on);
    c_.cmdPrelisten->setBackColor(on ? kPrelistenLit : kButtonFace);
}

void DeckPanel::timer_Timer() {
    // Every step reads the position afresh, as the player moves on between them.
    const MediaPlayer& player = deck_.player();
    const double length = deck_.length();
    if (const auto widths = BarWidthsAt(player.CurrentPosition(), length))
        c_.shpVa->setWidthTwips(widths->elapsed);
    if (const auto widths = BarWidthsAt(player.CurrentPosition(), length))
        c_.shpQueda->setWidthTwips(widths->remaining);
    c_.Tracker->setValue(RealToInt32(player.CurrentPosition()));
    c_.lblTracking->setText(TimeText(player.CurrentPosition(), player.CurrentPosition()));
    c_.lblRTracking->setText(remainingFrom(player.CurrentPosition()));
    // While it plays, the deck keeps its player told of what comes next as the list changes.
    trapped(reporter_, [&] { deck_.queueNext(); });
}

void DeckPanel::showStandingPosition() {
    const MediaPlayer& player = deck_.player();
    if (player.PlayState() == MediaPlayer::Playing)
        return;
    const double position = player.CurrentPosition();
    setBars(position);
    c_.lblTracking->setText(TimeText(position));
    c_.lblRTracking->setText(remainingFrom(position));
}

QString DeckPanel::remainingFrom(double position) const {
    const MediaPlayer& player = deck_.player();
    const double end = CountedEnd(known_, player.FileName(), position, player.Duration());
    return RemainingTime(float(position), float(end));
}

void DeckPanel::setBars(double position) {
    if (const auto widths = BarWidthsAt(position, deck_.length())) {
        c_.shpVa->setWidthTwips(widths->elapsed);
        c_.shpQueda->setWidthTwips(widths->remaining);
    }
}

} // namespace velmor
