#pragma once

namespace velmor {

class Main;

// The headphones at the decks: each deck's pre-listen button, and the headphones' level and
// cue/main blend in the master strip.
class Prelisten {
public:
    explicit Prelisten(Main& window) : w_(window) {}
    void wire();

    // Sends deck d to the headphones, or takes it out; its button is lit while it is in.
    void cmdPrelisten_Click(int d);
    void sldPhones_Change();
    void sldCueMix_Change();

private:
    Main& w_;
};

} // namespace velmor
