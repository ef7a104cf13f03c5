#include "playlist/Playlists.h"

#include "common/AutoFocus.h"
#include "common/BrowserLists.h"
#include "common/EventHooks.h"
#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/Deck.h"
#include "deck/WindowContext.h"
#include "deck/player/MediaPlayer.h"
#include "legacy/Error.h"
#include "playlist/DeckActivation.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace velmor {

Playlists::Playlists(WindowContext& window, DeckActivation& activation)
    : w_(window), activation_(activation) {
    for (auto& list : lists_)
        list = std::make_unique<DeckPlaylist>();
}
Playlists::~Playlists() = default;

void Playlists::wire() {
    Controls& ui = w_.ui;
    for (int d = 0; d < kDecks; ++d) {
        QListView* lst = ui.lstPlay[d];
        lst->setModel(lists_[d].get());
        lists_[d]->setLooks(lst->palette());
        // Every row has the same height: long lists lay out without measuring each entry.
        lst->setUniformItemSizes(true);
        QObject::connect(lst, &QAbstractItemView::doubleClicked,
                         [this, d] { lstPlay_DblClick(d); });
        // The right button must not move the selection or the current entry: the list
        // never sees it.
        auto rightButton = [](QEvent* event) {
            return static_cast<QMouseEvent*>(event)->button() == Qt::RightButton;
        };
        for (QEvent::Type press : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick})
            OnEvent(lst->viewport(), press, [this, d, rightButton](QEvent* event) {
                if (!rightButton(event))
                    return false;
                lstPlay_MouseDown(d, Qt::RightButton);
                return true;
            });
        OnEvent(lst->viewport(), QEvent::MouseButtonRelease, [this, d, rightButton](QEvent* e) {
            if (!rightButton(e))
                return false;
            lstPlay_MouseUp(d, Qt::RightButton);
            return true;
        });
        FocusOnMouseOver(lst, ui.chkFocus);
        OnEvent(lst, QEvent::KeyPress, [this, d](QEvent* event) {
            lstPlay_KeyDown(d, static_cast<QKeyEvent*>(event)->key());
            return false;
        });
    }
    QObject::connect(ui.cmdBorrar, &QPushButton::clicked, [this] { cmdBorrar_Click(); });
    QObject::connect(ui.cmdBorrarTodo, &QPushButton::clicked, [this] { cmdBorrarTodo_Click(); });
}

std::optional<int> Playlists::openCurrentEntry(int d) {
    const int k = w_.ui.lstPlay[d]->currentIndex().row();
    if (k < 0)
        throw Error(QStringLiteral("No entry of the playlist is chosen"));
    // The chosen entry is tried even when marked (its file may be back); when it will not
    // play, the deck takes the next playable entry after it.
    return w_.decks[d]->load(k, +1, Deck::Start::Retry);
}

void Playlists::lstPlay_DblClick(int d) {
    trapped(w_.reporter, [&] {
        // The deck stops without moving on to the entry after the loaded one, which the
        // chosen entry replaces at once: the stopped notification must not try it first.
        w_.commands.StopWithoutMovingOn(d);
        if (openCurrentEntry(d))
            w_.pla[d]->Play();
    });
}

void Playlists::lstPlay_MouseDown(int d, Qt::MouseButton button) {
    if (button == Qt::RightButton)
        w_.commands.cmdStop_Click(d);
}

void Playlists::lstPlay_MouseUp(int d, Qt::MouseButton button) {
    if (button == Qt::RightButton)
        trapped(w_.reporter, [&] { openCurrentEntry(d); });
}

void Playlists::lstPlay_KeyDown(int, int key) {
    // Delete acts on the active deck's list, which is the one in front.
    if (key == Qt::Key_Delete)
        cmdBorrar_Click();
}

void Playlists::cmdBorrar_Click() {
    const int d = activation_.ActiveDeck();
    list(d).remove(SelectedRows(w_.ui.lstPlay[d]));
}

void Playlists::cmdBorrarTodo_Click() {
    w_.ui.lstPlay[activation_.ActiveDeck()]->selectAll();
    cmdBorrar_Click();
}

} // namespace velmor
