#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace velmor {

struct WindowContext;
class Playlists;
class DeckActivation;

// The list-save panel that writes the active deck's playlist as an M3U file. It lies
// behind the folder list, which uncovers it by growing shorter.
class SavePanel {
public:
    SavePanel(WindowContext& window, Playlists& playlists, DeckActivation& activation)
        : w_(window), playlists_(playlists), activation_(activation) {}
    // Connects the controls' events to the handlers below.
    void wire();

    void cmdGuardarComo_Click();
    void cmdGuardar_Click();
    void Command1_Click();
    void txtNomArch_Click();

    // Heights of the folder list in twips: the panel open, after a save, and closed.
    static constexpr int kDirOpen = 1215;
    static constexpr int kDirSaved = 1890;
    static constexpr int kDirClosed = 2115;

private:
    // The controls locked while the panel is open, in the order they are locked.
    QList<QWidget*> lockedWhileOpen() const;
    void setLocked(bool locked);
    void setDirHeight(int twips);
    WindowContext& w_;
    Playlists& playlists_;
    DeckActivation& activation_;
};

// A name the file system takes on every platform: none of \ / : * ? " < > |.
bool IsValidListName(const QString& name);

} // namespace velmor
