#include "deck/player/StartAudioEngine.h"

#include "audio/PortAudioOutput.h"
#include "common/Reporter.h"

#include <QCoreApplication>
#include <pthread.h>

namespace velmor {

std::unique_ptr<audio::Output> OpenAudioDevice(int sampleRate) {
    try {
        return std::make_unique<audio::PortAudioOutput>(sampleRate);
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::unique_ptr<audio::Engine> StartAudioEngine(Reporter& reporter) {
    return StartAudioEngine(reporter, OpenAudioDevice());
}

std::unique_ptr<audio::Engine> StartAudioEngine(Reporter& reporter,
                                                std::unique_ptr<audio::Output> device,
                                                audio::DeviceOpener devices) {
    auto engine = std::make_unique<audio::Engine>(std::move(device), std::move(devices));
    if (engine->silent())
        reporter.notice(kNoAudioDevice);
    // Told on the engine's thread; shown from the event loop.
    engine->setOutputListener([&reporter](const audio::OutputChange& change) {
        const bool lost = change.kind == audio::OutputChange::Lost;
        const QString text = lost
                                 ? QString(change.headphones ? kPhonesDeviceLost : kAudioDeviceLost)
                                 : QString(change.headphones ? kPhonesDeviceBack : kAudioDeviceBack)
                                       .arg(QString::fromStdString(change.deviceName));
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [&reporter, text] { reporter.notice(text); },
            Qt::QueuedConnection);
    });
    return engine;
}

PendingAudioEngine::PendingAudioEngine(Reporter& reporter, DeviceSearch search,
                                       audio::DeviceOpener devices)
    : reporter_(reporter), devices_(std::move(devices)) {
    device_ = std::async(std::launch::async, [this, search = std::move(search)] {
        pthread_setname_np(pthread_self(), "velmor probe");
        auto device = search();
        QMetaObject::invokeMethod(
            this, [this] { engine(); }, Qt::QueuedConnection);
        return device;
    });
}

PendingAudioEngine::~PendingAudioEngine() {
    if (device_.valid())
        device_.wait(); // the search cannot be cut short; its device closes unused
}

audio::Engine& PendingAudioEngine::engine() {
    if (!engine_) {
        engine_ = StartAudioEngine(*this, device_.get(), devices_);
        if (started_)
            started_(*engine_);
    }
    return *engine_;
}

void PendingAudioEngine::show(const QString& text, const QString& title, Icon icon) {
    QMetaObject::invokeMethod(
        this, [this, text, title, icon] { reporter_.show(text, title, icon); },
        Qt::QueuedConnection);
}

void PendingAudioEngine::notice(const QString& text) {
    QMetaObject::invokeMethod(
        this, [this, text] { reporter_.notice(text); }, Qt::QueuedConnection);
}

} // namespace velmor
