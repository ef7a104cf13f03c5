#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace velmor {

class Main;

// The list-save panel that writes the active deck's playlist as an M3U file. It lies
// behind the folder list, which uncovers it by growing shorter.
class SavePanel {
public:
    explicit SavePanel(Main& window) : w_(window) {}
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
    Main& w_;
};

// A name the file system takes on every platform: none of \ / : * ? " < > |.
bool IsValidListName(const QString& name);

} // namespace velmor
