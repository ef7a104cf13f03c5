#pragma once

namespace velmor {

class AudioOutputs;
struct WindowContext;

// The headphones at the decks: each deck's pre-listen button, and the headphones' level and
// cue/main blend in the master strip.
class Prelisten {
public:
    Prelisten(WindowContext& window, AudioOutputs* outputs) : w_(window), outputs_(outputs) {}
    void wire();

    // Sends deck d to the headphones, or takes it out; its button is lit while it is in.
    void cmdPrelisten_Click(int d);
    void sldPhones_Change();
    void sldCueMix_Change();

private:
    WindowContext& w_;
    AudioOutputs* outputs_; // none without a sound engine
};

} // namespace velmor
