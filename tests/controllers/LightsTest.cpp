#include "controllers/Lights.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(Lights, OnlyNoteButtonsOfActionsWithAStateHaveLights) {
    const std::vector<Mapping> mappings = {
        {{MidiMessage::Note, 1, 36}, "deck1.play_pause", ControlMode::Button},
        {{MidiMessage::Note, 2, 37}, "deck1.mute", ControlMode::Toggle},
        {{MidiMessage::Note, 1, 38}, "deck1.stop", ControlMode::Button},
        {{MidiMessage::ControlChange, 1, 39}, "deck2.play_pause", ControlMode::Button}};
    const auto stateOf = [](const QString& id) -> std::optional<bool> {
        if (id == "deck1.stop")
            return std::nullopt;
        return id == "deck1.play_pause";
    };
    EXPECT_EQ(LightsOf(mappings, stateOf), (std::vector<Light>{{1, 36, true}, {2, 37, false}}));
}

TEST(Lights, TheOutputOfAControllerIsFoundByNameClientOrPlayback) {
    const QStringList alsa = {"Box:Box MIDI 1 20:0", "Other:Other 24:0"};
    EXPECT_EQ(MatchingOutput("Box:Box MIDI 1 20:0", alsa), "Box:Box MIDI 1 20:0");
    EXPECT_EQ(MatchingOutput("Fader Box:out", {"Fader Box-01:in", "Pads:in"}), "Fader Box-01:in");
    const QStringList bridged = {"a2j:Box [20] (playback): Box MIDI 1",
                                 "a2j:Pads [24] (playback): Pads MIDI 1"};
    EXPECT_EQ(MatchingOutput("a2j:Box [20] (capture): Box MIDI 1", bridged), bridged[0]);
    EXPECT_EQ(MatchingOutput("Pads:out", {"Box:in"}), std::nullopt);
}
