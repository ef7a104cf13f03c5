#include "deck/Transport.h"

#include "common/BrowserLists.h"
#include "common/EventHooks.h"
#include "common/Numbers.h"
#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/PositionDisplay.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"

#include <QKeyEvent>
#include <QScopeGuard>

namespace velmor {

void SelectAllOnClick(QLineEdit* box) {
    OnEvent(box, QEvent::MouseButtonRelease, [box](QEvent*) {
        // After the box has placed its caret for the click.
        QMetaObject::invokeMethod(box, &QLineEdit::selectAll, Qt::QueuedConnection);
        return false;
    });
}

void FocusFolderOnEnter(QLineEdit* box, QWidget* folderList) {
    OnEvent(box, QEvent::KeyPress, [folderList](QEvent* event) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        folderList->setFocus();
        return true;
    });
}

void Transport::wire() {
    Controls& ui = w_.ui;
    for (int d = 0; d < kDecks; ++d) {
        QObject::connect(ui.cmdPlayPause[d], &QPushButton::clicked,
                         [this, d] { cmdPlayPause_Click(d); });
        QObject::connect(ui.cmdStop[d], &QPushButton::clicked, [this, d] { cmdStop_Click(d); });
        QObject::connect(ui.cmdMute[d], &QPushButton::clicked, [this, d] { cmdMute_Click(d); });
        QObject::connect(ui.cmdSlowPlay[d], &QPushButton::clicked,
                         [this, d] { cmdSlowPlay_Click(d); });
        QObject::connect(ui.cmdNormalPlay[d], &QPushButton::clicked,
                         [this, d] { cmdNormalPlay_Click(d); });
        QObject::connect(ui.cmdFastPlay[d], &QPushButton::clicked,
                         [this, d] { cmdFastPlay_Click(d); });
        QObject::connect(ui.cmdUltraPlay[d], &QPushButton::clicked,
                         [this, d] { cmdUltraPlay_Click(d); });
        QObject::connect(ui.cmdSet[d], &QPushButton::clicked, [this, d] { cmdSet_Click(d); });
        for (QLineEdit* box : {ui.txtSet[d], ui.txtSetSec[d]}) {
            SelectAllOnClick(box);
            FocusFolderOnEnter(box, ui.dir);
        }
    }
}

void Transport::cmdPlayPause_Click(int d) {
    trapped(w_.reporter, [&] {
        MediaPlayer& player = *w_.pla[d];
        const int state = player.PlayState();
        if (state == MediaPlayer::Playing)
            player.Pause();
        else if (state == MediaPlayer::Stopped || state == MediaPlayer::Paused)
            player.Play();
    });
}

void Transport::cmdStop_Click(int d) {
    trapped(w_.reporter, [&] { StopWithoutMovingOn(d); });
}

void Transport::StopWithoutMovingOn(int d) {
    // Tells the stopped notification, which runs inside Stop, that this stop is not an end
    // of track.
    decks_.StoppedByUser[d] = true;
    // A player that was already stopped reports nothing, and a flag left set would keep the
    // deck from moving on at the end of the next track it plays.
    const auto cleared = qScopeGuard([&] { decks_.StoppedByUser[d] = false; });
    w_.pla[d]->Stop();
}

void Transport::cmdMute_Click(int d) {
    trapped(w_.reporter, [&] {
        MediaPlayer& player = *w_.pla[d];
        player.setMute(!player.Mute());
        ColorButton* mute = w_.ui.cmdMute[d];
        mute->setBackColor(mute->BackColor() == kButtonFace ? kRed : kButtonFace);
    });
}

void Transport::ApplySpeed(int d, int speed) {
    Controls& ui = w_.ui;
    ColorButton* buttons[] = {ui.cmdSlowPlay[d], ui.cmdNormalPlay[d], ui.cmdFastPlay[d],
                              ui.cmdUltraPlay[d]};
    for (int i = 0; i < 4; ++i)
        buttons[i]->setEnabled(i != speed);
    const double rate = kRates[speed];
    ui.timer[d]->setInterval(RealToInt32(250.0 / rate));
    // A player that refuses the rate must not end the program.
    trapped(w_.reporter, [&] { w_.pla[d]->setRate(rate); });
}

void Transport::cmdSet_Click(int d) {
    Controls& ui = w_.ui;
    trapped(w_.reporter, [&] {
        const double minutes = ToDouble(ui.txtSet[d]->text());
        if (minutes > 99 || minutes < 0) {
            w_.reporter.show("Number out of range", kAppTitle, Icon::Information);
            ui.txtSet[d]->setFocus();
            return;
        }
        const double seconds = ToDouble(ui.txtSetSec[d]->text());
        if (seconds > 59 || seconds < 0) {
            w_.reporter.show("Number out of range", kAppTitle, Icon::Information);
            ui.txtSetSec[d]->setFocus();
            return;
        }
        MediaPlayer& player = *w_.pla[d];
        player.setCurrentPosition(minutes * 60 + seconds);
        ui.Tracker[d]->setValue(RealToInt32(player.CurrentPosition()));
        position_.ShowStandingPosition(d);
    });
}

} // namespace velmor
