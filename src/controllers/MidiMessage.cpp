#include "controllers/MidiMessage.h"

namespace velmor {

std::optional<MidiMessage> ReadMidiMessage(const unsigned char* bytes, size_t size) {
    if (size < 3 || bytes[1] > 127 || bytes[2] > 127)
        return std::nullopt;
    const int status = bytes[0] & 0xF0;
    MidiMessage message;
    message.channel = (bytes[0] & 0x0F) + 1;
    message.number = bytes[1];
    message.value = bytes[2];
    switch (status) {
    case 0x80:
        message.value = 0;
        return message;
    case 0x90:
        return message;
    case 0xB0:
        message.kind = MidiMessage::ControlChange;
        return message;
    default:
        return std::nullopt;
    }
}

std::vector<unsigned char> NoteOnBytes(int channel, int note, int velocity) {
    return {static_cast<unsigned char>(0x90 | ((channel - 1) & 0x0F)),
            static_cast<unsigned char>(note & 0x7F), static_cast<unsigned char>(velocity & 0x7F)};
}

} // namespace velmor
