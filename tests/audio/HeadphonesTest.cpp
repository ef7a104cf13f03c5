#include "audio/Engine.h"
#include "audio/OfflineOutput.h"
#include "support/AudioFixtures.h"
#include "support/FakeCards.h"

#include <QTemporaryDir>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace velmor;
using namespace velmor::test;

namespace {

constexpr int kRate = 48000;
constexpr double kCued = 440, kPlaying = 660; // deck 1 is pre-listened, deck 2 plays

// Channels 1-2 and 3-4 of a four-channel render.
std::pair<std::vector<float>, std::vector<float>> Split(const std::vector<float>& quad) {
    std::vector<float> main, phones;
    for (size_t i = 0; i < quad.size(); i += 4) {
        main.insert(main.end(), {quad[i], quad[i + 1]});
        phones.insert(phones.end(), {quad[i + 2], quad[i + 3]});
    }
    return {main, phones};
}

} // namespace

// Deck 1 stands at the bottom of its volume and muted, as a deck being cued does; deck 2
// plays to the room. The headphones hear deck 1 before its level and mute, blended with the
// main mix, at their own level.
TEST(HeadphonesTest, APrelistenedDeckIsHeardBeforeItsLevelAndMuteBlendedWithTheMainMix) {
    QTemporaryDir dir;
    const std::string cued = dir.filePath("a.wav").toStdString();
    const std::string playing = dir.filePath("b.wav").toStdString();
    WriteWav(cued, Tone(kCued, 2, kRate), kRate, 1);
    WriteWav(playing, Tone(kPlaying, 2, kRate), kRate, 1);
    struct Case {
        float mainShare, level;
        double cuedDb, playingDb; // in the headphones; silence below -60
    } cases[] = {
        {0.0f, 1.0f, -6.0, -99}, // cue end: the pre-listened deck alone
        {1.0f, 1.0f, -99, -6.0}, // main end: the room's mix alone
        {0.5f, 0.5f, -18.0, -18.0},
    };
    for (const Case& c : cases) {
        auto output = std::make_unique<audio::OfflineOutput>(kRate, 256, 4);
        audio::OfflineOutput& driver = *output;
        audio::Engine engine(std::move(output));
        engine.routeHeadphones(audio::HeadphoneRoute::MainChannels);
        engine.load(0, audio::OpenDecoder(cued));
        engine.load(1, audio::OpenDecoder(playing));
        engine.setLevel(0, -4500); // the volume law's 0
        engine.setMute(0, true);
        engine.setPrelisten(0, true);
        engine.setCueMix(c.mainShare);
        engine.setHeadphoneLevel(c.level);
        engine.play(0);
        engine.play(1);
        const auto [main, phones] = Split(driver.render(kRate));
        const long from = kRate / 2, to = kRate;
        EXPECT_LT(ToneDb(main, from, to, kCued, kRate), -60) << c.mainShare;
        EXPECT_NEAR(ToneDb(main, from, to, kPlaying, kRate), -6.0, 0.1) << c.mainShare;
        for (auto [tone, db] : {std::pair{kCued, c.cuedDb}, {kPlaying, c.playingDb}}) {
            if (db < -60)
                EXPECT_LT(ToneDb(phones, from, to, tone, kRate), -60) << tone << " " << c.mainShare;
            else
                EXPECT_NEAR(ToneDb(phones, from, to, tone, kRate), db, 0.1)
                    << tone << " " << c.mainShare;
        }
        EXPECT_EQ(engine.underruns(), 0u);
    }
}

// What a second device hears comes through a ring from the main callback: gathered to a
// cushion first, cut back when the second device's clock falls behind, never holding up the
// main mix when full, and one underrun for a ring run dry.
TEST(HeadphonesTest, TheSecondDevicesRingPrimesDropsCutsBackAndCountsADryRing) {
    audio::HeadphoneBus bus(kRate, 4);
    bus.setRoute(audio::HeadphoneRoute::SecondDevice);
    bus.setCueMix(1.0f); // the main mix alone, so that the values pushed are the ones heard
    auto push = [&bus](int frames, float value) {
        for (; frames > 0; frames -= 256) {
            std::vector<float> main(2 * 256, value);
            bus.begin(256);
            bus.takeMain(main.data(), 256);
            bus.finish(main.data(), nullptr, 256);
        }
    };
    std::vector<float> out(2 * 256);
    auto pull = [&] {
        bus.feed().renderOutput(out.data(), 2, 256);
        return out[2 * 255];
    };
    push(4096, 0.25f);     // the blend's ramp settles
    push(64 * 1024, 0.5f); // far more than the ring holds: dropped, not waited for
    EXPECT_FLOAT_EQ(pull(), 0.5f);
    for (int i = 0; i < 40; ++i) // the ring runs dry
        pull();
    EXPECT_EQ(pull(), 0.0f);
    EXPECT_EQ(bus.underruns(), 1u);
    push(512, 0.5f); // less than the cushion: still silent
    EXPECT_EQ(pull(), 0.0f);
    push(1024, 0.5f);
    EXPECT_FLOAT_EQ(pull(), 0.5f);
    EXPECT_EQ(bus.underruns(), 1u);
}

// Two devices, each with its own stream: a headphone device that stops calling back never
// holds up the main one, and one that cannot be opened leaves everything as it was. (A new
// main device keeping positions is checked on real devices.)
TEST(HeadphonesTest, ASecondDeviceThatStallsOrFailsToOpenLeavesTheMainOutputPlaying) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("tone.wav").toStdString();
    WriteWav(path, Tone(kCued, 20, kRate, 0.5f), kRate, 1);
    FakeCards cards;
    audio::Engine engine(cards.open(kRate), cards.opener());
    const std::string refused = engine.routeHeadphones(
        audio::HeadphoneRoute::SecondDevice,
        [](int) -> std::unique_ptr<audio::Output> { throw std::runtime_error("busy"); });
    EXPECT_EQ(refused, "busy");
    EXPECT_EQ(engine.headphoneRoute(), audio::HeadphoneRoute::None);
    ASSERT_EQ(engine.routeHeadphones(audio::HeadphoneRoute::SecondDevice, cards.opener()), "");
    EXPECT_EQ(engine.headphoneName(), "card 2");
    engine.setPrelisten(0, true);
    engine.load(0, audio::OpenDecoder(path));
    engine.play(0);
    ASSERT_TRUE(WaitFor([&] { return std::abs(cards.card(1).lastSample) > 0.01f; }))
        << "the headphones hear the pre-listened deck";
    cards.card(1).stalled = true;
    const long before = cards.card(0).frames;
    ASSERT_TRUE(WaitFor([&] { return cards.card(0).frames > before + kRate / 2; }));
    EXPECT_GT(std::abs(cards.card(0).lastSample), 0.01f) << "the main output plays on";
    EXPECT_EQ(engine.underruns(), 0u);
}
