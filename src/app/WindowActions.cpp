#include "app/WindowActions.h"

#include "app/Main.h"

namespace velmor {

namespace {
// A command of one deck, trapped on its own: a two-deck key's second deck gets its turn even
// when the first failed, and a failure never ends the program.
std::function<void(int)> trappedDeck(Main& w, std::function<void(int)> command) {
    return [&w, command = std::move(command)](int d) { trapped(w.reporter, [&] { command(d); }); };
}
std::function<void()> trappedCommand(Main& w, std::function<void()> command) {
    return [&w, command = std::move(command)] { trapped(w.reporter, command); };
}
// A slider moved from outside, as by the user: its change applies the value.
Fader sliderFader(Main& w, const QString& id, const QString& help, QSlider* slider) {
    return {id,
            help,
            slider->minimum(),
            slider->maximum(),
            [slider] { return slider->value(); },
            [&w, slider](int value) { trapped(w.reporter, [&] { slider->setValue(value); }); }};
}
} // namespace

ActionTable WindowActions(Main& w) {
    ActionCalls calls;
    calls.fade = trappedDeck(w, [&w](int d) { w.fades.cmdFade_Click(d); });
    calls.playPause = trappedDeck(w, [&w](int d) { w.panels[d]->cmdPlayPause_Click(); });
    calls.stop = trappedDeck(w, [&w](int d) { w.panels[d]->cmdStop_Click(); });
    calls.mute = trappedDeck(w, [&w](int d) { w.panels[d]->cmdMute_Click(); });
    calls.previous = trappedDeck(w, [&w](int d) { w.panels[d]->cmdRetroceso_Click(); });
    calls.next = trappedDeck(w, [&w](int d) { w.panels[d]->cmdAvanceTema_Click(); });
    // What each speed button calls with its own speed.
    calls.speed = [&w](int d, int speed) {
        trapped(w.reporter, [&] { w.panels[d]->ApplySpeed(speed); });
    };
    calls.prelisten = trappedDeck(w, [&w](int d) { w.panels[d]->cmdPrelisten_Click(); });
    calls.activate = trappedDeck(w, [&w](int d) { w.activation.optPla_Click(d); });
    // The slider's change notification applies the position, as a move by the user does.
    calls.crossfader = [&w](int position) {
        trapped(w.reporter, [&] { w.ui.cross->setValue(position); });
    };
    calls.compressExpand = trappedCommand(w, [&w] { w.cmdExpandir_Click(); });
    calls.help = trappedCommand(w, [&w] { w.help.cmdHelp_Click(); });
    calls.about = trappedCommand(w, [&w] { w.help.cmdAbout_Click(); });
    calls.audioSetup = trappedCommand(w, [&w] { w.audioSetup.cmdAudio_Click(); });
    calls.library = trappedCommand(w, [&w] { w.library.show(); });
    calls.duck = trappedCommand(w, [&w] { w.announcements.cmdDuck_Click(); });
    calls.jingle = [&w](int slot) {
        trapped(w.reporter, [&] { w.announcements.cmdJingle_Click(slot); });
    };
    calls.jingles = trappedCommand(w, [&w] { w.announcements.showJingles(); });
    calls.panic = trappedCommand(w, [&w] { w.panic.press(); });
    calls.record = trappedCommand(w, [&w] { w.recording.toggle(); });
    ActionTable table = MixerActions(calls);
    for (int d = 0; d < kDecks; ++d)
        table.addFader(sliderFader(w, QString("deck%1.volume").arg(d + 1),
                                   QString("volume deck %1").arg(d + 1), w.ui.Volumen[d]));
    table.addFader(sliderFader(w, "crossfader", "crossfader", w.ui.cross));
    table.addFader(sliderFader(w, "headphones.level", "headphone level", w.ui.sldPhones));
    table.addFader(sliderFader(w, "headphones.blend", "headphones: pre-listened decks to main mix",
                               w.ui.sldCueMix));
    return table;
}

} // namespace velmor
