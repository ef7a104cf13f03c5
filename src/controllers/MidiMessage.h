#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace velmor {

// What a controller's control sends: a key or pad (a note) or a knob, fader or encoder (a
// control change). A note off, or a note on with velocity 0, is a note of value 0.
struct MidiMessage {
    enum Kind { Note, ControlChange };
    Kind kind = Note;
    int channel = 1; // 1..16
    int number = 0;  // the note or controller number, 0..127
    int value = 0;   // the velocity or the controller's value, 0..127
    bool operator==(const MidiMessage&) const = default;
};

// The message in the bytes a port delivered; none for anything but a note or a control
// change (clock, sysex, pitch bend) or for a message cut short.
std::optional<MidiMessage> ReadMidiMessage(const unsigned char* bytes, size_t size);

// The three bytes of a note on: how a light on a controller is turned on (127) or off (0).
std::vector<unsigned char> NoteOnBytes(int channel, int note, int velocity);

} // namespace velmor
