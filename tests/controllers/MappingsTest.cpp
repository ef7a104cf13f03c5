#include "controllers/Mappings.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {
const MappingTargets kTargets{
    [](const QString& id) { return id == "deck1.play_pause" || id == "deck1.mute"; },
    [](const QString& id) { return id == "deck1.volume" || id == "crossfader"; }};

Mapping noteButton(int channel, int number, const QString& action) {
    return {{MidiMessage::Note, channel, number}, action, ControlMode::Button};
}
} // namespace

TEST(Mappings, ReadsEachLineWithTheModeItNamesOrItsTargetsOwn) {
    const MappingFile file = ParseMappings("# Fader Box\n"
                                           "note 1 36 = deck1.play_pause\n"
                                           "\n"
                                           "note 16 0 = deck1.mute toggle  # latching\n"
                                           "cc 2 7 = deck1.volume\n"
                                           "cc 2 10 = crossfader encoder\n",
                                           kTargets);
    EXPECT_TRUE(file.problems.isEmpty());
    ASSERT_EQ(file.mappings.size(), 4u);
    EXPECT_EQ(file.mappings[0], noteButton(1, 36, "deck1.play_pause"));
    EXPECT_EQ(file.mappings[1],
              (Mapping{{MidiMessage::Note, 16, 0}, "deck1.mute", ControlMode::Toggle}));
    EXPECT_EQ(file.mappings[2],
              (Mapping{{MidiMessage::ControlChange, 2, 7}, "deck1.volume", ControlMode::Fader}));
    EXPECT_EQ(file.mappings[3].mode, ControlMode::Encoder);
}

// A broken line is told with its number and why; the lines around it still map.
TEST(Mappings, ABrokenLineIsToldByItsNumberAndTheRestIsUsed) {
    const MappingFile file = ParseMappings("note 1 36 = deck1.play_pause\n"
                                           "note 17 36 = deck1.mute\n"
                                           "cc 1 128 = crossfader\n"
                                           "note 1 37 deck1.mute\n"
                                           "note 1 38 = deck9.play_pause\n"
                                           "note 1 39 = deck1.mute fast\n"
                                           "note 1 40 = deck1.volume\n"
                                           "cc 1 1 = deck1.mute fader\n"
                                           "note 1 36 = deck1.mute\n"
                                           "cc 1 2 = crossfader\n",
                                           kTargets);
    EXPECT_EQ(file.problems,
              QStringList({"line 2: the channel \"17\" is not 1 to 16",
                           "line 3: the number \"128\" is not 0 to 127",
                           "line 4: no \"=\" between the control and the action",
                           "line 5: there is no action \"deck9.play_pause\"",
                           "line 6: the mode \"fast\" is not button, toggle, fader or encoder",
                           "line 7: deck1.volume is moved: a fader or an encoder (a cc)",
                           "line 8: deck1.mute is pressed, not moved: a button or a toggle",
                           "line 9: note 1 36 is mapped on an earlier line"}));
    ASSERT_EQ(file.mappings.size(), 2u);
    EXPECT_EQ(file.mappings[0].action, "deck1.play_pause");
    EXPECT_EQ(file.mappings[1].action, "crossfader");
}

TEST(Mappings, ALearntMappingReplacesTheLineOfItsControlAndKeepsTheComments) {
    const QString text = "# my box\nnote 1 36 = deck1.mute # old\ncc 1 7 = deck1.volume\n";
    EXPECT_EQ(WithMapping(text, noteButton(1, 36, "deck1.play_pause"), kTargets),
              "# my box\nnote 1 36 = deck1.play_pause button\ncc 1 7 = deck1.volume\n");
    EXPECT_EQ(WithMapping(text, noteButton(2, 36, "deck1.play_pause"), kTargets),
              "# my box\nnote 1 36 = deck1.mute # old\ncc 1 7 = deck1.volume\n"
              "note 2 36 = deck1.play_pause button\n");
    EXPECT_EQ(WithMapping("", noteButton(1, 1, "deck1.mute"), kTargets),
              "note 1 1 = deck1.mute button\n");
}

TEST(Mappings, APortsFileIsNamedAfterItWithoutFolderSeparators) {
    EXPECT_EQ(PortMappingFile("/c", "Fader Box:out"), "/c/Fader Box:out.conf");
    EXPECT_EQ(PortMappingFile("/c", "a/../b"), "/c/a_.._b.conf");
    EXPECT_EQ(AnyPortMappingFile("/c"), "/c/any.conf");
}

TEST(MidiMessages, ANoteOffIsANoteOfValueZeroAndOtherMessagesAreNone) {
    const unsigned char noteOn[] = {0x91, 36, 100};
    const unsigned char noteOff[] = {0x80, 36, 64};
    const unsigned char change[] = {0xBF, 7, 127};
    const unsigned char bend[] = {0xE0, 0, 64};
    const unsigned char cut[] = {0x90, 36};
    EXPECT_EQ(ReadMidiMessage(noteOn, 3), (MidiMessage{MidiMessage::Note, 2, 36, 100}));
    EXPECT_EQ(ReadMidiMessage(noteOff, 3), (MidiMessage{MidiMessage::Note, 1, 36, 0}));
    EXPECT_EQ(ReadMidiMessage(change, 3), (MidiMessage{MidiMessage::ControlChange, 16, 7, 127}));
    EXPECT_EQ(ReadMidiMessage(bend, 3), std::nullopt);
    EXPECT_EQ(ReadMidiMessage(cut, 2), std::nullopt);
    EXPECT_EQ(NoteOnBytes(16, 36, 127), (std::vector<unsigned char>{0x9F, 36, 127}));
}
