#include "app/AudioSetupWindow.h"

#include "app/Main.h"
#include "common/Accessible.h"
#include "common/Widgets.h"
#include "legacy/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <cmath>

namespace velmor {

namespace {
QLabel* caption(QWidget* parent, const QString& text, int l, int t, int w, int h) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(TwipsRect(l, t, w, h));
    return label;
}

QComboBox* choices(QWidget* parent, const QString& name, int l, int t, int w, int h) {
    auto* box = new QComboBox(parent);
    box->setGeometry(TwipsRect(l, t, w, h));
    SetAccessibleText(box, name);
    return box;
}

QString latencyText(const QString& what, const QString& device, double seconds, bool silent) {
    if (silent)
        return what + ": no device, playing silently";
    return QString("%1: %2 ms (%3)").arg(what).arg(seconds * 1000, 0, 'f', 1).arg(device);
}

// Whether the sound can be held up by other busy programs.
QString threadsText(audio::ThreadPriority threads) {
    switch (threads.kind) {
    case audio::ThreadPriority::RealTime:
        return QString("\nAudio threads: real-time (priority %1)").arg(threads.priority);
    case audio::ThreadPriority::Normal:
        return "\nAudio threads: normal priority (real-time was refused)";
    case audio::ThreadPriority::NotAsked:
        break;
    }
    return {};
}

QCheckBox* option(QWidget* parent, const QString& text, int l, int t, int w, int h) {
    auto* box = new QCheckBox(text, parent);
    box->setGeometry(TwipsRect(l, t, w, h));
    return box;
}

// Item data of the headphones' list: the route, and for a device its name.
QVariant phonesItem(PhonesRoute route, const QString& device = {}) {
    return QVariantList{int(route), device};
}
} // namespace

FrmAudio::FrmAudio(const QFont& font) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(font);
    setWindowTitle("Velmor's Audio Set-up");
    setFixedSize(TwipsToPixels(5400), TwipsToPixels(6090));
    caption(this, "Main output:", 120, 165, 1200, 225);
    cboDevice = choices(this, "Main output", 1380, 120, 3900, 315);
    caption(this, "Headphones:", 120, 615, 1200, 225);
    cboPhones = choices(this, "Headphones", 1380, 570, 3900, 315);
    caption(this, "Buffer size:", 120, 1065, 1200, 225);
    cboBuffer = choices(this, "Buffer size", 1380, 1020, 1800, 315);
    caption(this, "Loudness:", 120, 1515, 1200, 225);
    chkLoudness = option(this, "Even out, to", 1380, 1470, 1560, 315);
    spnTarget = new QSpinBox(this);
    spnTarget->setGeometry(TwipsRect(3000, 1470, 1320, 315));
    spnTarget->setRange(int(Levelling::kMinTarget), int(Levelling::kMaxTarget));
    spnTarget->setSuffix(" LUFS");
    SetAccessibleText(spnTarget, "Loudness target");
    // Beside the buffer size, where its row had room.
    caption(this, "Duck by:", 3300, 1065, 780, 225);
    spnDuck = new QSpinBox(this);
    spnDuck->setGeometry(TwipsRect(4080, 1020, 1200, 315));
    spnDuck->setRange(kMinDuckDb, kMaxDuckDb);
    spnDuck->setSuffix(" dB");
    spnDuck->setToolTip("How far the voice-over key (p) dips the music");
    SetAccessibleText(spnDuck, "Voice over: duck by");
    chkSkipSilence = option(this, "Skip the silence at the ends of tracks", 1380, 1920, 3900, 315);
    chkMoveOnUnheard =
        option(this, "Move on from a deck that plays unheard for 5 s", 1380, 2370, 3900, 315);
    lblLatency = caption(this, "", 120, 2820, 5160, 720);
    lblLatency->setWordWrap(true);
    lblLatency->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    caption(this, "Controllers:", 120, 3660, 1200, 225);
    lstPorts = new QListWidget(this);
    lstPorts->setGeometry(TwipsRect(1380, 3615, 3900, 900));
    SetAccessibleText(lstPorts, "Controllers' ports");
    cboLearn = choices(this, "Action to learn", 1380, 4635, 2500, 315);
    cmdLearn = new QPushButton("Learn", this);
    cmdLearn->setGeometry(TwipsRect(3990, 4635, 1290, 315));
    lblLearn = caption(this, "", 1380, 5040, 3900, 450);
    lblLearn->setWordWrap(true);
    lblLearn->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cmdCloseWindow = new QPushButton("Close", this);
    cmdCloseWindow->setGeometry(TwipsRect(120, 5610, 1215, 330));
    QObject::connect(cmdCloseWindow, &QPushButton::clicked, this,
                     [this] { cmdCloseWindow_Click(); });
}

AudioSetupWindow::~AudioSetupWindow() {
    delete frm_.data(); // a window of its own, gone with the program's window
}

void AudioSetupWindow::wire() {
    QObject::connect(w_.ui.cmdAudio, &QPushButton::clicked, [this] { cmdAudio_Click(); });
}

void AudioSetupWindow::cmdAudio_Click() {
    if (!w_.outputs) {
        w_.reporter.show(kNoAudioOutputs, kAppTitle, Icon::Exclamation);
        return;
    }
    if (frm_ != nullptr && !frm_->isVisible())
        delete frm_.data();
    if (frm_ == nullptr) {
        frm_ = new FrmAudio(w_.font());
        w_.shortcuts.forwardKeysFrom(frm_); // a deck key plays, and chooses no card
        frm_->move(w_.frameGeometry().topRight() + QPoint(8, 0));
        trappedInBox(w_.reporter, [&] { devices_ = w_.outputs->Devices(); });
        for (QComboBox* box : {frm_->cboDevice, frm_->cboPhones, frm_->cboBuffer})
            QObject::connect(box, &QComboBox::activated, frm_, [this] { cboSetup_Click(); });
        for (QCheckBox* box : {frm_->chkLoudness, frm_->chkSkipSilence})
            QObject::connect(box, &QCheckBox::toggled, frm_, [this] { levelling_Change(); });
        QObject::connect(frm_->spnTarget, &QSpinBox::valueChanged, frm_,
                         [this] { levelling_Change(); });
        QObject::connect(frm_->chkMoveOnUnheard, &QCheckBox::toggled, frm_,
                         [this](bool on) { chkMoveOnUnheard_Click(on); });
        frm_->spnDuck->setValue(w_.announcements.duckDepth());
        QObject::connect(frm_->spnDuck, &QSpinBox::valueChanged, frm_,
                         [this](int db) { duck_Change(db); });
        fill();
        showLevelling();
        const QSignalBlocker quiet(frm_->chkMoveOnUnheard);
        frm_->chkMoveOnUnheard->setChecked(w_.unheard.movesOn());
        fillControllers();
    }
    frm_->show();
    frm_->raise();
    frm_->activateWindow();
}

// The lists as the set-up that plays says; a device of the set-up that is not there now is
// listed all the same, so that the choice is seen.
void AudioSetupWindow::fill() {
    const AudioSetup setup = w_.outputs->Setup();
    QList<AudioDevice> devices = devices_;
    for (const QString& name : {setup.device, setup.phonesDevice})
        if (!name.isEmpty() && std::none_of(devices.begin(), devices.end(),
                                            [&](const AudioDevice& d) { return d.name == name; }))
            devices.append({name, 0, false});

    QComboBox* main = frm_->cboDevice;
    QComboBox* phones = frm_->cboPhones;
    QComboBox* buffer = frm_->cboBuffer;
    const QSignalBlocker quiet1(main), quiet2(phones), quiet3(buffer);
    main->clear();
    phones->clear();
    buffer->clear();
    main->addItem("System default", QString());
    phones->addItem("None", phonesItem(PhonesRoute::None));
    phones->addItem("Channels 3-4 of the main output", phonesItem(PhonesRoute::MainChannels));
    for (const AudioDevice& device : devices) {
        const QString shown = device.channels > 0 ? device.name : device.name + " (not there)";
        main->addItem(shown, device.name);
        phones->addItem(shown, phonesItem(PhonesRoute::Device, device.name));
    }
    for (int frames : kBufferSizes)
        buffer->addItem(QString("%1 frames").arg(frames), frames);

    main->setCurrentIndex(std::max(0, main->findData(setup.device)));
    const QString phonesDevice = setup.phones == PhonesRoute::Device ? setup.phonesDevice : "";
    phones->setCurrentIndex(std::max(0, phones->findData(phonesItem(setup.phones, phonesDevice))));
    buffer->setCurrentIndex(std::max(0, buffer->findData(setup.bufferFrames)));

    const OutputsState state = w_.outputs->State();
    QString text = latencyText("Main output", state.main, state.mainLatency, state.mainSilent);
    if (setup.phones == PhonesRoute::Device)
        text +=
            "\n" + latencyText("Headphones", state.phones, state.phonesLatency, state.phonesSilent);
    frm_->lblLatency->setText(text + threadsText(state.threads));
}

AudioSetup AudioSetupWindow::chosen() const {
    AudioSetup setup;
    setup.device = frm_->cboDevice->currentData().toString();
    const QVariantList phones = frm_->cboPhones->currentData().toList();
    setup.phones = static_cast<PhonesRoute>(phones.value(0).toInt());
    setup.phonesDevice = phones.value(1).toString();
    setup.bufferFrames = frm_->cboBuffer->currentData().toInt();
    return setup;
}

void AudioSetupWindow::cboSetup_Click() {
    const AudioSetup wanted = chosen();
    if (wanted == w_.outputs->Setup())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor); // opening a device takes a moment
    trappedInBox(w_.reporter, [&] {
        struct Restore {
            ~Restore() { QApplication::restoreOverrideCursor(); }
        } restore;
        w_.outputs->setSetup(wanted);
    });
    if (!file_.isEmpty() && !WriteAudioSetup(file_, w_.outputs->Setup()))
        tellNotKept();
    if (frm_)
        fill();
}

void AudioSetupWindow::duck_Change(int db) {
    w_.announcements.setDuckDepth(db);
    if (!file_.isEmpty() && !WriteDuckDepth(file_, db))
        tellNotKept();
}

void AudioSetupWindow::tellNotKept() {
    w_.reporter.notice("The audio set-up could not be kept in " + file_ + ".");
}

void AudioSetupWindow::keepIn(const QString& file) {
    file_ = file;
    if (file.isEmpty())
        return;
    w_.knownTracks.setLevelling(ReadLevelling(file));
    w_.unheard.setMovesOn(ReadUnheardMovesOn(file));
}

void AudioSetupWindow::chkMoveOnUnheard_Click(bool on) {
    w_.unheard.setMovesOn(on);
    if (!file_.isEmpty() && !WriteUnheardMovesOn(file_, on))
        tellNotKept();
}

void AudioSetupWindow::showLevelling() {
    const Levelling& levelling = w_.knownTracks.levelling();
    const QSignalBlocker quiet1(frm_->chkLoudness), quiet2(frm_->spnTarget),
        quiet3(frm_->chkSkipSilence);
    frm_->chkLoudness->setChecked(levelling.enabled);
    frm_->spnTarget->setValue(int(std::lround(levelling.target)));
    frm_->spnTarget->setEnabled(levelling.enabled);
    frm_->chkSkipSilence->setChecked(levelling.skipSilence);
}

void AudioSetupWindow::levelling_Change() {
    Levelling levelling;
    levelling.enabled = frm_->chkLoudness->isChecked();
    levelling.target = frm_->spnTarget->value();
    levelling.skipSilence = frm_->chkSkipSilence->isChecked();
    w_.knownTracks.setLevelling(levelling);
    frm_->spnTarget->setEnabled(levelling.enabled);
    if (!file_.isEmpty() && !WriteLevelling(file_, levelling))
        tellNotKept();
}

void AudioSetupWindow::fillControllers() {
    Controllers& controllers = w_.controllers;
    for (const Action& action : w_.actions.rows())
        frm_->cboLearn->addItem(action.id + " (" + action.help + ")", action.id);
    for (const Fader& fader : w_.actions.faders())
        frm_->cboLearn->addItem(fader.id + " (" + fader.help + ")", fader.id);
    fillPorts();
    QObject::connect(&controllers.ports(), &MidiPorts::inputsChanged, frm_,
                     [this] { fillPorts(); });
    QObject::connect(frm_->lstPorts, &QListWidget::itemChanged, frm_,
                     [this](QListWidgetItem* item) { lstPorts_Change(item); });
    QObject::connect(frm_->cmdLearn, &QPushButton::clicked, frm_, [this] { cmdLearn_Click(); });
    QObject::connect(&controllers, &Controllers::learningChanged, frm_->lblLearn, &QLabel::setText);
    QObject::connect(frm_, &QObject::destroyed, &controllers, &Controllers::stopLearning);
}

void AudioSetupWindow::fillPorts() {
    const MidiPorts& ports = w_.controllers.ports();
    const QSignalBlocker quiet(frm_->lstPorts);
    frm_->lstPorts->clear();
    for (const QString& port : ports.inputs()) {
        auto* item = new QListWidgetItem(port, frm_->lstPorts);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(ports.switchedOff().contains(port) ? Qt::Unchecked : Qt::Checked);
    }
    if (ports.inputs().isEmpty())
        frm_->lblLearn->setText("No controller is plugged in.");
}

void AudioSetupWindow::lstPorts_Change(QListWidgetItem* item) {
    w_.controllers.switchPort(item->text(), item->checkState() == Qt::Checked);
}

void AudioSetupWindow::cmdLearn_Click() {
    const QString id = frm_->cboLearn->currentData().toString();
    if (!id.isEmpty())
        w_.controllers.learn(id);
}

} // namespace velmor
