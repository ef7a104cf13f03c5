#pragma once

#include "deck/player/AudioOutputs.h"
#include "legacy/Error.h"

namespace velmor::test {

// Sound cards for the set-up window: the headphones' device "refused" cannot be opened.
struct FakeOutputs : AudioOutputs {
    QList<AudioDevice> Devices() override {
        return {{"card", 2, true}, {"quad", 4, false}, {"refused", 2, false}};
    }
    AudioSetup Setup() const override { return setup; }
    void setSetup(const AudioSetup& wanted) override {
        if (wanted.phonesDevice == "refused")
            throw Error("The device \"refused\" could not be opened.");
        setup = wanted;
    }
    OutputsState State() override {
        return {"card", 0.0232, false, "", 0, false, {audio::ThreadPriority::Normal, 0}};
    }
    void setHeadphoneLevel(int volume) override { level = volume; }
    void setCueMix(int mainShare) override { mix = mainShare; }
    AudioSetup setup;
    int level = -1, mix = -1;
};

} // namespace velmor::test
