#include "deck/TrackOverview.h"

#include "analysis/KnownTracks.h"
#include "analysis/TrackAnalyser.h"
#include "common/TrackOverviewBar.h"
#include "common/Widgets.h"
#include "deck/CountedEnd.h"
#include "deck/Deck.h"
#include "deck/TimeText.h"
#include "deck/player/MediaPlayer.h"
#include "legacy/Numbers.h"

namespace velmor {

TrackOverview::TrackOverview(Deck& deck, const Controls& ui, TrackAnalyser& analyser,
                             const KnownTracks& known, bool enabled)
    : deck_(deck), c_(DeckControlsOf(ui, deck.index())), analyser_(analyser), known_(known),
      enabled_(enabled) {
    const int d = deck.index();
    connect(&analyser, &TrackAnalyser::scanned, this,
            [this, d](int deck, const std::vector<float>& peaks) {
                if (deck == d)
                    scanned(peaks);
            });
    connect(&known, &KnownTracks::learned, this, [this](const QString& path) {
        if (path == deck_.player().FileName())
            showSound();
    });
    connect(&known, &KnownTracks::levellingChanged, this, [this] { showSound(); });
    connect(&deck.player(), &MediaPlayer::OpenStateChange, this, [this] { pla_OpenStateChange(); });
    connect(c_.ovwTrack, &TrackOverviewBar::clicked, this,
            [this](double share) { ovwTrack_Click(share); });
    connect(c_.txtSet, &QLineEdit::textChanged, this, [this] { txtSet_Change(); });
    connect(ui.tmrDisplay, &QTimer::timeout, this, [this] { refresh(); });
}

void TrackOverview::pla_OpenStateChange() {
    // The overview of the track before is not this one's.
    c_.ovwTrack->hide();
    const QString path = deck_.player().FileName();
    if (path.isEmpty() || !enabled_)
        analyser_.drop(deck_.index());
    else
        analyser_.scan(deck_.index(), path);
}

void TrackOverview::scanned(const std::vector<float>& peaks) {
    TrackOverviewBar* overview = c_.ovwTrack;
    overview->setPeaks(peaks);
    showSound();
    txtSet_Change();
    refresh();
    overview->show();
    overview->raise();
}

void TrackOverview::ovwTrack_Click(double share) {
    // Through the position slider, so that the seek is the slider's own.
    c_.Tracker->setSliderPosition(RealToInt32(share * c_.Tracker->maximum()));
}

void TrackOverview::txtSet_Change() {
    const double length = deck_.length();
    // A cue that is not a number is not marked (the stop that reads it says so).
    const std::optional<double> seconds = deck_.cue();
    std::optional<double> cue;
    if (seconds && length > 0 && *seconds >= 0 && *seconds <= length)
        cue = *seconds / length;
    c_.ovwTrack->setCue(cue);
}

void TrackOverview::refresh() {
    try {
        const MediaPlayer& player = deck_.player();
        const double position = player.CurrentPosition();
        const double length = deck_.length();
        TrackOverviewBar* overview = c_.ovwTrack;
        if (overview->isVisible() && length > 0)
            overview->setPlayed(position / length);
        const double end = CountedEnd(known_, player.FileName(), position, player.Duration());
        const bool near = player.PlayState() == MediaPlayer::Playing && NearTheEnd(position, end);
        overview->setWarning(near);
        setWarning(near);
    } catch (const std::exception&) {
        // A player that cannot tell its place now is asked again at the next frame.
    }
}

void TrackOverview::showSound() {
    const SoundShares sound = SoundSharesOf(known_, deck_.player().FileName());
    c_.ovwTrack->setSound(sound.start, sound.end);
}

void TrackOverview::setWarning(bool warning) {
    if (warning == warned_)
        return;
    warned_ = warning;
    QLabel* remaining = c_.lblRTracking;
    QPalette palette = remaining->palette();
    palette.setColor(QPalette::WindowText, ToQColor(warning ? kWarning : kDarkGreen, palette));
    remaining->setPalette(palette);
}

} // namespace velmor
