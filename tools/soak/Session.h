#pragma once

#include "app/Main.h"
#include "soak/WatchedPlayer.h"

#include <QElapsedTimer>
#include <QStringList>
#include <array>
#include <random>
#include <vector>

class QAbstractButton;

namespace velmor::soak {

struct Settings {
    int seconds = 40;         // of random presses; an hour by hand
    unsigned seed = 1;        // the same seed gives the same sequence of presses
    int tracks = 50;          // per deck
    int finishSeconds = 20;   // after the presses, for every deck to reach the end of its list
    int libraryFiles = 20000; // in the music library scanned meanwhile; 0 for no library
};

// One deck's run: its passes through the playlist and where it stands.
struct DeckRun {
    std::vector<std::vector<int>> rounds; // entries opened (1-based), one list per pass
    bool finished = false;                // the current pass played its last entry to the end
    std::vector<double> passSeconds;      // how long each finished pass took
    qint64 idleSince = -1;                // when the deck was first seen not playing
    qint64 patience = 0;                  // how long the DJ lets it rest
    qint64 roundStarted = 0;
    QStringList failures;
};

// A DJ at the real window: presses keys and buttons at random (fades, crossfader, mutes,
// play/pause, speeds), but keeps every deck going so that each list plays through to its
// end, again and again while the time lasts.
class Session {
public:
    Session(Main& window, const std::array<WatchedPlayer*, kDecks>& players,
            const Settings& settings);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Adds each deck's folder with "Add Folder".
    void fillDecks(const std::array<QString, kDecks>& folders);
    // Starts the decks, plays the session out and judges the passes. False when the decks
    // did not all finish within the time allowed.
    bool run();

    const DeckRun& deck(int d) const { return decks_[d]; }
    long settledKb() const { return settledKb_; }
    int presses() const { return presses_; }
    int clicks() const { return clicks_; }

private:
    void tick();
    void randomAction();
    void keepGoing(int d);
    void windDown();
    bool allFinished() const;
    void startRound(int d);
    void judgeRound(int d);
    int entryOf(int d, const QString& path) const;
    void press(char key);
    void click(QAbstractButton* button);
    int uniform(int from, int to);

    Main& w_;
    std::array<WatchedPlayer*, kDecks> players_;
    Settings settings_;
    std::mt19937 random_;
    std::array<DeckRun, kDecks> decks_;
    QElapsedTimer clock_;
    qint64 now_ = 0;
    bool windingDown_ = false;
    long settledKb_ = -1;
    int presses_ = 0, clicks_ = 0;
};

} // namespace velmor::soak
