#include "app/Main.h"
#include "app/Application.h"
#include "deck/player/EnginePlayer.h"
#include "deck/player/StartAudioEngine.h"

#include <future>

int main(int argc, char** argv) {
    // Finding the sound card takes PortAudio longer than building the window takes Qt: it
    // happens meanwhile, and the first player waits for it.
    std::future<std::unique_ptr<velmor::audio::Output>> device =
        std::async(std::launch::async, velmor::OpenAudioDevice);
    velmor::Application app(argc, argv);
    velmor::Application::setStyle("Fusion");
    velmor::Application::setApplicationName("Velmor");
    velmor::Application::setApplicationVersion(velmor::Main::Version());

    // The reporter outlives the engine, and the engine the players in the window.
    velmor::MessageBoxReporter reporter;
    app.setReporter(&reporter);
    std::unique_ptr<velmor::audio::Engine> engine;

    velmor::MainOptions options;
    options.reporter = &reporter;
    options.createPlayer = [&](int deck, QObject* parent) {
        if (!engine)
            engine = velmor::StartAudioEngine(reporter, device.get());
        return new velmor::EnginePlayer(*engine, deck, parent);
    };
    velmor::Main window(options);
    if (!window.Form_Load())
        return 1;
    window.show();
    return app.exec();
}
