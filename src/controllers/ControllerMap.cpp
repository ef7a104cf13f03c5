#include "controllers/ControllerMap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace velmor {

std::optional<int> SoftTakeover::move(int control, const FaderPosition& target) {
    const int span = target.maximum - target.minimum;
    const int asked = target.minimum + int(std::lround(control * span / 127.0));
    const int now = target.value;
    const bool holding = set_ == now; // nothing else moved it since this fader did
    const bool reaches = std::abs(asked - now) <= std::lround(span * kCatch);
    const bool crosses = asked_ && (*asked_ - now) * (asked - now) <= 0;
    asked_ = asked;
    if (!holding && !reaches && !crosses)
        return std::nullopt;
    set_ = asked;
    return asked;
}

int EncoderSteps(int value) {
    if (value >= 1 && value <= 63)
        return value;
    if (value >= 65 && value <= 127)
        return value - 128;
    return 0;
}

ControllerMap::ControllerMap(std::vector<Mapping> mappings)
    : mappings_(std::move(mappings)), takeovers_(mappings_.size()) {}

std::optional<ControlOrder> ControllerMap::respond(const MidiMessage& message,
                                                   const FaderLookup& faderAt) {
    const Mapping* mapping = MappingOf(mappings_, ControlOf(message));
    if (!mapping)
        return std::nullopt;
    switch (mapping->mode) {
    case ControlMode::Button:
        if (message.value == 0)
            return std::nullopt;
        [[fallthrough]];
    case ControlMode::Toggle:
        return ControlOrder{ControlOrder::Trigger, mapping->action, 0};
    case ControlMode::Fader: {
        SoftTakeover& takeover = takeovers_[size_t(mapping - mappings_.data())];
        const auto value = takeover.move(message.value, faderAt(mapping->action));
        if (!value)
            return std::nullopt;
        return ControlOrder{ControlOrder::MoveTo, mapping->action, *value};
    }
    case ControlMode::Encoder: {
        const FaderPosition at = faderAt(mapping->action);
        const int value =
            std::clamp(at.value + EncoderSteps(message.value), at.minimum, at.maximum);
        return ControlOrder{ControlOrder::MoveTo, mapping->action, value};
    }
    }
    return std::nullopt;
}

} // namespace velmor
