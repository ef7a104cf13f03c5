#include "app/Main.h"
#include "app/Application.h"
#include "deck/player/SilentPlayer.h"

int main(int argc, char** argv) {
    velmor::Application app(argc, argv);
    velmor::Application::setStyle("Fusion");
    velmor::Application::setApplicationName("Velmor");
    velmor::Application::setApplicationVersion(velmor::Main::Version());

    velmor::MessageBoxReporter reporter;
    app.setReporter(&reporter);
    velmor::MainOptions options;
    options.reporter = &reporter;
    options.createPlayer = [](int, QObject* parent) { return new velmor::SilentPlayer(parent); };

    velmor::Main window(options);
    if (!window.Form_Load())
        return 1;
    window.show();
    return app.exec();
}
