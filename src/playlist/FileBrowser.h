#pragma once

#include <QString>

namespace velmor {

class Main;

// The drive, folder and file lists, and adding tracks to the active deck.
class FileBrowser {
public:
    explicit FileBrowser(Main& window) : w_(window) {}
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

    // Appends the tracks of the M3U file `name` in the folder list's folder to the active
    // deck's playlist.
    void AddM3UTracks(const QString& name);
    // Opens playlist entry `entry` of deck d, or the first playable one after it, in its
    // player unless the deck is playing.
    void LoadUnlessPlaying(int d, int entry);

private:
    void openOn(const QString& path);
    Main& w_;
};

} // namespace velmor
