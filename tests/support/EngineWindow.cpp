#include "support/EngineWindow.h"

#include "deck/player/EnginePlayer.h"
#include "playlist/DeckPlaylist.h"
#include "support/FakePlayer.h"

#include <QDir>

namespace velmor::test {

EngineWindow::EngineWindow(int rate, int bufferFrames,
                           const std::function<void(MainOptions&)>& more) {
    auto output = std::make_unique<audio::OfflineOutput>(rate, bufferFrames);
    driver = output.get();
    engine = std::make_unique<audio::Engine>(std::move(output));
    MainOptions options;
    options.reporter = &reporter;
    options.screenHeightTwips = 11520;
    options.createPlayer = [this](int deck, QObject* parent) {
        return new EnginePlayer(*engine, deck, parent);
    };
    options.masterLevels = [this] { return master.take(); };
    options.engine = [this]() -> audio::Engine& { return *engine; };
    options.recorder = [this] { return &engine->recorder(); };
    if (more)
        more(options);
    window = std::make_unique<Main>(options);
    loaded = window->Form_Load();
}

void EngineWindow::fill(int d, const QStringList& names, const QString& folder) {
    const QString native = QDir::toNativeSeparators(folder);
    for (const QString& name : names)
        window->playlists.list(d).append(name, native);
    window->pla[d]->setFileName(window->playlists.list(d).fullPath(0));
    DeliverNotifications();
}

} // namespace velmor::test
