#include "deck/LevelMeters.h"

#include "common/LevelMeterBar.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"

#include <QLabel>
#include <QSlider>

namespace velmor {

void LevelMeters::wire(bool live) {
    live_ = live;
    clock_.start();
    QObject::connect(w_.ui.tmrDisplay, &QTimer::timeout, [this] { tmrDisplay_Timer(); });
    // What sets the display moving again once it rests: a deck that starts, stops or moves.
    for (int d = 0; d < kDecks; ++d) {
        QObject::connect(w_.pla[d], &MediaPlayer::PlayStateChange, [this] { wake(); });
        QObject::connect(w_.ui.Tracker[d], &QSlider::valueChanged, [this] { wake(); });
    }
    wake();
}

void LevelMeters::wake() {
    if (live_ && !w_.ui.tmrDisplay->isActive())
        w_.ui.tmrDisplay->start();
}

void LevelMeters::tmrDisplay_Timer() {
    const double now = double(clock_.nsecsElapsed()) / 1e9;
    for (int d = 0; d < kDecks; ++d) {
        const MediaPlayer::Levels levels = w_.pla[d]->TakeLevels();
        decks_[d].feed(levels.peak, levels.rms, false, now);
        w_.ui.mtrLevel[d]->setShown(decks_[d].shown());
    }
    const MasterLevels master = masterLevels_ ? masterLevels_() : MasterLevels{};
    master_.feed(master.levels.peak, master.levels.rms, master.limited, now);
    w_.ui.mtrMaster->setShown(master_.shown());
    if (masterListener_)
        masterListener_(master);
    rest();
    const QString dropouts = DropoutsText(master.underruns, master.phonesUnderruns);
    if (dropouts != w_.ui.lblDropouts->text()) {
        w_.ui.lblDropouts->setText(dropouts);
        w_.ui.lblDropouts->setVisible(!dropouts.isEmpty());
    }
}

void LevelMeters::rest() {
    // Nothing moves on the display once every meter has fallen and no deck plays.
    if (!master_.atRest() || (moving_ && moving_()))
        return;
    for (int d = 0; d < kDecks; ++d)
        if (!decks_[d].atRest() || w_.pla[d]->PlayState() == MediaPlayer::Playing)
            return;
    w_.ui.tmrDisplay->stop();
}

QString DropoutsText(uint64_t main, uint64_t phones) {
    if (main == 0 && phones == 0)
        return {};
    QString text = QString("Dropouts: %1").arg(main);
    if (phones > 0)
        text += QStringLiteral(" \u00b7 phones %1").arg(phones);
    return text;
}

} // namespace velmor
