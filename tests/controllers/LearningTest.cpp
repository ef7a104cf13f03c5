#include "controllers/Learning.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {
MidiMessage cc(int number, int value) {
    return {MidiMessage::ControlChange, 3, number, value};
}
} // namespace

TEST(Learning, APressedNoteOrControllerIsLearntAsAButton) {
    Learning learning;
    learning.listenFor("deck1.play_pause", false);
    EXPECT_EQ(learning.hear({MidiMessage::Note, 2, 36, 0}), std::nullopt);
    EXPECT_TRUE(learning.listening());
    EXPECT_EQ(learning.hear({MidiMessage::Note, 2, 36, 127}),
              (Mapping{{MidiMessage::Note, 2, 36}, "deck1.play_pause", ControlMode::Button}));
    EXPECT_FALSE(learning.listening());
    EXPECT_EQ(learning.hear({MidiMessage::Note, 2, 37, 127}), std::nullopt);
    learning.listenFor("deck1.stop", false);
    EXPECT_EQ(learning.hear(cc(20, 127))->control, (Control{MidiMessage::ControlChange, 3, 20}));
}

TEST(Learning, AFaderTargetTakesTwoMovesOfOneController) {
    Learning learning;
    learning.listenFor("deck1.volume", true);
    EXPECT_EQ(learning.hear({MidiMessage::Note, 3, 7, 127}), std::nullopt);
    EXPECT_EQ(learning.hear(cc(7, 60)), std::nullopt);
    EXPECT_EQ(learning.hear(cc(8, 61)), std::nullopt);
    EXPECT_EQ(learning.hear(cc(8, 62)),
              (Mapping{{MidiMessage::ControlChange, 3, 8}, "deck1.volume", ControlMode::Fader}));
}

TEST(Learning, TheSameValueTwiceOrStepsAroundZeroAreAnEncoder) {
    Learning learning;
    learning.listenFor("crossfader", true);
    learning.hear(cc(9, 65));
    EXPECT_EQ(learning.hear(cc(9, 65))->mode, ControlMode::Encoder);
    learning.listenFor("crossfader", true);
    learning.hear(cc(9, 1));
    EXPECT_EQ(learning.hear(cc(9, 3))->mode, ControlMode::Encoder);
    learning.listenFor("crossfader", true);
    learning.hear(cc(9, 126));
    EXPECT_EQ(learning.hear(cc(9, 127))->mode, ControlMode::Encoder);
}
