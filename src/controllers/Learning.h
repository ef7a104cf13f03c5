#pragma once

#include "controllers/Mappings.h"

#include <optional>

namespace velmor {

// Learning a control for an action: an action is picked, then the control that moves or is
// pressed next is mapped to it. A note or a pressed controller learns a button; for a fader
// target it takes two moves of one controller: the same value twice, or small steps around
// 0 (1, 2, 127, 126...), is an encoder; any other a fader.
class Learning {
public:
    // Starts listening for the control of `action`; `fader` when it is moved, not pressed.
    void listenFor(const QString& action, bool fader);
    void stop() { listening_ = false; }
    bool listening() const { return listening_; }
    const QString& action() const { return action_; }

    // A message heard while listening: the mapping learnt, once the control is known; none
    // while it is not (a button let go, a fader's first move, a note for a fader target).
    // Learning stops with the mapping it gives.
    std::optional<Mapping> hear(const MidiMessage& message);

private:
    bool listening_ = false;
    QString action_;
    bool fader_ = false;
    std::optional<MidiMessage> firstMove_;
};

} // namespace velmor
