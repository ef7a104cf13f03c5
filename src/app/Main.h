#pragma once

#include "analysis/KnownTracks.h"
#include "analysis/TagReading.h"
#include "analysis/TrackAnalyser.h"
#include "app/Actions.h"
#include "app/Announcements.h"
#include "app/AudioSetupWindow.h"
#include "app/Controllers.h"
#include "app/EveningClock.h"
#include "app/EveningSession.h"
#include "app/Help.h"
#include "app/MusicLibrary.h"
#include "app/Recording.h"
#include "app/Shortcuts.h"
#include "app/UnheardDecks.h"
#include "app/WindowReporter.h"
#include "deck/Deck.h"
#include "deck/DeckPanel.h"
#include "deck/Headphones.h"
#include "deck/LevelMeters.h"
#include "deck/TrackOverview.h"
#include "deck/WindowContext.h"
#include "deck/player/JingleBank.h"
#include "deck/player/MasterLevels.h"
#include "deck/player/MediaPlayer.h"
#include "history/EveningHistory.h"
#include "mix/Crossfader.h"
#include "mix/Fades.h"
#include "mix/Panic.h"
#include "playlist/DeckActivation.h"
#include "playlist/FileBrowser.h"
#include "playlist/Playlists.h"
#include "playlist/SavePanel.h"

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace velmor {

struct MainOptions {
    // Makes the media player of one deck; the window owns what it returns.
    std::function<MediaPlayer*(int deck, QObject* parent)> createPlayer;
    // The program's reporter; the window tells its failures through it, as boxes or notices.
    Reporter* reporter = nullptr;
    // The screen's height in twips; the primary screen's when not given.
    std::optional<int> screenHeightTwips;
    // The sound cards' set-up and the headphones; without them the set-up cannot be opened.
    AudioOutputs* outputs = nullptr;
    // Where the audio set-up is kept, and the folder of the evening's session; "" for none.
    QString audioSetupFile;
    QString sessionFolder;
    // The master's levels for its meter; silence when not given.
    std::function<MasterLevels()> masterLevels;
    // False for benchmarks only: the window as it was before its meters and overviews.
    bool liveDisplay = true;
    // The clock the evening's history, its clock and its recordings are kept by; the
    // system's when not given.
    std::function<QDateTime()> clock;
    // The recorder of the main output, none while there is no engine; and the folder the
    // recordings go to ("": RecordingFolder()).
    Recording::Recorder recorder;
    QString recordingFolder;
    // The engine, for the voice over the music and the jingles; without it (fake players)
    // they only show.
    std::function<audio::Engine&()> engine;
};

// The main window: four decks, the crossfader, the playlists and the file browser. It
// builds the controls, hands their events to the rooms' handlers and runs start-up. The rooms
// see the window only through its narrow context; the commands they give one another pass
// through here.
class Main : public QWidget, private DeckCommands, private DeckLists {
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

    // What is known of the evening's tracks (their looks and tags), and how they are evened out.
    KnownTracks knownTracks;
    // Reads the tags of every entry the lists are given, for knownTracks.
    TagReading tagReading{knownTracks};
    Controls ui;
    Players pla{};
    WindowReporter reporter;
    Decks decks{}; // made with the players, owned by the window
    // Each deck's frame, showing its deck and giving it the user's orders.
    std::array<std::unique_ptr<DeckPanel>, kDecks> panels;
    AudioOutputs* outputs = nullptr; // the sound card's and the headphones' set-up
    std::function<MasterLevels()> masterLevels;
    std::function<audio::Engine&()> engine; // empty on fake players
    // The twelve jingle slots.
    JingleBank jingles{engine, reporter};

private:
    WindowContext context_{ui, pla, decks, reporter, *this, *this};

public:
    DeckActivation activation{context_};
    Playlists playlists{context_, activation};
    FileBrowser browser{context_, playlists, activation};
    SavePanel savePanel{context_, playlists, activation};
    Fades fades{context_};
    Crossfader crossfader{context_};
    Panic panic{context_, fades, jingles};
    LevelMeters meters{context_, masterLevels};
    // Works out the decks' track overviews, which each deck's overview shows.
    TrackAnalyser trackAnalyser{knownTracks};
    std::array<std::unique_ptr<TrackOverview>, kDecks> overviews;
    Shortcuts shortcuts{*this};
    Help help{*this};
    Headphones headphones{context_, outputs};
    AudioSetupWindow audioSetup{*this};
    // The voice over the music and the jingles' window.
    Announcements announcements{*this};
    // The music library and its window (`l`, Ctrl+F).
    MusicLibrary library{*this};
    EveningSession session{*this};
    // The time of day and when the decks end; a deck that plays unheard; the recording.
    EveningClock eveningClock;
    UnheardDecks unheard;
    Recording recording;
    // The MIDI controllers, mapped onto the actions below; started by the program.
    Controllers controllers{*this};
    // Every action a person can trigger, calling the handlers above.
    ActionTable actions;
    // What the decks played tonight: written to the history, marked in the lists.
    std::unique_ptr<EveningHistory> history;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void cmdStop_Click(int d) override { panels[d]->cmdStop_Click(); }
    void StopWithoutMovingOn(int d) override { decks[d]->stop(StopReason::User); }
    int ActiveDeck() const override { return activation.ActiveDeck(); }
    DeckEntries& list(int d) override { return playlists.list(d); }

    void keepHistory(const MainOptions& options);
    void setClientHeight(int twips);
    void layOut();
    int screenHeightTwips_;
    QWidget* stage_ = nullptr;
    int designHeight_ = kExpandedHeight;
    double scale_ = 1.0;
};

} // namespace velmor
