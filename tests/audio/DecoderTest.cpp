#include "audio/Decoder.h"
#include "audio/PlayableTypes.h"
#include "support/AsNobody.h"
#include "support/AudioFixtures.h"

#include <QTemporaryDir>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <mpg123.h>
#include <sndfile.h>
#include <sys/stat.h>

using namespace velmor;
using namespace velmor::test;

namespace {

class DecoderTest : public ::testing::Test {
protected:
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    QTemporaryDir dir;
};

// The reason OpenDecoder gives for a file, "" when it opens.
std::string Refusal(const std::string& path) {
    try {
        audio::OpenDecoder(path);
    } catch (const audio::DecodeError& e) {
        return e.what();
    }
    return "";
}

// How many frames libmpg123 gives of a file when read to its very end, lengths aside.
int64_t FramesThatDecode(const std::string& path) {
    mpg123_init();
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    mpg123_param(handle, MPG123_FLAGS, MPG123_GAPLESS | MPG123_QUIET | MPG123_FORCE_STEREO, 0);
    mpg123_open(handle, path.c_str());
    std::vector<unsigned char> buffer(1 << 16);
    int64_t frames = 0;
    for (;;) {
        size_t done = 0;
        const int result = mpg123_read(handle, buffer.data(), buffer.size(), &done);
        frames += static_cast<int64_t>(done / 4); // 16-bit stereo
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
            break;
    }
    mpg123_delete(handle);
    return frames;
}

} // namespace

// Mono WAV (named .mp3 here) is given on both channels; every seek lands on the exact frame.
TEST_F(DecoderTest, WavGivesItsSamplesOnBothChannelsWhateverItsNameAndSeeksToTheFrame) {
    const auto mono = Sweep(2, 44100);
    WriteWav(path("mono.mp3"), mono, 44100, 1);
    auto decoder = audio::OpenDecoder(path("mono.mp3"));
    EXPECT_EQ(decoder->sampleRate(), 44100);
    ASSERT_EQ(decoder->lengthFrames(), static_cast<int64_t>(mono.size()));
    const auto all = DecodeAll(path("mono.mp3"));
    for (size_t i = 0; i < mono.size(); i += 97) {
        EXPECT_NEAR(all[2 * i], mono[i], 1.0 / 32768);
        EXPECT_EQ(all[2 * i], all[2 * i + 1]);
    }
    for (int64_t target : {int64_t{12345}, int64_t{85000}, int64_t{0}, int64_t{47}}) {
        decoder->seek(target);
        std::vector<float> got(2 * 100);
        ASSERT_EQ(decoder->read(got.data(), 100), 100);
        for (int i = 0; i < 200; ++i)
            ASSERT_EQ(got[i], all[2 * target + i]) << "seek to " << target;
    }
}

// With an info tag, the length is the source's and the encoder's delay is gone; without
// one the frames are walked for it, also behind an ID3v2 tag (one so long that the frames
// after it lie across the megabytes the file is read in). Seeks match a straight read.
TEST_F(DecoderTest, Mp3LengthIsWhatItsFramesGiveAndSeeksMatchAStraightRead) {
    const auto source = Tone(440, 6.0, 44100);
    WriteWav(path("tone.wav"), source, 44100, 1);
    EncodeMp3(path("tone.wav"), path("cbr.mp3"), "-b 192");
    EncodeMp3(path("tone.wav"), path("vbr.mp3"), "-t -V 4");
    const auto tagged = [&](const char* name, size_t size) {
        const char head[10] = {'I',
                               'D',
                               '3',
                               3,
                               0,
                               0,
                               char((size >> 21) & 0x7F),
                               char((size >> 14) & 0x7F),
                               char((size >> 7) & 0x7F),
                               char(size & 0x7F)};
        WriteBytes(path(name),
                   std::string(head, 10) + std::string(size, '\0') + ReadBytes(path("vbr.mp3")));
    };
    tagged("tagged.mp3", 10);
    tagged("long-tag.mp3", (size_t{1} << 20) - 3000);
    for (const char* name : {"cbr.mp3", "vbr.mp3", "tagged.mp3", "long-tag.mp3"}) {
        auto decoder = audio::OpenDecoder(path(name));
        const auto all = DecodeAll(path(name));
        EXPECT_EQ(decoder->lengthFrames(), FramesThatDecode(path(name))) << name;
        if (name[0] == 'c') {
            EXPECT_EQ(decoder->lengthFrames(), static_cast<int64_t>(source.size()));
            double error = 0;
            for (size_t i = 2000; i < source.size() - 2000; ++i)
                error = std::max(error, std::abs(static_cast<double>(all[2 * i]) - source[i]));
            EXPECT_LT(error, 0.05) << "the decoded tone lines up with the source";
        } else { // the encoder's delay and padding stay in, but no more than that
            EXPECT_NEAR(decoder->lengthFrames(), 6 * 44100, 3 * 1152) << name;
        }
        for (int64_t target : {int64_t{200000}, int64_t{1}, int64_t{150001}, int64_t{1152 * 7}}) {
            decoder->seek(target);
            std::vector<float> got(2 * 1000);
            ASSERT_EQ(decoder->read(got.data(), 1000), 1000);
            for (int i = 0; i < 2000; ++i)
                ASSERT_NEAR(got[i], all[2 * target + i], 1e-4) << name << " seek to " << target;
        }
    }
}

// An interrupted copy keeps the info tag that counts the whole track: the length is what the
// frames present give, so that the deck's countdown ends when the sound does.
TEST_F(DecoderTest, Mp3CutShortHasTheLengthOfWhatItHolds) {
    WriteWav(path("tone.wav"), Tone(440, 10, 44100, 0.5f), 44100, 1);
    for (const char* options : {"-b 192", "-V 2", "-b 128 --add-id3v2 --tt Title"}) {
        EncodeMp3(path("tone.wav"), path("whole.mp3"), options);
        const std::string whole = ReadBytes(path("whole.mp3"));
        for (double kept : {0.4, 0.9}) {
            WriteBytes(path("cut.mp3"), whole.substr(0, static_cast<size_t>(whole.size() * kept)));
            const int64_t decodes = FramesThatDecode(path("cut.mp3"));
            EXPECT_NEAR(audio::OpenDecoder(path("cut.mp3"))->lengthFrames(), decodes, 1152)
                << options << " " << kept;
            EXPECT_LT(decodes, 441000 * kept + 1152) << options << " " << kept;
        }
        EXPECT_EQ(audio::OpenDecoder(path("whole.mp3"))->lengthFrames(), 441000) << options;
    }
}

TEST_F(DecoderTest, BadFilesAreRefusedWithTheirReason) {
    WriteWav(path("whole.wav"), Tone(440, 1, 44100), 44100, 1);
    EncodeMp3(path("whole.wav"), path("whole.mp3"), "-b 320");
    WriteBytes(path("empty.mp3"), "");
    WriteBytes(path("text.mp3"), std::string(5000, 'x') + "Not music at all.\n");
    WriteBytes(path("header.wav"), ReadBytes(path("whole.wav")).substr(0, 20));
    // What is left of an MP3 copy that broke off after 1,500 bytes.
    WriteBytes(path("cut.mp3"), ReadBytes(path("whole.mp3")).substr(0, 1500));
    const std::pair<const char*, const char*> cases[] = {
        {"missing.wav", "it cannot be read (No such file or directory)"},
        {"empty.mp3", "it is empty"},
        {"text.mp3", "it is not an audio file"},
        {"header.wav", "it is damaged"},
        {"cut.mp3", "it is cut short"},
    };
    for (const auto& [name, reason] : cases)
        EXPECT_EQ(Refusal(path(name)), reason) << name;
    // A WAV whose data breaks off before its header says gives what it holds.
    const std::string wav = ReadBytes(path("whole.wav"));
    WriteBytes(path("cut.wav"), wav.substr(0, wav.size() / 2));
    EXPECT_LE(DecodeAll(path("cut.wav")).size(), wav.size() / 2);
    // As root every file is readable, so this refusal is checked as the nobody user.
    chmod(path("whole.wav").c_str(), 0);
    chmod(dir.path().toLocal8Bit().constData(), 0755); // the folder open, the file not
    EXPECT_TRUE(HoldsAsNobody(
        [&] { return Refusal(path("whole.wav")) == "it cannot be read (Permission denied)"; }));
}

TEST_F(DecoderTest, SavedFuzzCorpusNeitherCrashesNorHangs) {
    const auto corpus = std::filesystem::path(__FILE__).parent_path() / "corpus";
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
        if (!entry.is_regular_file())
            continue;
        ++files;
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
    EXPECT_GT(files, 0);
}

// Every type the engine says it plays opens and gives its tone, written here by libsndfile.
TEST_F(DecoderTest, EveryTypeTheEngineNamesPlays) {
    const std::map<std::string, int> formats{
        {"wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},  {"aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16},
        {"aif", SF_FORMAT_AIFF | SF_FORMAT_PCM_16}, {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},  {"oga", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"opus", SF_FORMAT_OGG | SF_FORMAT_OPUS}};
    const auto types = audio::PlayableExtensions();
    EXPECT_EQ(types.front(), "mp3"); // libmpg123's, tested above
    const auto tone = Tone(440, 1.0, 48000);
    for (const std::string& type : types) {
        if (type == "mp3")
            continue;
        ASSERT_TRUE(formats.count(type)) << type;
        const std::string file = path(("tone." + type).c_str());
        SF_INFO info{};
        info.samplerate = 48000, info.channels = 1, info.format = formats.at(type);
        SNDFILE* out = sf_open(file.c_str(), SFM_WRITE, &info);
        ASSERT_NE(out, nullptr) << type << ": " << sf_strerror(nullptr);
        sf_write_float(out, tone.data(), sf_count_t(tone.size()));
        sf_close(out);
        const auto decoded = DecodeAll(file);
        ASSERT_NEAR(double(decoded.size()) / 2, 48000, 1000) << type;
        EXPECT_NEAR(Frequency(decoded, 4800, 43200, 48000), 440, 2) << type;
    }
}
