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
} // namespace

ActionTable WindowActions(Main& w) {
    ActionCalls calls;
    calls.fade = trappedDeck(w, [&w](int d) { w.fades.cmdFade_Click(d); });
    calls.playPause = trappedDeck(w, [&w](int d) { w.transport.cmdPlayPause_Click(d); });
    calls.stop = trappedDeck(w, [&w](int d) { w.transport.cmdStop_Click(d); });
    calls.mute = trappedDeck(w, [&w](int d) { w.transport.cmdMute_Click(d); });
    calls.previous = trappedDeck(w, [&w](int d) { w.navigation.cmdRetroceso_Click(d); });
    calls.next = trappedDeck(w, [&w](int d) { w.navigation.cmdAvanceTema_Click(d); });
    calls.speed = [&w](int d, int speed) {
        static constexpr void (Transport::*kButtons[])(int) = {
            &Transport::cmdSlowPlay_Click, &Transport::cmdNormalPlay_Click,
            &Transport::cmdFastPlay_Click, &Transport::cmdUltraPlay_Click};
        trapped(w.reporter, [&] { (w.transport.*kButtons[speed])(d); });
    };
    calls.prelisten = trappedDeck(w, [&w](int d) { w.prelisten.cmdPrelisten_Click(d); });
    calls.activate = trappedDeck(w, [&w](int d) { w.activation.optPla_Click(d); });
    // The slider's change notification applies the position, as a move by the user does.
    calls.crossfader = [&w](int position) {
        trapped(w.reporter, [&] { w.ui.cross->setValue(position); });
    };
    calls.compressExpand = trappedCommand(w, [&w] { w.cmdExpandir_Click(); });
    calls.help = trappedCommand(w, [&w] { w.help.cmdHelp_Click(); });
    calls.about = trappedCommand(w, [&w] { w.help.cmdAbout_Click(); });
    calls.audioSetup = trappedCommand(w, [&w] { w.audioSetup.cmdAudio_Click(); });
    return MixerActions(calls);
}

} // namespace velmor
