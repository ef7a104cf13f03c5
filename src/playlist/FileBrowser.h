#pragma once

#include "common/Paths.h"
#include "playlist/EntryChecks.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace velmor {

struct WindowContext;
class Playlists;
class DeckActivation;

// The drive, folder and file lists, and adding tracks to the active deck.
class FileBrowser {
public:
    FileBrowser(WindowContext& window, Playlists& playlists, DeckActivation& activation)
        : w_(window), playlists_(playlists), activation_(activation) {}
    // Connects the controls' events to the handlers below and opens the browser on the
    // process's current folder.
    void wire();

    void drv_Change();
    // The user chose another folder in the folder list.
    void dir_Choose(const QString& path);
    void dir_Change();
    void fil_DblClick() { cmdOK_Click(); }
    void fil_MouseUp(Qt::MouseButton button);
    void cmdOK_Click();
    void cmdOKCarpeta_Click();

    // Files, folders and playlists dropped from a file manager onto deck d's list: added to
    // that deck in the drop's order, a folder as "Add Folder" adds it, a playlist as "Add".
    void lstPlay_OLEDragDrop(int d, const QStringList& paths);
    // A folder dropped onto the folder list opens there (a file, the folder it lies in).
    void dir_OLEDragDrop(const QStringList& paths);

    // Opens playlist entry `entry` of deck d, or the first playable one after it, in its
    // player unless the deck is playing.
    void LoadUnlessPlaying(int d, int entry);

    // Appends `files` (tracks and playlist files) to deck d, then loads the first entry
    // into a deck that never had a file.
    void addAndLoad(int d, const QList<Track>& files);

    // Where the entries of playlist files are looked up on the disk.
    EntryChecks& entryChecks() { return checks_; }

private:
    void openOn(const QString& path);
    void addList(int d, const Track& file);
    WindowContext& w_;
    Playlists& playlists_;
    DeckActivation& activation_;
    EntryChecks checks_;
};

} // namespace velmor
