#pragma once

#include "app/Controls.h"
#include "app/Help.h"
#include "app/Shortcuts.h"
#include "app/WindowReporter.h"
#include "deck/DeckState.h"
#include "deck/DeckVolume.h"
#include "deck/EntryLoader.h"
#include "deck/LevelMeters.h"
#include "deck/PlayerEvents.h"
#include "deck/PositionDisplay.h"
#include "deck/TrackNavigation.h"
#include "deck/TrackOverview.h"
#include "deck/Transport.h"
#include "deck/player/MasterLevels.h"
#include "deck/player/MediaPlayer.h"
#include "mix/Crossfader.h"
#include "mix/Fades.h"
#include "playlist/DeckActivation.h"
#include "playlist/FileBrowser.h"
#include "playlist/Playlists.h"
#include "playlist/SavePanel.h"

#include <QWidget>
#include <array>
#include <functional>
#include <optional>

namespace velmor {

struct MainOptions {
    // Makes the media player of one deck; the window owns what it returns.
    std::function<MediaPlayer*(int deck, QObject* parent)> createPlayer;
    // The program's reporter; the window tells its failures through it, as boxes or notices.
    Reporter* reporter = nullptr;
    // The screen's height in twips; the primary screen's when not given.
    std::optional<int> screenHeightTwips;
    // The master's levels for its meter; silence when not given.
    std::function<MasterLevels()> masterLevels;
    // False for benchmarks only: the window as it was before its meters and overviews.
    bool liveDisplay = true;
};

// The main window: four decks, the crossfader, the playlists and the file browser. It
// builds the controls, hands their events to the rooms' handlers and runs start-up.
class Main : public QWidget {
    Q_OBJECT
public:
    explicit Main(const MainOptions& options);
    ~Main() override;

    // Start-up. Returns false when the program must end (the screen is too small).
    bool Form_Load();
    void cmdExpandir_Click();
    void Form_KeyPress(int keyAscii);
    // Closing the window while decks play asks first. Returns true to keep the window open.
    bool Form_QueryUnload();
    bool AnyDeckPlays() const;

    static QString Version();
    // The scale of the window's controls at a size: the largest at which the design of the
    // given height fits, never below the design size.
    static double ScaleFor(QSize size, int designHeightTwips);
    double Scale() const { return scale_; }
    // The window's font at its design size, for windows of their own that do not scale.
    QFont DesignFont() const;

    // Client heights of the two window states, in twips.
    static constexpr int kExpandedHeight = 7440;
    static constexpr int kCompressedHeight = 4290;
    static constexpr int kWidth = 11235;

    Controls ui;
    std::array<MediaPlayer*, kDecks> pla{};
    WindowReporter reporter;
    DeckState decks;
    std::function<MasterLevels()> masterLevels;

    Transport transport{*this};
    DeckVolume volume{*this};
    PositionDisplay position{*this};
    EntryLoader loader{*this};
    PlayerEvents events{*this};
    TrackNavigation navigation{*this};
    DeckActivation activation{*this};
    Playlists playlists{*this};
    FileBrowser browser{*this};
    SavePanel savePanel{*this};
    Fades fades{*this};
    Crossfader crossfader{*this};
    LevelMeters meters{*this};
    TrackOverview overview{*this};
    Shortcuts shortcuts{*this};
    Help help{*this};

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void setClientHeight(int twips);
    void layOut();
    int screenHeightTwips_;
    QWidget* stage_ = nullptr;
    int designHeight_ = kExpandedHeight;
    double scale_ = 1.0;
};

} // namespace velmor
