#include "soak/Session.h"

#include "common/Widgets.h"
#include "soak/Verdict.h"

#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cctype>
#include <string_view>

namespace velmor::soak {

namespace {
constexpr int kTickMs = 100;
constexpr int kActionPercent = 35; // of ticks that press or click something
// The keys, a letter per deck (Deck 1 first) and then the digits for two decks at once.
constexpr std::string_view kFadeKeys = "qatg1234";
constexpr std::string_view kPlayPauseKeys = "wsyh5678";
constexpr std::string_view kMuteKeys = "rfik";
constexpr std::string_view kCrossfaderKeys = "zxc";
constexpr std::string_view kPrelistenKeys = "bnm,";
} // namespace

Session::Session(Main& window, const std::array<WatchedPlayer*, kDecks>& players,
                 const Settings& settings)
    : w_(window), players_(players), settings_(settings), random_(settings.seed) {
    for (int d = 0; d < kDecks; ++d) {
        decks_[d].rounds.emplace_back();
        players_[d]->opened = [this, d](const QString& path) {
            decks_[d].rounds.back().push_back(entryOf(d, path));
        };
        players_[d]->ended = [this, d](const QString& path) {
            DeckRun& run = decks_[d];
            if (entryOf(d, path) != settings_.tracks)
                return;
            if (!run.finished)
                run.passSeconds.push_back((clock_.elapsed() - run.roundStarted) / 1000.0);
            run.finished = true;
        };
    }
}

Session::~Session() {
    for (WatchedPlayer* player : players_)
        player->opened = player->ended = nullptr;
}

int Session::entryOf(int d, const QString& path) const {
    const DeckPlaylist& list = w_.playlists.list(d);
    for (int i = 0; i < list.count(); ++i)
        if (list.fullPath(i) == path)
            return i + 1;
    return 0;
}

int Session::uniform(int from, int to) {
    return std::uniform_int_distribution<int>(from, to)(random_);
}

void Session::press(char key) {
    // Through the window, as the platform delivers it: to the control with the focus.
    QTest::keyClick(w_.windowHandle(), key);
    ++presses_;
}

void Session::click(QAbstractButton* button) {
    if (!button->isEnabled())
        return;
    QTest::mouseClick(button, Qt::LeftButton);
    ++clicks_;
}

void Session::fillDecks(const std::array<QString, kDecks>& folders) {
    for (int d = 0; d < kDecks; ++d) {
        w_.browser.dir_Choose(folders[d]);
        click(w_.ui.optPla[d]);
        click(w_.ui.cmdOKCarpeta);
        QCoreApplication::processEvents();
    }
}

bool Session::run() {
    clock_.start();
    for (int d = 0; d < kDecks; ++d)
        click(w_.ui.cmdUltraPlay[d]);
    press('5'); // Decks 1 and 2
    press('7'); // Decks 3 and 4

    QEventLoop loop;
    QTimer ticker;
    bool inTime = true;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        tick();
        const qint64 limit = 1000LL * (settings_.seconds + settings_.finishSeconds);
        if ((windingDown_ && allFinished()) || now_ > limit) {
            inTime = now_ <= limit;
            loop.quit();
        }
    });
    ticker.start(kTickMs);
    loop.exec();
    for (int d = 0; d < kDecks; ++d)
        judgeRound(d);
    return inTime;
}

void Session::tick() {
    now_ = clock_.elapsed();
    const qint64 phaseEnd = 1000LL * settings_.seconds;
    // Once things have settled: after the first minute, or the first third of a short run.
    if (settledKb_ < 0 && now_ >= std::min<qint64>(60000, phaseEnd / 3))
        settledKb_ = ResidentKb();
    if (now_ < phaseEnd) {
        if (uniform(1, 100) <= kActionPercent)
            randomAction();
    } else if (!windingDown_) {
        windDown();
    }
    for (int d = 0; d < kDecks; ++d)
        keepGoing(d);
}

void Session::randomAction() {
    const int what = uniform(1, 100);
    auto any = [this](std::string_view keys) {
        return keys[uniform(0, static_cast<int>(keys.size()) - 1)];
    };
    char key = 0;
    if (what <= 17)
        key = any(kFadeKeys);
    else if (what <= 28)
        key = any(kCrossfaderKeys);
    else if (what <= 39)
        key = any(kMuteKeys);
    else if (what <= 55)
        key = any(kPlayPauseKeys);
    else if (what <= 59)
        key = any(kPrelistenKeys);
    if (key) {
        // Letters in either case act the same.
        press(std::isalpha(key) && uniform(1, 5) == 1 ? static_cast<char>(std::toupper(key)) : key);
        return;
    }
    const int d = uniform(0, kDecks - 1);
    if (what <= 94) {
        // Mostly fast, so that the lists go by quickly.
        const int speed = uniform(1, 100);
        const Controls& ui = w_.ui;
        click(speed <= 45   ? ui.cmdUltraPlay[d]
              : speed <= 80 ? ui.cmdFastPlay[d]
              : speed <= 95 ? ui.cmdNormalPlay[d]
                            : ui.cmdSlowPlay[d]);
    } else {
        click(w_.ui.chkInOrOut[d]); // the next fade of this deck goes the other way
    }
}

// The DJ lets a deck rest a little, then plays it on; a deck at the end of its list starts
// it again while there is time for another pass.
void Session::keepGoing(int d) {
    DeckRun& run = decks_[d];
    const int state = players_[d]->PlayState();
    const bool resting = run.finished && state == MediaPlayer::Stopped;
    // Another pass only if it can end before the presses do, judging by this one.
    const bool timeForAnother =
        !windingDown_ && 2 * now_ - run.roundStarted < 1000LL * settings_.seconds;
    if (windingDown_ && players_[d]->Mute())
        press(kMuteKeys[d]);
    if (state == MediaPlayer::Playing || (resting && !timeForAnother)) {
        run.idleSince = -1;
        return;
    }
    if (run.idleSince < 0) {
        run.idleSince = now_;
        run.patience = windingDown_ ? 200 : uniform(500, 3000);
        return;
    }
    if (now_ - run.idleSince < run.patience)
        return;
    run.idleSince = -1;
    if (resting)
        startRound(d);
    else
        press(kPlayPauseKeys[d]);
}

// The presses are over: every deck at full speed to play its list out (and, in keepGoing,
// unmuted).
void Session::windDown() {
    windingDown_ = true;
    for (int d = 0; d < kDecks; ++d)
        click(w_.ui.cmdUltraPlay[d]);
}

bool Session::allFinished() const {
    for (int d = 0; d < kDecks; ++d) {
        const DeckRun& run = decks_[d];
        if (!run.finished || players_[d]->PlayState() != MediaPlayer::Stopped ||
            players_[d]->Mute() || !w_.ui.cmdFade[d]->isEnabled())
            return false;
    }
    return true;
}

void Session::startRound(int d) {
    judgeRound(d);
    DeckRun& run = decks_[d];
    run.roundStarted = now_;
    run.rounds.emplace_back();
    run.finished = false;
    // As a double click on the list's first entry.
    w_.ui.lstPlay[d]->setCurrentIndex(w_.playlists.list(d).index(0));
    w_.playlists.lstPlay_DblClick(d);
}

void Session::judgeRound(int d) {
    DeckRun& run = decks_[d];
    const QString fault = JudgeRound(run.rounds.back(), settings_.tracks, run.finished);
    if (!fault.isEmpty())
        run.failures << QString("pass %1: %2").arg(run.rounds.size()).arg(fault);
}

} // namespace velmor::soak
