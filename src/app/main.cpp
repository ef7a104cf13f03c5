#include "app/Main.h"
#include "app/Application.h"
#include "deck/player/EnginePlayer.h"
#include "deck/player/StartAudioEngine.h"

int main(int argc, char** argv) {
    velmor::Application app(argc, argv);
    velmor::Application::setStyle("Fusion");
    velmor::Application::setApplicationName("Velmor");
    velmor::Application::setApplicationVersion(velmor::Main::Version());

    // The reporter outlives the engine, and the engine the players in the window.
    velmor::MessageBoxReporter reporter;
    app.setReporter(&reporter);
    std::unique_ptr<velmor::audio::Engine> engine = velmor::StartAudioEngine(reporter);

    velmor::MainOptions options;
    options.reporter = &reporter;
    options.createPlayer = [&engine](int deck, QObject* parent) {
        return new velmor::EnginePlayer(*engine, deck, parent);
    };
    velmor::Main window(options);
    if (!window.Form_Load())
        return 1;
    window.show();
    return app.exec();
}
