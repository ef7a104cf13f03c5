#include "deck/player/StartAudioEngine.h"

#include "audio/NullOutput.h"
#include "audio/PortAudioOutput.h"
#include "common/Reporter.h"

#include <QCoreApplication>

namespace velmor {

std::unique_ptr<audio::Engine> StartAudioEngine(Reporter& reporter) {
    std::unique_ptr<audio::Engine> engine;
    try {
        engine = std::make_unique<audio::Engine>(std::make_unique<audio::PortAudioOutput>());
    } catch (const std::exception&) {
        engine = std::make_unique<audio::Engine>(std::make_unique<audio::NullOutput>());
        reporter.show(kNoAudioDevice, kAppTitle, Icon::Exclamation);
    }
    engine->setOutputLostListener([&reporter] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [&reporter] { reporter.show(kNoAudioDevice, kAppTitle, Icon::Exclamation); },
            Qt::QueuedConnection);
    });
    return engine;
}

} // namespace velmor
