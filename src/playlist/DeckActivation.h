#pragma once

namespace velmor {

struct WindowContext;

// The active deck: the one whose option button is selected. The list buttons, the file
// browser and the crossfader act on it.
class DeckActivation {
public:
    explicit DeckActivation(WindowContext& window) : w_(window) {}
    void wire();

    int ActiveDeck() const;
    void fra_Click(int d);
    void optPla_Click(int d) { fra_Click(d); }

private:
    WindowContext& w_;
};

} // namespace velmor
