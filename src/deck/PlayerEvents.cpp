#include "deck/PlayerEvents.h"

#include "common/Numbers.h"
#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/EntryLoader.h"
#include "deck/PositionDisplay.h"
#include "deck/TimeText.h"
#include "deck/TrackName.h"
#include "deck/VolumeLaw.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"

namespace velmor {

namespace {
const QString kPauseCaption = QStringLiteral("| |");
} // namespace

void PlayerEvents::wire() {
    for (int d = 0; d < kDecks; ++d) {
        QObject::connect(w_.pla[d], &MediaPlayer::OpenStateChange,
                         [this, d] { pla_OpenStateChange(d); });
        QObject::connect(w_.pla[d], &MediaPlayer::PlayStateChange,
                         [this, d] { pla_PlayStateChange(d); });
        QObject::connect(w_.pla[d], &MediaPlayer::OpenFailed,
                         [this, d](const QString& path, const QString& reason, bool play) {
                             trapped(w_.reporter,
                                     [&] { loader_.OpenFailed(d, path, reason, play); });
                         });
        // While it plays, the deck keeps its player told of what comes next as the list
        // changes.
        QObject::connect(w_.ui.timer[d], &QTimer::timeout,
                         [this, d] { trapped(w_.reporter, [&] { loader_.QueueNextEntry(d); }); });
    }
}

void PlayerEvents::pla_OpenStateChange(int d) {
    trapped(w_.reporter, [&] {
        const MediaPlayer& player = *w_.pla[d];
        Controls& ui = w_.ui;
        const QString deckNumber = QString::number(d + 1) + ". ";
        const QString path = player.FileName();
        if (path.isEmpty()) {
            w_.playlists.list(d).setLoaded(-1);
            ui.fra[d]->setCaption(deckNumber);
            ui.cmdPlayPause[d]->setEnabled(false);
            ui.lblRTracking[d]->setText(RemainingTime(0, 0));
            return;
        }
        ui.cmdPlayPause[d]->setText(">");
        ui.cmdStop[d]->setText("o");
        ui.cmdPlayPause[d]->setEnabled(true);
        decks_.TrackLength[d] = player.Duration();
        ui.fra[d]->setCaption(deckNumber, TitleOf(path), ' ' + TimeText(player.Duration()));
        ui.Tracker[d]->setMaximum(RealToInt32(player.Duration()));
        ui.Tracker[d]->setValue(RealToInt32(player.CurrentPosition()));
        position_.SetBars(d, player.CurrentPosition());
        ui.lblTracking[d]->setText(TimeText(player.CurrentPosition()));
        // A deck that has not played yet shows how long it will play.
        ui.lblRTracking[d]->setText(RemainingTime(player.CurrentPosition(), player.Duration()));
        loader_.Opened(d);
        loader_.QueueNextEntry(d);
    });
}

void PlayerEvents::pla_PlayStateChange(int d) {
    trapped(w_.reporter, [&] {
        switch (w_.pla[d]->PlayState()) {
        case MediaPlayer::Stopped:
            stopped(d);
            break;
        case MediaPlayer::Playing:
            playing(d);
            break;
        case MediaPlayer::Paused:
            paused(d);
            break;
        default:
            break;
        }
    });
}

void PlayerEvents::stopped(int d) {
    MediaPlayer& player = *w_.pla[d];
    Controls& ui = w_.ui;
    DeckState& deck = decks_;
    ui.timer[d]->stop();
    ui.fra[d]->setForeColor(kBlack);

    // Back to the cue point; the minutes box of the seek panel counts seconds here.
    const QString cue = ui.txtSet[d]->text();
    player.setCurrentPosition(ToDouble(cue));
    ui.Tracker[d]->setValue(ToInt32(cue));

    ui.cmdStop[d]->setEnabled(false);
    ui.cmdPlayPause[d]->setText(">");
    ui.cmdStop[d]->setText("o");
    ui.cmdPlayPause[d]->setBackColor(kButtonFace);
    // A fade or the crossfader may have left the player at another level than the slider's.
    player.setVolume(VolumeToPlayerLevel(ui.Volumen[d]->value()));
    position_.SetBars(d, player.CurrentPosition());

    const int entries = w_.playlists.list(d).count();
    const int16_t loaded = deck.TrackNumber[d];
    if (loaded != entries && !deck.PreviousRequested[d] && !deck.StoppedByUser[d])
        playEntry(d, loaded, +1); // the track ended: on to the next entry
    else if (deck.PreviousRequested[d] && !deck.StoppedByUser[d])
        playEntry(d, loaded - 2, -1);

    deck.PreviousRequested[d] = false;
    deck.StoppedByUser[d] = false;
    ui.lblTracking[d]->setText(TimeText(player.CurrentPosition()));
    ui.lblRTracking[d]->setText(RemainingTime(player.CurrentPosition(), player.Duration()));
}

void PlayerEvents::playEntry(int d, int index, int step) {
    // Entries that cannot be played are stepped over; with none left that way (or entries
    // deleted after loading, so that there is no entry there) the deck stays stopped.
    if (!loader_.LoadPlayableEntry(d, index, step))
        return;
    MediaPlayer& player = *w_.pla[d];
    w_.ui.timer[d]->stop();
    const int state = player.PlayState();
    if (state == MediaPlayer::Stopped || state == MediaPlayer::Paused)
        w_.commands.cmdPlayPause_Click(d);
    else
        player.Play(); // a player still busy opening must start the new file all the same
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
    loader_.QueueNextEntry(d);
}

void PlayerEvents::paused(int d) {
    Controls& ui = w_.ui;
    ui.fra[d]->setForeColor(kLightBlue);
    ui.cmdPlayPause[d]->setText(">");
    ui.cmdStop[d]->setText("o");
    ui.cmdPlayPause[d]->setBackColor(kRed);
}

} // namespace velmor
