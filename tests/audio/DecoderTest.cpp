#include "audio/Decoder.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>
#include <mpg123.h>

using namespace velmor;
using namespace velmor::test;

namespace {

class DecoderTest : public ::testing::Test {
protected:
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    QTemporaryDir dir;
};

// How many frames libmpg123 gives of a file when read to its very end, lengths aside.
int64_t FramesThatDecode(const std::string& path) {
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    mpg123_param(handle, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET | MPG123_FORCE_STEREO, 0);
    mpg123_open(handle, path.c_str());
    std::vector<unsigned char> buffer(1 << 16);
    size_t done = 0; // bytes of 16-bit stereo
    int64_t frames = 0;
    for (int r = MPG123_OK; r == MPG123_OK || r == MPG123_NEW_FORMAT; frames += done / 4)
        r = mpg123_read(handle, buffer.data(), buffer.size(), &done);
    mpg123_delete(handle);
    return frames;
}

} // namespace

// With an info tag (behind an ID3v2 tag here) the length is the source's, the encoder's
// delay gone; an interrupted copy keeps the tag that counts the whole track, and its length
// is what the frames present give, so that the countdown ends when the sound does. Without
// one the frames are walked for it, also behind an ID3v2 tag (one so long that the frames
// after it lie across the megabytes the file is read in). Seeks match a straight read.
TEST_F(DecoderTest, Mp3LengthIsWhatItsFramesGiveAndSeeksMatchAStraightRead) {
    const auto source = Tone(440, 6.0, 44100, 0.5f);
    WriteWav(path("tone.wav"), source, 44100, 1);
    EncodeMp3(path("tone.wav"), path("cbr.mp3"), "-b 192 --add-id3v2 --tt Title");
    EncodeMp3(path("tone.wav"), path("bare.mp3"), "-t -V 4");
    EncodeMp3(path("tone.wav"), path("vbr.mp3"), "-V 2");
    const size_t tag = (size_t{1} << 20) - 3000;
    std::string head("ID3\3\0\0", 6); // its size in four bytes of seven bits
    for (int shift : {21, 14, 7, 0})
        head += char((tag >> shift) & 0x7F);
    WriteBytes(path("long-tag.mp3"), head + std::string(tag, '\0') + ReadBytes(path("bare.mp3")));
    for (const std::string name : {"cbr.mp3", "bare.mp3", "long-tag.mp3", "vbr.mp3"}) {
        auto decoder = audio::OpenDecoder(path(name.c_str()));
        const auto all = DecodeAll(path(name.c_str()));
        EXPECT_EQ(decoder->lengthFrames(), FramesThatDecode(path(name.c_str()))) << name;
        for (int64_t target : {200000, 1, 150001, 1152 * 7}) { // each matches a straight read
            decoder->seek(target);
            std::vector<float> got(2 * 1000);
            ASSERT_EQ(decoder->read(got.data(), 1000), 1000);
            for (int i = 0; i < 2000; ++i)
                ASSERT_NEAR(got[i], all[2 * target + i], 1e-4) << name << " seek to " << target;
        }
        if (name != "cbr.mp3") // without a tag the delay and padding stay
            continue;
        EXPECT_EQ(decoder->lengthFrames(), static_cast<int64_t>(source.size()));
        for (size_t i = 2000; i < source.size() - 2000; ++i) // the tone lines up with the source
            ASSERT_NEAR(all[2 * i], source[i], 0.05) << i;
        const std::string whole = ReadBytes(path(name.c_str()));
        for (double kept : {0.4, 0.9}) {
            WriteBytes(path("cut.mp3"), whole.substr(0, static_cast<size_t>(whole.size() * kept)));
            EXPECT_NEAR(audio::OpenDecoder(path("cut.mp3"))->lengthFrames(),
                        FramesThatDecode(path("cut.mp3")), 1152)
                << name << " " << kept;
        }
    }
}

// Bad files are refused with their reason; each saved fuzz input either opens, reads to its
// end within its length and seeks, or is refused, and none crashes or hangs.
TEST_F(DecoderTest, BadFilesAreRefusedWithTheirReasonAndNoSavedInputCrashes) {
    WriteWav(path("whole.wav"), Tone(440, 1, 44100), 44100, 1);
    EncodeMp3(path("whole.wav"), path("whole.mp3"), "-b 320");
    const std::tuple<std::string, std::string, const char*> cases[] = {
        // In a folder that is not there, so that nothing is written.
        {"gone/missing.wav", "", "it cannot be read (No such file or directory)"},
        {"empty.mp3", "", "it is empty"},
        {"text.mp3", std::string(5000, 'x') + "Not music at all.\n", "it is not an audio file"},
        {"header.wav", ReadBytes(path("whole.wav")).substr(0, 20), "it is damaged"},
        // What is left of an MP3 copy that broke off after 1,500 bytes.
        {"cut.mp3", ReadBytes(path("whole.mp3")).substr(0, 1500), "it is cut short"},
    };
    for (const auto& [name, bytes, reason] : cases) {
        WriteBytes(path(name.c_str()), bytes);
        try {
            audio::OpenDecoder(path(name.c_str()));
            ADD_FAILURE() << name << " opened";
        } catch (const audio::DecodeError& e) {
            EXPECT_STREQ(e.what(), reason) << name;
        }
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(VELMOR_DECODER_CORPUS)) {
        if (!entry.is_regular_file())
            continue;
        try {
            auto decoder = audio::OpenDecoder(entry.path().string());
            std::vector<float> block(2 * 4096);
            int64_t total = 0;
            while (const int64_t got = decoder->read(block.data(), 4096))
                total += got;
            EXPECT_LE(total, decoder->lengthFrames()) << entry.path();
            decoder->seek(decoder->lengthFrames() / 2);
            decoder->read(block.data(), 4096);
        } catch (const audio::DecodeError& e) {
            EXPECT_STRNE(e.what(), "") << entry.path();
        }
    }
}

// A stereo WAV keeps its channels apart, read straight through and after a seek.
TEST_F(DecoderTest, AStereoWavKeepsItsChannelsApart) {
    std::vector<float> stereo(2 * 4410);
    for (size_t i = 0; i < stereo.size(); ++i)
        stereo[i] = (i % 2 ? -0.25f : 0.5f) * static_cast<float>(i % 7) / 7;
    WriteWav(path("lr.wav"), stereo, 44100, 2);
    const auto all = DecodeAll(path("lr.wav"));
    ASSERT_EQ(all.size(), stereo.size());
    auto decoder = audio::OpenDecoder(path("lr.wav"));
    decoder->seek(1000);
    std::vector<float> after(2 * 10);
    ASSERT_EQ(decoder->read(after.data(), 10), 10);
    for (size_t i = 0; i < stereo.size(); ++i)
        ASSERT_NEAR(all[i], stereo[i], 1e-4) << i;
    EXPECT_EQ(after, std::vector<float>(all.begin() + 2000, all.begin() + 2020));
}
