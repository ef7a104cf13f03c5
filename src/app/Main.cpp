#include "app/Main.h"

#include "app/MainLayout.h"
#include "app/WindowActions.h"
#include "common/BrowserLists.h"
#include "common/LevelMeterBar.h"
#include "common/TwipsLayout.h"
#include "common/Widgets.h"
#include "deck/VolumeLaw.h"
#include "legacy/Numbers.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
#include <QShortcut>
#include <algorithm>

namespace velmor {

namespace {
std::function<QDateTime()> clockOf(const MainOptions& options) {
    return options.clock ? options.clock : [] { return QDateTime::currentDateTime(); };
}

// For what only counts seconds, many times a second: UTC spares it the time zone's rules.
std::function<QDateTime()> utcClockOf(const MainOptions& options) {
    return options.clock ? options.clock : [] { return QDateTime::currentDateTimeUtc(); };
}

int primaryScreenHeightTwips() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? int(PixelsToTwips(screen->geometry().height())) : 0;
}
} // namespace

Main::Main(const MainOptions& options)
    : reporter(*options.reporter, [this] { return AnyDeckPlays(); }), outputs(options.outputs),
      masterLevels(options.masterLevels), engine(options.engine),
      eveningClock(*this, clockOf(options)), unheard(*this, utcClockOf(options)),
      recording(*this, options.recorder,
                options.recordingFolder.isEmpty() ? RecordingFolder() : options.recordingFolder,
                clockOf(options)),
      screenHeightTwips_(options.screenHeightTwips.value_or(primaryScreenHeightTwips())) {
    // The controls lie on a stage of the window's design proportions, scaled with the window
    // and cut off at the height of the window's state.
    stage_ = new QWidget(this);
    BuildControls(stage_, ui);
    for (int d = 0; d < kDecks; ++d) {
        pla[d] = options.createPlayer(d, this);
        decks[d] = new Deck(d, *pla[d], *this, reporter, this);
    }
    // What is learnt of a track reaches the players that have it open or queued.
    connect(&knownTracks, &KnownTracks::learned, this, [this](const QString& path) {
        for (MediaPlayer* player : pla)
            player->replan(path);
    });
    connect(&knownTracks, &KnownTracks::levellingChanged, this, [this] {
        for (MediaPlayer* player : pla) {
            player->replan(player->FileName());
            player->replan(player->QueuedNext());
        }
    });
    setClientHeight(kExpandedHeight);
    setFocusPolicy(Qt::StrongFocus);

    connect(ui.cmdExpandir, &QPushButton::clicked, this, [this] { cmdExpandir_Click(); });
    // The library's search, from anywhere in the window.
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this,
            [this] { trapped(reporter, [&] { library.show(); }); });
    actions = WindowActions(*this);
    for (int d = 0; d < kDecks; ++d)
        panels[d] = std::make_unique<DeckPanel>(*decks[d], ui, reporter, knownTracks);
    activation.wire();
    playlists.wire();
    for (int d = 0; d < kDecks; ++d) {
        decks[d]->follow(playlists.list(d));
        playlists.list(d).showTags(knownTracks, tagReading);
    }
    browser.wire();
    savePanel.wire();
    fades.wire();
    crossfader.wire();
    shortcuts.wire();
    help.wire();
    headphones.wire();
    audioSetup.wire();
    audioSetup.keepIn(options.audioSetupFile);
    announcements.wire();
    announcements.keepIn(options.audioSetupFile);
    if (!options.sessionFolder.isEmpty())
        session.keepIn(options.sessionFolder);
    session.wire();
    controllers.wire();
    meters.wire(options.liveDisplay);
    unheard.wire();
    eveningClock.wire();
    recording.wire();
    for (int d = 0; d < kDecks; ++d) {
        overviews[d] = std::make_unique<TrackOverview>(*decks[d], ui, trackAnalyser, knownTracks,
                                                       options.liveDisplay);
        connect(decks[d], &Deck::upNext, &trackAnalyser, &TrackAnalyser::lookAhead);
    }
    keepHistory(options);
    if (!options.liveDisplay) {
        for (int d = 0; d < kDecks; ++d)
            ui.mtrLevel[d]->hide();
        ui.mtrMaster->hide();
    }
}

void Main::keepHistory(const MainOptions& options) {
    const auto clock = clockOf(options);
    // A track is named by its tags, or by its file's name where they give no title.
    const auto naming = [this](const QString& path) {
        const TrackTags* tags = knownTracks.tags(path);
        if (tags && !tags->title.isEmpty())
            return PlayWatcher::Names{tags->artist, tags->title};
        return PlayWatcher::Names{QString(), QFileInfo(path).completeBaseName()};
    };
    history = std::make_unique<EveningHistory>(decks, reporter, clock, naming);
    connect(history.get(), &EveningHistory::playedChanged, this,
            [this](const QSet<QString>& paths) {
                for (int d = 0; d < kDecks; ++d)
                    playlists.list(d).setPlayed(paths);
                library.results().setPlayed(paths);
            });
}

Main::~Main() {
    // The tracks still playing that count are written while their decks are there.
    history->finish();
    history.reset();
    // Before the lists they follow, which the window's children outlive.
    for (Deck*& deck : decks)
        delete std::exchange(deck, nullptr);
}

QString Main::Version() {
    return QString("%1.%2.%3")
        .arg(VELMOR_VERSION_MAJOR)
        .arg(VELMOR_VERSION_MINOR)
        .arg(VELMOR_VERSION_PATCH);
}

bool Main::Form_Load() {
    if (screenHeightTwips_ < 9000) {
        reporter.show("Please use 800x600 or more.", "Resolution issue", Icon::Exclamation);
        return false;
    }
    trapped(reporter, [&] {
        setWindowTitle("Velmor " + Version());
        SetTwipsHeight(ui.dir, 2115);
        ui.selec[0]->setFillColor(kLightBlue);
        for (int d = 0; d < kDecks; ++d) {
            MediaPlayer& player = *pla[d];
            decks[d]->startOver();
            if (d < kDecks - 1)
                ui.selec[d + 1]->setFillColor(kButtonFace); // the frame's own colour
            if (player.FileName().isEmpty())
                ui.cmdPlayPause[d]->setEnabled(false);
            ui.Volumen[d]->setValue(PlayerLevelToVolume(player.Volume()));
            ui.timer[d]->setInterval(250);
            if (player.PlayState() == MediaPlayer::Closed) {
                ui.cmdStop[d]->setText("o");
                ui.cmdPlayPause[d]->setText(">");
                ui.cmdStop[d]->setEnabled(false);
            }
            ui.shpQueda[d]->setWidthTwips(1);
            ui.shpVa[d]->setWidthTwips(1);
        }
        activation.optPla_Click(0);
    });
    return true;
}

void Main::cmdExpandir_Click() {
    if (ui.cmdExpandir->text() == "/\\") {
        setClientHeight(kCompressedHeight);
        ui.cmdExpandir->setText("\\/");
    } else {
        setClientHeight(kExpandedHeight);
        ui.cmdExpandir->setText("/\\");
    }
}

void Main::setClientHeight(int twips) {
    // The design size is the smallest; at any larger size the state's height keeps its
    // proportion to the width.
    const int width = this->width();
    if (isMaximized() || isFullScreen())
        showNormal();
    designHeight_ = twips;
    setMinimumSize(TwipsToPixels(kWidth), TwipsToPixels(twips));
    resize(std::max(width, minimumWidth()), int(std::lround(scale_ * twips / kTwipsPerPixel)));
    layOut();
}

double Main::ScaleFor(QSize size, int designHeightTwips) {
    const double scale = std::min(PixelsToTwips(size.width()) / kWidth,
                                  PixelsToTwips(size.height()) / designHeightTwips);
    return std::max(1.0, scale);
}

QFont Main::DesignFont() const {
    return velmor::DesignFont(stage_);
}

void Main::layOut() {
    const double scale = ScaleFor(size(), designHeight_);
    if (scale != scale_) {
        scale_ = scale;
        ApplyScale(this, scale);
    }
    // A window wider than its proportions shows the stage in the middle.
    const QRect stage = ScaledRect(QRectF(0, 0, kWidth, designHeight_), scale);
    stage_->setGeometry((width() - stage.width()) / 2, 0, stage.width(), stage.height());
}

void Main::resizeEvent(QResizeEvent* event) {
    layOut();
    QWidget::resizeEvent(event);
}

void Main::Form_KeyPress(int keyAscii) {
    shortcuts.HandleShortcutKey(keyAscii);
}

bool Main::AnyDeckPlays() const {
    return std::any_of(pla.begin(), pla.end(), [](const MediaPlayer* player) {
        return player && player->PlayState() == MediaPlayer::Playing;
    });
}

bool Main::Form_QueryUnload() {
    // Closing by mistake in the middle of a set would be silence: asked first, No by default.
    return AnyDeckPlays() && !reporter.ask("Decks are playing. Quit Velmor?");
}

void Main::closeEvent(QCloseEvent* event) {
    if (Form_QueryUnload()) {
        event->ignore();
        return;
    }
    session.EndByQuit();
    event->accept();
}

void Main::keyPressEvent(QKeyEvent* event) {
    // Keys typed in a control reach the window too when the control ignores them; those were
    // the control's to forward, so only the window's own keys are handled here.
    const QWidget* focus = QApplication::focusWidget();
    if ((focus == nullptr || focus == this) && !event->text().isEmpty())
        Form_KeyPress(event->text().at(0).unicode());
    QWidget::keyPressEvent(event);
}

} // namespace velmor
