#include "deck/Transport.h"

#include "common/BrowserLists.h"
#include "common/EventHooks.h"
#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/Deck.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"
#include "legacy/Error.h"
#include "legacy/Numbers.h"

#include <QKeyEvent>

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
        QObject::connect(ui.txtSet[d], &QLineEdit::textChanged, [this, d] { txtSet_Change(d); });
        Deck* deck = w_.decks[d];
        QObject::connect(deck, &Deck::mutedChanged, [this, d](bool on) { showMute(d, on); });
        QObject::connect(deck, &Deck::speedChanged, [this, d](int speed) { showSpeed(d, speed); });
        for (QLineEdit* box : {ui.txtSet[d], ui.txtSetSec[d]}) {
            SelectAllOnClick(box);
            FocusFolderOnEnter(box, ui.dir);
        }
    }
}

void Transport::cmdPlayPause_Click(int d) {
    trapped(w_.reporter, [&] { w_.decks[d]->playPause(); });
}

void Transport::cmdStop_Click(int d) {
    trapped(w_.reporter, [&] { w_.decks[d]->stop(StopReason::User); });
}

void Transport::cmdMute_Click(int d) {
    trapped(w_.reporter, [&] { w_.decks[d]->setMuted(!w_.decks[d]->muted()); });
}

void Transport::showMute(int d, bool muted) {
    w_.ui.cmdMute[d]->setBackColor(muted ? kRed : kButtonFace);
}

void Transport::ApplySpeed(int d, int speed) {
    // A player that refuses the rate must not end the program.
    trapped(w_.reporter, [&] { w_.decks[d]->setSpeed(speed); });
}

void Transport::showSpeed(int d, int speed) {
    Controls& ui = w_.ui;
    ColorButton* buttons[] = {ui.cmdSlowPlay[d], ui.cmdNormalPlay[d], ui.cmdFastPlay[d],
                              ui.cmdUltraPlay[d]};
    for (int i = 0; i < 4; ++i)
        buttons[i]->setEnabled(i != speed);
    ui.timer[d]->setInterval(RealToInt32(250.0 / Deck::kRates[speed]));
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
        Deck& deck = *w_.decks[d];
        deck.seek(minutes * 60 + seconds);
        ui.Tracker[d]->setValue(RealToInt32(deck.player().CurrentPosition()));
    });
}

void Transport::txtSet_Change(int d) {
    std::optional<double> cue;
    try {
        cue = ToDouble(w_.ui.txtSet[d]->text());
    } catch (const Error&) {
        // Not a number: the next stop says so.
    }
    w_.decks[d]->setCue(cue);
}

} // namespace velmor
