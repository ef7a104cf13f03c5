#include "app/Application.h"
#include "app/FontConfiguration.h"
#include "app/Main.h"
#include "app/MainLayout.h"
#include "common/ScaledStyle.h"
#include "controllers/Mappings.h"
#include "deck/player/EngineOutputs.h"
#include "deck/player/EnginePlayer.h"
#include "deck/player/JingleSlots.h"
#include "deck/player/StartAudioEngine.h"
#include "library/LibraryDatabase.h"
#include "library/MusicFolders.h"

#include <QScopeGuard>
#include <QTimer>
#include <malloc.h>

int main(int argc, char** argv) {
    // The program's threads share two heaps instead of one each (glibc's default is up to
    // eight a core): each heap keeps its own free memory, 0.6 MB in all with four decks
    // playing. The audio callback never allocates, so it never waits for one.
    mallopt(M_ARENA_MAX, 2);
    velmor::FontConfigurationReader fonts; // meanwhile Qt starts
    velmor::Application app(argc, argv);
    velmor::Application::setStyle(new velmor::ScaledStyle);
    velmor::Application::setFont(velmor::WindowFont());
    velmor::Application::setApplicationName("Velmor");
    velmor::Application::setApplicationVersion(velmor::Main::Version());

    // The reporter outlives the engine, and the engine the players in the window.
    velmor::MessageBoxReporter reporter;
    app.setReporter(&reporter);
    // Finding the sound card takes PortAudio longer than building the window takes Qt: the
    // window is shown meanwhile, and the engine starts when the card is found.
    const QString setupFile = velmor::AudioSetupFile();
    const velmor::AudioSetup setup = velmor::ReadAudioSetup(setupFile);
    // The card the set-up keeps, or the default card while it is not there.
    const velmor::KeptCard mainCard = velmor::KeptMainCard(setup);
    const velmor::audio::DeviceOpener mainDevice = mainCard.opener();
    velmor::PendingAudioEngine audio(
        reporter,
        [mainDevice]() -> std::unique_ptr<velmor::audio::Output> {
            try {
                return mainDevice(0);
            } catch (const std::exception&) {
                return nullptr; // told once the engine plays silently
            }
        },
        mainDevice);
    velmor::EngineOutputs outputs(
        setup, [&audio]() -> velmor::audio::Engine& { return audio.engine(); }, reporter, mainCard);
    audio.setStartedListener([&outputs](velmor::audio::Engine& engine) { outputs.attach(engine); });

    velmor::MainOptions options;
    options.reporter = &reporter;
    options.outputs = &outputs;
    options.audioSetupFile = setupFile;
    options.sessionFolder = velmor::SessionFolder();
    options.engine = [&audio]() -> velmor::audio::Engine& { return audio.engine(); };
    options.createPlayer = [&](int deck, QObject* parent) {
        auto* player = new velmor::EnginePlayer(
            [&audio]() -> velmor::audio::Engine& { return audio.engine(); }, deck, parent);
        // Each track plays by what the window knows of it (the window is the parent).
        if (auto* window = qobject_cast<velmor::Main*>(parent))
            player->setPlanner([window](const QString& path, std::optional<double> tagged) {
                return window->knownTracks.plan(path, tagged);
            });
        return player;
    };
    // The meter waits for the engine rather than holding up the window for the sound card.
    velmor::MasterLevelsReader master(
        [&audio] { return audio.started() ? &audio.engine() : nullptr; });
    options.masterLevels = [&master] { return master.take(); };
    options.recorder = [&audio]() -> velmor::audio::MasterRecorder* {
        return audio.started() ? &audio.engine().recorder() : nullptr;
    };
    // For the window's benchmark only: the window without its meters and overviews.
    options.liveDisplay = qEnvironmentVariableIsEmpty("VELMOR_BENCH_PLAIN_WINDOW");
    fonts.wait();
    velmor::Main window(options);
    // From here on notices show inside the window, and a failure no handler trapped is told
    // by the window's rule too.
    reporter.setNoticeBar(window.ui.lblNotice);
    app.setReporter(&window.reporter);
    const auto windowGoesFirst = qScopeGuard([&] { app.setReporter(&reporter); });
    if (!window.Form_Load())
        return 1;
    window.show();
    // Once the window is up: the last evening is read (and the question asked), the
    // controllers are looked for, then the library opens and rescans; the evening's history
    // is kept in its database once it has been checked.
    QTimer::singleShot(0, &window, [&window] { window.session.RestoreLastEvening(); });
    QTimer::singleShot(0, &window, [&window, setupFile] {
        window.controllers.start(velmor::ControllersFolder(), setupFile);
    });
    QTimer::singleShot(0, &window, [&window] {
        window.library.start(velmor::LibraryDatabase::DefaultPath(), velmor::MusicFoldersFile());
        window.jingles.keepIn(velmor::JingleSlotsFile()); // read at the engine's rate
    });
    return app.exec();
}
