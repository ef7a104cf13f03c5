#include "app/Announcements.h"

#include "app/Main.h"
#include "app/MainLayout.h"
#include "audio/Engine.h"
#include "common/FileNames.h"
#include "common/LevelMeterBar.h"
#include "common/Widgets.h"
#include "deck/player/AudioSetup.h"

#include <QFileInfo>
#include <QMenu>
#include <QSlider>

namespace velmor {

Announcements::~Announcements() {
    delete frm_.data(); // a window of its own, gone with the program's window
}

void Announcements::wire() {
    QObject::connect(w_.ui.cmdDuck, &QPushButton::clicked, [this] { cmdDuck_Click(); });
    QObject::connect(w_.ui.tmrDisplay, &QTimer::timeout, [this] { showPlaying(); });
    // The display's timer lights the slots and moves their meter: it runs while they change.
    w_.meters.stayAwakeWhile([this] {
        for (int slot = 0; slot < kJingleSlots; ++slot)
            if (w_.jingles.playing(slot) || lit_[slot])
                return true;
        return !meter_.atRest();
    });
    QObject::connect(&w_.jingles, &JingleBank::slotChanged, [this](int slot) { showSlot(slot); });
    clock_.start();
}

void Announcements::keepIn(const QString& audioSetupFile) {
    file_ = audioSetupFile;
    if (!file_.isEmpty())
        setDuckDepth(ReadDuckDepth(file_));
}

void Announcements::setDuckDepth(int db) {
    depth_ = db;
    if (!ducked_)
        return; // the engine is told at the dip, not woken for it at the start
    if (w_.engine)
        w_.engine().duck().setDepth(db);
    w_.ui.cmdDuck->setText(QString("Voice over: -%1 dB").arg(depth_));
}

void Announcements::cmdDuck_Click() {
    ducked_ = !ducked_;
    if (w_.engine) {
        w_.engine().duck().setDepth(depth_);
        w_.engine().duck().set(ducked_);
    }
    w_.ui.cmdDuck->setText(QString("Voice over: -%1 dB").arg(depth_));
    w_.ui.cmdDuck->setVisible(ducked_);
    FitListsFoot(w_.ui);
    if (frm_)
        frm_->cmdDuck->setChecked(ducked_);
}

void Announcements::cmdJingle_Click(int slot) {
    w_.jingles.fire(slot);
    w_.meters.wake();
    showPlaying();
}

void Announcements::showJingles() {
    if (frm_ != nullptr && !frm_->isVisible())
        delete frm_.data();
    if (frm_ == nullptr) {
        frm_ = new FrmJingles(w_.DesignFont(),
                              [this](int slot, const QString& path) { jingleDropped(slot, path); });
        w_.shortcuts.forwardKeysFrom(frm_);
        frm_->move(w_.frameGeometry().bottomLeft() + QPoint(0, 8));
        for (int slot = 0; slot < FrmJingles::kSlots; ++slot) {
            ColorButton* button = frm_->cmdJingle[slot];
            QObject::connect(button, &QPushButton::clicked, frm_,
                             [this, slot] { cmdJingle_Click(slot); });
            QObject::connect(button, &QWidget::customContextMenuRequested, frm_,
                             [this, slot, button](const QPoint& at) {
                                 QMenu menu;
                                 menu.addAction("Empty the slot",
                                                [this, slot] { w_.jingles.clear(slot); });
                                 menu.exec(button->mapToGlobal(at));
                             });
            lit_[slot] = false;
            showSlot(slot);
        }
        frm_->sldJingles->setValue(w_.jingles.volume());
        QObject::connect(frm_->sldJingles, &QSlider::valueChanged, frm_,
                         [this](int volume) { w_.jingles.setVolume(volume); });
        frm_->cmdDuck->setChecked(ducked_);
        QObject::connect(frm_->cmdDuck, &QPushButton::clicked, frm_, [this] { cmdDuck_Click(); });
    }
    frm_->show();
    frm_->raise();
    frm_->activateWindow();
}

void Announcements::jingleDropped(int slot, const QString& path) {
    trapped(w_.reporter, [&] { w_.jingles.assign(slot, path); });
}

void Announcements::showSlot(int slot) {
    if (!frm_)
        return;
    ColorButton* button = frm_->cmdJingle[slot];
    const QString file = w_.jingles.file(slot);
    const QString name = file.isEmpty() ? "" : DisplayName(QFileInfo(file).completeBaseName());
    Rgb color = lit_[slot] ? kLightGreen : kButtonFace;
    switch (w_.jingles.state(slot)) {
    case JingleBank::State::Reading:
        button->setText(QString("F%1\nreading...").arg(slot + 1));
        break;
    case JingleBank::State::Unreadable:
        color = kLightRed;
        [[fallthrough]];
    default:
        button->setText(QString("F%1\n%2").arg(slot + 1).arg(name));
    }
    button->setBackColor(color);
    button->setToolTip(file.isEmpty() ? QString("F%1: drop a file here").arg(slot + 1)
                                      : DisplayName(file));
}

// Thirty times a second, with the meters: the slots that play are lit.
void Announcements::showPlaying() {
    if (!frm_ || !frm_->isVisible())
        return;
    for (int slot = 0; slot < FrmJingles::kSlots; ++slot)
        if (const bool playing = w_.jingles.playing(slot); playing != lit_[slot]) {
            lit_[slot] = playing;
            showSlot(slot);
        }
    const audio::LevelReading levels = w_.jingles.takeLevels();
    meter_.feed(levels.peak, levels.rms, false, double(clock_.nsecsElapsed()) / 1e9);
    frm_->mtrJingles->setShown(meter_.shown());
}

} // namespace velmor
