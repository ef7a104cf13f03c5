#pragma once

#include "controllers/Mappings.h"

#include <functional>
#include <optional>
#include <vector>

namespace velmor {

// Where a fader target stands, and its range.
struct FaderPosition {
    int value = 0;
    int minimum = 0;
    int maximum = 100;
};

// A fader that takes over what it moves only once it reaches or crosses where that stands:
// after the mouse, a key or another fader moved it, a fader standing elsewhere makes no jump.
class SoftTakeover {
public:
    // Within this share of the range (3 %), a fader counts as reaching the value.
    static constexpr double kCatch = 0.03;
    // Where the fader at `control` (0..127) puts its target, or none while it has not taken
    // over.
    std::optional<int> move(int control, const FaderPosition& target);

private:
    std::optional<int> asked_; // where the fader last pointed, in the target's range
    std::optional<int> set_;   // what it last set the target to
};

// The steps an encoder's relative value moves by: 1..63 up, 127..65 down by 128 - value.
int EncoderSteps(int value);

// What a control's message asks of Velmor: to trigger an action, or to move a fader target
// to a value.
struct ControlOrder {
    enum Kind { Trigger, MoveTo };
    Kind kind = Trigger;
    QString action;
    int value = 0; // for MoveTo
    bool operator==(const ControlOrder&) const = default;
};

// The mappings of one controller, with what each fader has taken over.
class ControllerMap {
public:
    explicit ControllerMap(std::vector<Mapping> mappings = {});
    const std::vector<Mapping>& mappings() const { return mappings_; }

    using FaderLookup = std::function<FaderPosition(const QString& id)>;
    // What `message` asks; none for a control not mapped, a button let go, or a fader that
    // has not taken over.
    std::optional<ControlOrder> respond(const MidiMessage& message, const FaderLookup& faderAt);

private:
    std::vector<Mapping> mappings_;
    std::vector<SoftTakeover> takeovers_; // one a mapping
};

} // namespace velmor
