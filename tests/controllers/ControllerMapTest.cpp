#include "controllers/ControllerMap.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {
MidiMessage note(int number, int value) {
    return {MidiMessage::Note, 1, number, value};
}
MidiMessage cc(int number, int value) {
    return {MidiMessage::ControlChange, 1, number, value};
}

// A map of a button, a toggle, a fader and an encoder, its faders standing at `volume`.
struct Box {
    ControllerMap map{{{{MidiMessage::Note, 1, 36}, "deck1.play_pause", ControlMode::Button},
                       {{MidiMessage::Note, 1, 37}, "deck1.mute", ControlMode::Toggle},
                       {{MidiMessage::ControlChange, 1, 7}, "deck1.volume", ControlMode::Fader},
                       {{MidiMessage::ControlChange, 1, 8}, "crossfader", ControlMode::Encoder}}};
    int volume = 50;
    std::optional<ControlOrder> send(const MidiMessage& message) {
        const auto order = map.respond(message, [this](const QString&) {
            return FaderPosition{volume, 0, 100};
        });
        if (order && order->kind == ControlOrder::MoveTo)
            volume = order->value;
        return order;
    }
};
} // namespace

TEST(ControllerMap, AButtonActsWhenPressedAndAToggleOnEveryMessage) {
    Box box;
    const ControlOrder playPause{ControlOrder::Trigger, "deck1.play_pause", 0};
    const ControlOrder mute{ControlOrder::Trigger, "deck1.mute", 0};
    EXPECT_EQ(box.send(note(36, 127)), playPause);
    EXPECT_EQ(box.send(note(36, 0)), std::nullopt);
    EXPECT_EQ(box.send(note(37, 127)), mute);
    EXPECT_EQ(box.send(note(37, 0)), mute);
    EXPECT_EQ(box.send(note(38, 127)), std::nullopt);
    EXPECT_EQ(box.send(cc(36, 127)), std::nullopt);
}

// The volume stands at 50 and the fader at the bottom: moving it up does nothing until it
// passes 50, and from there the volume follows it. A fader within 3 % of the value (67 of 127
// is 53 %, 69 is 54 %) takes over at once.
TEST(ControllerMap, AFaderTakesOverOnlyOnceItCrossesOrNearsTheValue) {
    Box box;
    EXPECT_EQ(box.send(cc(7, 0)), std::nullopt);
    EXPECT_EQ(box.send(cc(7, 40)), std::nullopt);
    EXPECT_EQ(box.volume, 50);
    EXPECT_EQ(box.send(cc(7, 70)), (ControlOrder{ControlOrder::MoveTo, "deck1.volume", 55}));
    EXPECT_EQ(box.send(cc(7, 127)), (ControlOrder{ControlOrder::MoveTo, "deck1.volume", 100}));
    EXPECT_EQ(box.send(cc(7, 0)), (ControlOrder{ControlOrder::MoveTo, "deck1.volume", 0}));
    Box near;
    EXPECT_EQ(near.send(cc(7, 67)), (ControlOrder{ControlOrder::MoveTo, "deck1.volume", 53}));
    Box far;
    EXPECT_EQ(far.send(cc(7, 69)), std::nullopt);
}

TEST(ControllerMap, AFaderLetGoByAMoveElsewhereMustCrossTheValueAgain) {
    Box box;
    box.volume = 0;
    EXPECT_EQ(box.send(cc(7, 1)), (ControlOrder{ControlOrder::MoveTo, "deck1.volume", 1}));
    box.volume = 80; // the mouse moved it
    EXPECT_EQ(box.send(cc(7, 20)), std::nullopt);
    EXPECT_EQ(box.volume, 80);
    EXPECT_EQ(box.send(cc(7, 100)), (ControlOrder{ControlOrder::MoveTo, "deck1.volume", 79}));
}

TEST(ControllerMap, AnEncoderStepsByItsTwosComplementValueWithinTheRange) {
    Box box;
    EXPECT_EQ(box.send(cc(8, 1)), (ControlOrder{ControlOrder::MoveTo, "crossfader", 51}));
    EXPECT_EQ(box.send(cc(8, 127)), (ControlOrder{ControlOrder::MoveTo, "crossfader", 50}));
    EXPECT_EQ(box.send(cc(8, 118)), (ControlOrder{ControlOrder::MoveTo, "crossfader", 40}));
    EXPECT_EQ(box.send(cc(8, 63)), (ControlOrder{ControlOrder::MoveTo, "crossfader", 100}));
    box.volume = 2;
    EXPECT_EQ(box.send(cc(8, 65)), (ControlOrder{ControlOrder::MoveTo, "crossfader", 0}));
    EXPECT_EQ(EncoderSteps(0), 0);
    EXPECT_EQ(EncoderSteps(64), 0);
}
