#include "deck/player/StartAudioEngine.h"

#include "audio/NullOutput.h"
#include "audio/PortAudioOutput.h"
#include "common/Reporter.h"

#include <QCoreApplication>

namespace velmor {

std::unique_ptr<audio::Output> OpenAudioDevice() {
    try {
        return std::make_unique<audio::PortAudioOutput>();
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::unique_ptr<audio::Engine> StartAudioEngine(Reporter& reporter) {
    return StartAudioEngine(reporter, OpenAudioDevice());
}

std::unique_ptr<audio::Engine> StartAudioEngine(Reporter& reporter,
                                                std::unique_ptr<audio::Output> device) {
    std::unique_ptr<audio::Engine> engine;
    if (device) {
        try {
            engine = std::make_unique<audio::Engine>(std::move(device));
        } catch (const std::exception&) {
            // A device that opened but does not start is no better than none.
        }
    }
    if (!engine) {
        engine = std::make_unique<audio::Engine>(std::make_unique<audio::NullOutput>());
        reporter.show(kNoAudioDevice, kAppTitle, Icon::Exclamation);
    }
    engine->setOutputLostListener([&reporter] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [&reporter] { reporter.show(kAudioDeviceLost, kAppTitle, Icon::Exclamation); },
            Qt::QueuedConnection);
    });
    return engine;
}

PendingAudioEngine::PendingAudioEngine(Reporter& reporter, DeviceSearch search)
    : reporter_(reporter) {
    device_ = std::async(std::launch::async, [this, search = std::move(search)] {
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
    if (!engine_)
        engine_ = StartAudioEngine(*this, device_.get());
    return *engine_;
}

void PendingAudioEngine::show(const QString& text, const QString& title, Icon icon) {
    QMetaObject::invokeMethod(
        this, [this, text, title, icon] { reporter_.show(text, title, icon); },
        Qt::QueuedConnection);
}

} // namespace velmor
