#include "deck/TrackOverview.h"

#include "common/TrackOverviewBar.h"
#include "common/Widgets.h"
#include "deck/Deck.h"
#include "deck/TimeText.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"
#include "legacy/Error.h"
#include "legacy/Numbers.h"

namespace velmor {

void TrackOverview::wire() {
    Controls& ui = w_.ui;
    QObject::connect(&scanner_, &OverviewScanner::scanned,
                     [this](int d, const std::vector<float>& peaks) { scanned(d, peaks); });
    for (int d = 0; d < kDecks; ++d) {
        QObject::connect(w_.pla[d], &MediaPlayer::OpenStateChange,
                         [this, d] { pla_OpenStateChange(d); });
        QObject::connect(ui.ovwTrack[d], &TrackOverviewBar::clicked,
                         [this, d](double share) { ovwTrack_Click(d, share); });
        QObject::connect(ui.txtSet[d], &QLineEdit::textChanged, [this, d] { txtSet_Change(d); });
        QObject::connect(ui.tmrDisplay, &QTimer::timeout, [this, d] { refresh(d); });
    }
}

void TrackOverview::pla_OpenStateChange(int d) {
    // The overview of the track before is not this one's.
    w_.ui.ovwTrack[d]->hide();
    const QString path = w_.pla[d]->FileName();
    if (path.isEmpty() || !enabled_)
        scanner_.drop(d);
    else
        scanner_.scan(d, path);
}

void TrackOverview::scanned(int d, const std::vector<float>& peaks) {
    TrackOverviewBar* overview = w_.ui.ovwTrack[d];
    overview->setPeaks(peaks);
    txtSet_Change(d);
    refresh(d);
    overview->show();
    overview->raise();
}

void TrackOverview::ovwTrack_Click(int d, double share) {
    // Through the position slider, so that the seek is the slider's own.
    QSlider* tracker = w_.ui.Tracker[d];
    tracker->setSliderPosition(RealToInt32(share * tracker->maximum()));
}

void TrackOverview::txtSet_Change(int d) {
    const double length = w_.decks[d]->length();
    // A cue that is not a number is not marked (the stop that reads it says so).
    const std::optional<double> seconds = w_.decks[d]->cue();
    std::optional<double> cue;
    if (seconds && length > 0 && *seconds >= 0 && *seconds <= length)
        cue = *seconds / length;
    w_.ui.ovwTrack[d]->setCue(cue);
}

void TrackOverview::refresh(int d) {
    try {
        const MediaPlayer& player = *w_.pla[d];
        const double position = player.CurrentPosition();
        const double length = w_.decks[d]->length();
        TrackOverviewBar* overview = w_.ui.ovwTrack[d];
        if (overview->isVisible() && length > 0)
            overview->setPlayed(position / length);
        const bool near =
            player.PlayState() == MediaPlayer::Playing && NearTheEnd(position, player.Duration());
        overview->setWarning(near);
        setWarning(d, near);
    } catch (const std::exception&) {
        // A player that cannot tell its place now is asked again at the next frame.
    }
}

void TrackOverview::setWarning(int d, bool warning) {
    if (warning == warned_[d])
        return;
    warned_[d] = warning;
    QLabel* remaining = w_.ui.lblRTracking[d];
    QPalette palette = remaining->palette();
    palette.setColor(QPalette::WindowText, ToQColor(warning ? kWarning : kDarkGreen, palette));
    remaining->setPalette(palette);
}

} // namespace velmor
