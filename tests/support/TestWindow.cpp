#include "support/TestWindow.h"

namespace velmor::test {

TestWindow::TestWindow(int screenHeightTwips, bool load,
                       const std::function<void(MainOptions&)>& more) {
    MainOptions options;
    options.reporter = &reporter;
    options.screenHeightTwips = screenHeightTwips;
    options.createPlayer = [this](int deck, QObject* parent) {
        players[deck] = new FakePlayer(parent);
        return players[deck];
    };
    if (more)
        more(options);
    window = std::make_unique<Main>(options);
    if (load)
        loaded = window->Form_Load();
}

void TestWindow::fill(int d, const QStringList& names, const QString& folder) {
    for (const QString& name : names)
        window->playlists.list(d).append(name, folder);
    open(d, folder + "/" + names.first());
}

void TestWindow::playPause(int d) {
    window->panels[d]->cmdPlayPause_Click();
    DeliverNotifications();
}

void TestWindow::open(int d, const QString& path) {
    player(d).setFileName(path);
    DeliverNotifications();
}

} // namespace velmor::test
