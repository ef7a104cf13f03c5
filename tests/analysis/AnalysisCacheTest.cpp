#include "analysis/AnalysisCache.h"
#include "analysis/TrackAnalyser.h"
#include "audio/Decoder.h"
#include "support/AudioFixtures.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>

using namespace velmor;

namespace {

// A track in a folder of its own, with a cache beside it and a count of the decoders opened.
struct CacheTest : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        test::WriteWav(track.toStdString(), test::Stereo(test::Tone(440, 3, 44100)), 44100, 2);
    }
    std::optional<TrackLook> Look() {
        const std::atomic<bool> cancelled{false};
        return LookOnce(track, cache, open, cancelled);
    }

    QTemporaryDir dir;
    const QString track = dir.path() + "/track.wav";
    const AnalysisCache cache{dir.path() + "/cache"};
    int opened = 0;
    const OpenDecoderFunction open = [this](const std::string& path) {
        ++opened;
        return audio::OpenDecoder(path);
    };
};

} // namespace

// A track seen once is not decoded for a look again, and its look comes back whole, until the
// file is written at another time, even at the same size.
TEST_F(CacheTest, ATrackIsDecodedForALookOnlyOnceUntilItsTimeChanges) {
    const std::optional<TrackLook> first = Look();
    const std::optional<TrackLook> second = Look();
    EXPECT_EQ(opened, 1);
    ASSERT_TRUE(first.has_value());
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(*second, *first);
    QFile file(track);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                 QFileDevice::FileModificationTime));
    file.close();
    Look();
    EXPECT_EQ(opened, 2);
}

// A damaged cache file is passed over without a word and written anew.
TEST_F(CacheTest, DamagedFileIsIgnoredAndRebuilt) {
    Look();
    const QString kept = cache.fileFor(track);
    std::string bytes = test::ReadBytes(kept.toStdString());
    bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x55);
    test::WriteBytes(kept.toStdString(), bytes);
    const std::optional<TrackLook> rebuilt = Look();
    EXPECT_EQ(opened, 2);
    ASSERT_TRUE(rebuilt.has_value());
    EXPECT_DOUBLE_EQ(rebuilt->facts.lengthSeconds, 3.0);
    Look();
    EXPECT_EQ(opened, 2);
}

// Another track kept under the same name (as a hash collision would) is not this one's.
TEST_F(CacheTest, LookOfAnotherPathIsNotFound) {
    const std::optional<FileStamp> stamp = StampOf(track);
    ASSERT_TRUE(stamp.has_value());
    cache.keep(dir.path() + "/other.wav", *stamp, TrackLook{});
    QFile::rename(cache.fileFor(dir.path() + "/other.wav"), cache.fileFor(track));
    EXPECT_FALSE(cache.find(track, *stamp).has_value());
}

// A file that cannot be read gives no look, and nothing is kept for it.
TEST_F(CacheTest, UnreadableFileGivesNoLook) {
    test::WriteBytes(track.toStdString(), "not a sound");
    EXPECT_FALSE(Look().has_value());
    EXPECT_FALSE(QFile::exists(cache.fileFor(track)));
}

// A track is known again by its size and its modification time in milliseconds since the
// epoch, the numbers looks were kept under before; a folder has no stamp.
TEST_F(CacheTest, StampIsTheSizeAndTheModificationTimeInMilliseconds) {
    test::WriteBytes(track.toStdString(), "0123456789");
    QFile file(track);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::fromMSecsSinceEpoch(1'700'000'000'123, Qt::UTC),
                                 QFileDevice::FileModificationTime));
    file.close();
    const std::optional<FileStamp> stamp = StampOf(track);
    ASSERT_TRUE(stamp.has_value());
    EXPECT_EQ(stamp->size, 10);
    EXPECT_EQ(stamp->modifiedMs, 1'700'000'000'123);
    EXPECT_FALSE(StampOf(dir.path()).has_value());
}
