#pragma once

#include "controllers/MidiMessage.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace velmor {

// One control of a controller: a note or a controller number on a channel.
struct Control {
    MidiMessage::Kind kind = MidiMessage::Note;
    int channel = 1; // 1..16
    int number = 0;  // 0..127
    bool operator==(const Control&) const = default;
};
Control ControlOf(const MidiMessage& message);
// As a mapping line writes it: "note 1 36", "cc 2 7".
QString ControlText(const Control& control);

// How a control drives what it is mapped to.
enum class ControlMode {
    Button,  // acts when pressed (a value above 0), not when let go
    Toggle,  // acts on every message: a button that latches by itself sends on, then off
    Fader,   // 0..127 spans the range of what it moves, with soft takeover
    Encoder, // steps by a relative value: 1..63 up, 127..65 down (two's complement)
};

// A line of a mapping file: `note|cc <channel 1-16> <number 0-127> = <action id> [mode]`.
struct Mapping {
    Control control;
    QString action;
    ControlMode mode = ControlMode::Button;
    bool operator==(const Mapping&) const = default;
};
QString MappingLine(const Mapping& mapping);

// What the mappings may name: the ids of the actions (a button or a toggle triggers them)
// and of the faders (a fader or an encoder moves them).
struct MappingTargets {
    std::function<bool(const QString& id)> isAction;
    std::function<bool(const QString& id)> isFader;
};

// A mapping file as read: every line that maps, and a problem per line that does not,
// "line N: why". Blank lines and `#` comments are passed over. Without a mode, a control
// mapped to a fader is a fader, any other a button.
struct MappingFile {
    std::vector<Mapping> mappings;
    QStringList problems;
};
MappingFile ParseMappings(const QString& text, const MappingTargets& targets);

// The mapping of `control`, or null.
const Mapping* MappingOf(const std::vector<Mapping>& mappings, const Control& control);

// `text` with `mapping` in it: the line that mapped its control is replaced, and the
// mapping is added at the end where no line did. Comments and other lines stay as they were.
QString WithMapping(const QString& text, const Mapping& mapping, const MappingTargets& targets);

// $XDG_CONFIG_HOME/velmor/controllers, where the mapping files are kept.
QString ControllersFolder();
// The file of a port's own mappings in `folder`: its name, with any "/" as "_", and ".conf".
QString PortMappingFile(const QString& folder, const QString& port);
// The file that serves every port without one of its own.
QString AnyPortMappingFile(const QString& folder);

} // namespace velmor
