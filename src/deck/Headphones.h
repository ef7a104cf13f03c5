#pragma once

namespace velmor {

class AudioOutputs;
struct WindowContext;

// The headphones' level and their blend of the decks in pre-listen with the main output, in
// the master strip. Each deck's pre-listen button is its panel's.
class Headphones {
public:
    Headphones(WindowContext& window, AudioOutputs* outputs) : w_(window), outputs_(outputs) {}
    void wire();

    void sldPhones_Change();
    void sldCueMix_Change();

private:
    WindowContext& w_;
    AudioOutputs* outputs_; // none without a sound engine
};

} // namespace velmor
