#pragma once

#include "app/JinglesWindow.h"
#include "common/MeterBallistics.h"
#include "deck/player/AudioSetup.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <array>

namespace velmor {

class Main;

// What cuts into the music at an event: the voice over it (the main mix dipped, its light in
// the window and its depth kept with the audio set-up), the jingles and their window.
class Announcements {
public:
    explicit Announcements(Main& window) : w_(window) {}
    ~Announcements();
    // The light's click, and the display's look at the jingles.
    void wire();
    // Where the depth of the dip is kept ("" keeps it nowhere).
    void keepIn(const QString& audioSetupFile);

    // The music dipped, or back.
    void cmdDuck_Click();
    bool ducked() const { return ducked_; }
    int duckDepth() const { return depth_; }
    void setDuckDepth(int db);

    // The slot plays, or stops while it plays.
    void cmdJingle_Click(int slot);
    void showJingles();
    FrmJingles* frmJingles() const { return frm_; }

private:
    void jingleDropped(int slot, const QString& path);
    void showSlot(int slot);
    void showPlaying();

    Main& w_;
    QPointer<FrmJingles> frm_;
    bool ducked_ = false;
    int depth_ = kDefaultDuckDb;
    QString file_;
    std::array<bool, FrmJingles::kSlots> lit_{};
    MeterBallistics meter_;
    QElapsedTimer clock_;
};

} // namespace velmor
