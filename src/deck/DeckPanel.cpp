#include "deck/DeckPanel.h"

#include "analysis/KnownTracks.h"
#include "common/AutoFocus.h"
#include "common/BrowserLists.h"
#include "common/Reporter.h"
#include "common/Widgets.h"
#include "deck/Deck.h"
#include "deck/player/MediaPlayer.h"
#include "legacy/Error.h"
#include "legacy/Numbers.h"

namespace velmor {

DeckPanel::DeckPanel(Deck& deck, const Controls& ui, Reporter& reporter, const KnownTracks& known)
    : deck_(deck), c_(DeckControlsOf(ui, deck.index())), reporter_(reporter), known_(known) {
    wire(ui);
}

void DeckPanel::wire(const Controls& ui) {
    const auto on = [this](QAbstractButton* button, void (DeckPanel::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    on(c_.cmdPlayPause, &DeckPanel::cmdPlayPause_Click);
    on(c_.cmdStop, &DeckPanel::cmdStop_Click);
    on(c_.cmdMute, &DeckPanel::cmdMute_Click);
    on(c_.cmdAvanceTema, &DeckPanel::cmdAvanceTema_Click);
    on(c_.cmdRetroceso, &DeckPanel::cmdRetroceso_Click);
    on(c_.cmdSlowPlay, &DeckPanel::cmdSlowPlay_Click);
    on(c_.cmdNormalPlay, &DeckPanel::cmdNormalPlay_Click);
    on(c_.cmdFastPlay, &DeckPanel::cmdFastPlay_Click);
    on(c_.cmdUltraPlay, &DeckPanel::cmdUltraPlay_Click);
    on(c_.cmdSet, &DeckPanel::cmdSet_Click);
    on(c_.cmdPrelisten, &DeckPanel::cmdPrelisten_Click);
    connect(c_.txtSet, &QLineEdit::textChanged, this, [this] { txtSet_Change(); });
    for (QLineEdit* box : {c_.txtSet, c_.txtSetSec}) {
        SelectAllOnClick(box);
        FocusFolderOnEnter(box, ui.dir);
    }
    // valueChanged follows the user's moves and the program's assignments alike.
    connect(c_.Volumen, &QSlider::valueChanged, this, [this] { Volumen_Change(); });
    FocusOnMouseOver(c_.Volumen, ui.chkFocus);
    // Only the user's own moves seek: the timer and the notifications set the value too, and
    // valueChanged would make each of them a seek.
    connect(c_.Tracker, &QAbstractSlider::actionTriggered, this, [this] { Tracker_Scroll(); });
    FocusOnMouseOver(c_.Tracker, ui.chkFocus);
    connect(c_.timer, &QTimer::timeout, this, [this] { timer_Timer(); });

    Deck* deck = &deck_;
    // Each display handler traps its own failures: the deck's handling goes on past it.
    const auto show = [this](void (DeckPanel::*handler)()) {
        return [this, handler] { trapped(reporter_, [&] { (this->*handler)(); }); };
    };
    connect(deck, &Deck::opened, this, show(&DeckPanel::opened));
    connect(deck, &Deck::closed, this, show(&DeckPanel::closed));
    connect(deck, &Deck::stopped, this, show(&DeckPanel::stopped));
    connect(deck, &Deck::playing, this, show(&DeckPanel::playing));
    connect(deck, &Deck::paused, this, show(&DeckPanel::paused));
    connect(deck, &Deck::sought, this, [this] { showStandingPosition(); });
    connect(deck, &Deck::mutedChanged, this, [this](bool muted) { showMute(muted); });
    connect(deck, &Deck::speedChanged, this, [this](int speed) { showSpeed(speed); });
    connect(deck, &Deck::levelChanged, this, [this](int volume) { showLevel(volume); });
    connect(deck, &Deck::prelistenChanged, this, [this](bool on) { showPrelisten(on); });
    // The track's name from its tags, and where its sound ends, may be learnt after it opened.
    connect(&known_, &KnownTracks::learned, this, [this, show](const QString& path) {
        if (!captioned_.isEmpty() && path == captioned_)
            show (&DeckPanel::showCaption)();
        if (path == deck_.player().FileName())
            showStandingPosition();
    });
    connect(&known_, &KnownTracks::levellingChanged, this, [this] { showStandingPosition(); });
}

void DeckPanel::cmdPlayPause_Click() {
    trapped(reporter_, [&] { deck_.playPause(); });
}

void DeckPanel::cmdStop_Click() {
    trapped(reporter_, [&] { deck_.stop(StopReason::User); });
}

void DeckPanel::cmdMute_Click() {
    trapped(reporter_, [&] { deck_.setMuted(!deck_.muted()); });
}

void DeckPanel::cmdAvanceTema_Click() {
    trapped(reporter_, [&] { deck_.next(); });
}

void DeckPanel::cmdRetroceso_Click() {
    trapped(reporter_, [&] { deck_.previous(); });
}

void DeckPanel::ApplySpeed(int speed) {
    // A player that refuses the rate must not end the program.
    trapped(reporter_, [&] { deck_.setSpeed(speed); });
}

void DeckPanel::cmdSet_Click() {
    trapped(reporter_, [&] {
        const double minutes = ToDouble(c_.txtSet->text());
        if (minutes > 99 || minutes < 0) {
            reporter_.show("Number out of range", kAppTitle, Icon::Information);
            c_.txtSet->setFocus();
            return;
        }
        const double seconds = ToDouble(c_.txtSetSec->text());
        if (seconds > 59 || seconds < 0) {
            reporter_.show("Number out of range", kAppTitle, Icon::Information);
            c_.txtSetSec->setFocus();
            return;
        }
        deck_.seek(minutes * 60 + seconds);
        c_.Tracker->setValue(RealToInt32(deck_.player().CurrentPosition()));
    });
}

void DeckPanel::txtSet_Change() {
    std::optional<double> cue;
    try {
        cue = ToDouble(c_.txtSet->text());
    } catch (const Error&) {
        // Not a number: the next stop says so.
    }
    deck_.setCue(cue);
}

void DeckPanel::Volumen_Change() {
    deck_.setLevel(c_.Volumen->value());
}

void DeckPanel::cmdPrelisten_Click() {
    trapped(reporter_, [&] { deck_.setPrelisten(!deck_.prelisten()); });
}

void DeckPanel::Tracker_Scroll() {
    // The action is reported before the value follows it; the slider's position is the
    // place the user chose.
    deck_.seek(double(c_.Tracker->sliderPosition()));
}

} // namespace velmor
