#include "deck/player/EngineOutputs.h"

#include "audio/Engine.h"
#include "audio/PortAudioOutput.h"
#include "common/Reporter.h"
#include "legacy/Error.h"

#include <algorithm>

namespace velmor {

namespace {
float GainOfVolume(int volume) {
    return volume <= 0 ? 0.0f : audio::Engine::GainOfLevel(volume * 45 - 4500);
}

QString Named(const QString& device) {
    return device.isEmpty() ? QStringLiteral("default") : device;
}
} // namespace

audio::DeviceOpener MainOpener(const AudioSetup& setup) {
    const int channels = setup.phones == PhonesRoute::MainChannels ? 4 : 2;
    return [device = setup.device.toStdString(), channels, frames = setup.bufferFrames](int rate) {
        return std::make_unique<audio::PortAudioOutput>(rate, device, channels, frames);
    };
}

audio::DeviceOpener PhonesOpener(const AudioSetup& setup) {
    return [device = setup.phonesDevice.toStdString(), frames = setup.bufferFrames](int rate) {
        return std::make_unique<audio::PortAudioOutput>(rate, device, 2, frames);
    };
}

KeptCard::KeptCard(QString name, audio::DeviceOpener kept, audio::DeviceOpener standIn)
    : name_(std::move(name)), openers_(std::make_shared<Openers>()) {
    openers_->kept = std::move(kept);
    openers_->standIn = std::move(standIn);
}

audio::DeviceOpener KeptCard::opener() const {
    if (!openers_)
        return {}; // no card kept: the keeper's own default
    return [openers = openers_](int rate) -> std::unique_ptr<audio::Output> {
        try {
            if (auto device = openers->kept(rate))
                return device;
            if (!openers->standIn || openers->keptOnly)
                return nullptr;
        } catch (const std::exception&) {
            if (!openers->standIn || openers->keptOnly)
                throw;
        }
        return openers->standIn(rate);
    };
}

bool KeptCard::standsInOn(const audio::Engine& engine) const {
    return openers_ && openers_->standIn && !engine.silent() &&
           QString::fromStdString(engine.outputName()) != name_;
}

bool KeptCard::takeBack(audio::Engine& engine) const {
    if (!openers_)
        return false;
    openers_->keptOnly = true;
    // The keeper keeps this opener, with its stand-in, for a loss later on.
    const bool back = engine.switchOutput(opener()).empty();
    openers_->keptOnly = false;
    return back;
}

KeptCard KeptMainCard(const AudioSetup& setup) {
    if (setup.device.isEmpty())
        return KeptCard(setup.device, MainOpener(setup), {});
    AudioSetup standIn = setup;
    standIn.device.clear();
    return KeptCard(setup.device, MainOpener(setup), MainOpener(standIn));
}

EngineOutputs::EngineOutputs(AudioSetup setup, EngineSource engine, Reporter& reporter,
                             KeptCard card)
    : setup_(std::move(setup)), source_(std::move(engine)), reporter_(reporter),
      phonesFrames_(setup_.bufferFrames), level_(GainOfVolume(kDefaultPhonesVolume)),
      card_(std::move(card)) {
    lookAgain_.setInterval(audio::OutputKeeper::kRetry);
    QObject::connect(&lookAgain_, &QTimer::timeout, [this] { lookForKeptCard(); });
}

audio::Engine& EngineOutputs::engine() {
    if (!engine_)
        attach(source_());
    return *engine_;
}

void EngineOutputs::attach(audio::Engine& engine) {
    if (engine_ == &engine)
        return;
    engine_ = &engine;
    engine.setHeadphoneLevel(level_);
    engine.setCueMix(mainShare_);
    if (const QString failure = routePhones(setup_); !failure.isEmpty()) {
        reporter_.notice(QString(kPhonesDeviceMissing).arg(setup_.phonesDevice, failure));
        setup_.phones = PhonesRoute::None;
    }
    lookForKeptCard();
    lookAgain_.start();
}

void EngineOutputs::lookForKeptCard() {
    // Another card chosen since, or none kept: nothing stands in.
    if (!engine_ || card_.name().isEmpty() || setup_.device != card_.name())
        return;
    if (!card_.standsInOn(*engine_)) {
        standInTold_ = false;
        return;
    }
    if (!standInTold_)
        reporter_.notice(QString(kKeptCardMissing).arg(card_.name()));
    standInTold_ = true;
    if (card_.takeBack(*engine_)) {
        reporter_.notice(QString(kKeptCardBack).arg(card_.name()));
        standInTold_ = false;
    }
}

QString EngineOutputs::routePhones(const AudioSetup& setup) {
    using audio::HeadphoneRoute;
    switch (setup.phones) {
    case PhonesRoute::None:
        return QString::fromStdString(engine_->routeHeadphones(HeadphoneRoute::None));
    case PhonesRoute::MainChannels:
        return QString::fromStdString(engine_->routeHeadphones(HeadphoneRoute::MainChannels));
    case PhonesRoute::Device:
        break;
    }
    return QString::fromStdString(
        engine_->routeHeadphones(HeadphoneRoute::SecondDevice, PhonesOpener(setup)));
}

QList<AudioDevice> EngineOutputs::Devices() {
    QList<AudioDevice> devices;
    try {
        for (const audio::OutputDevice& device : audio::PortAudioOutput::Devices())
            devices.append(
                {QString::fromStdString(device.name), device.channels, device.isDefault});
    } catch (const std::exception& failure) {
        throw Error(QString::fromStdString(failure.what()));
    }
    return devices;
}

// The main output first: while it cannot be changed nothing else is. The headphones then,
// which on channels 3-4 need the main output opened with four channels.
void EngineOutputs::setSetup(const AudioSetup& wanted) {
    audio::Engine& engine = this->engine();
    const bool onMain = wanted.phones == PhonesRoute::MainChannels;
    if (wanted.device != setup_.device || wanted.bufferFrames != setup_.bufferFrames ||
        onMain != (setup_.phones == PhonesRoute::MainChannels)) {
        if (const std::string failure = engine.switchOutput(MainOpener(wanted)); !failure.empty())
            throw Error(QString(kMainDeviceRefused)
                            .arg(Named(wanted.device), QString::fromStdString(failure)));
        if (setup_.phones == PhonesRoute::MainChannels) // no longer there
            engine.routeHeadphones(audio::HeadphoneRoute::None);
        const AudioSetup before = setup_;
        setup_.device = wanted.device;
        setup_.bufferFrames = wanted.bufferFrames;
        if (before.phones == PhonesRoute::MainChannels)
            setup_.phones = PhonesRoute::None;
    }
    const bool phonesChange =
        wanted.phones != setup_.phones ||
        (wanted.phones == PhonesRoute::Device &&
         (wanted.phonesDevice != setup_.phonesDevice || wanted.bufferFrames != phonesFrames_));
    if (!phonesChange)
        return;
    if (const QString failure = routePhones(wanted); !failure.isEmpty())
        throw Error(QString(kPhonesDeviceRefused).arg(Named(wanted.phonesDevice), failure));
    setup_.phones = wanted.phones;
    setup_.phonesDevice = wanted.phonesDevice;
    phonesFrames_ = wanted.bufferFrames;
}

OutputsState EngineOutputs::State() {
    audio::Engine& engine = this->engine();
    OutputsState state;
    state.main = QString::fromStdString(engine.outputName());
    state.mainLatency = engine.outputLatency();
    state.mainSilent = engine.silent();
    state.phones = QString::fromStdString(engine.headphoneName());
    state.phonesLatency = engine.headphoneLatency();
    state.phonesSilent = engine.headphonesSilent();
    state.threads = engine.threadPriority();
    return state;
}

void EngineOutputs::setHeadphoneLevel(int volume) {
    level_ = GainOfVolume(volume);
    if (engine_)
        engine_->setHeadphoneLevel(level_);
}

void EngineOutputs::setCueMix(int mainShare) {
    mainShare_ = static_cast<float>(std::clamp(mainShare, 0, 100)) / 100.0f;
    if (engine_)
        engine_->setCueMix(mainShare_);
}

} // namespace velmor
