#include "audio/DeckReader.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;
using namespace velmor::test;

namespace {

constexpr int kRate = 44100;

struct DeckReaderTest : ::testing::Test {
    // A ten-second tone playing from its start into a ring of 64 blocks, filled.
    DeckReaderTest() {
        const std::string path = dir.filePath("tone.wav").toStdString();
        WriteWav(path, Tone(440, 10, kRate), kRate, 1);
        audio::ReaderCommand play;
        play.generation = 1;
        play.track = 1;
        play.decoder = audio::OpenDecoder(path);
        reader.apply(play);
        fillUp();
    }
    void fillUp() {
        while (reader.fill(8)) {
        }
    }
    void drain(int blocks) {
        for (int i = 0; i < blocks; ++i)
            ring.pop();
    }

    QTemporaryDir dir;
    audio::BlockRing ring{64};
    audio::DeckReader reader{ring, kRate};
};

} // namespace

// A reader woken for a block or two finds its decoder and stretcher cold in the cache, so a
// ring the listener drains is topped up a quarter of it at a time, and then to the top.
TEST_F(DeckReaderTest, ARingIsToppedUpAQuarterAtATime) {
    EXPECT_EQ(ring.size(), 60u); // four blocks are kept for the start of a new request

    drain(15);
    EXPECT_FALSE(reader.fill(8));
    EXPECT_EQ(ring.size(), 45u);

    drain(1);
    fillUp();
    EXPECT_EQ(ring.size(), 60u);
}
