#include "controllers/Learning.h"

namespace velmor {

namespace {
// A value an encoder sends for a step or a few: near 0 either way.
bool looksRelative(int value) {
    return (value >= 1 && value <= 15) || (value >= 113 && value <= 127);
}
} // namespace

void Learning::listenFor(const QString& action, bool fader) {
    listening_ = true;
    action_ = action;
    fader_ = fader;
    firstMove_.reset();
}

std::optional<Mapping> Learning::hear(const MidiMessage& message) {
    if (!listening_)
        return std::nullopt;
    const bool change = message.kind == MidiMessage::ControlChange;
    Mapping mapping{ControlOf(message), action_, ControlMode::Button};
    if (!fader_) {
        if (message.value == 0)
            return std::nullopt;
    } else {
        if (!change)
            return std::nullopt;
        if (!firstMove_ || ControlOf(*firstMove_) != mapping.control) {
            firstMove_ = message;
            return std::nullopt;
        }
        const int first = firstMove_->value;
        const bool relative =
            first == message.value || (looksRelative(first) && looksRelative(message.value));
        mapping.mode = relative ? ControlMode::Encoder : ControlMode::Fader;
    }
    listening_ = false;
    return mapping;
}

} // namespace velmor
