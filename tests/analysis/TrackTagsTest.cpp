// What a file's tags say of it: artist, title, album, genre and year, and the loudness its gain
// tags imply; a file without tags, or that is not sound at all, says nothing.

#include "analysis/TrackTags.h"
#include "support/AudioFixtures.h"
#include "support/TaggedFiles.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;

namespace {

struct TrackTagsTest : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // A second of tone as a WAV file, and as an MP3 made from it.
    QString wav(const QString& name) {
        const QString path = dir.path() + "/" + name;
        test::WriteWav(path.toStdString(), test::Stereo(test::Tone(440, 1, 44100)), 44100, 2);
        return path;
    }
    QString mp3(const QString& name) {
        const QString path = dir.path() + "/" + name;
        test::EncodeMp3(wav("source.wav").toStdString(), path.toStdString());
        return path;
    }
    static void tag(const QString& path,
                    const std::vector<std::pair<std::string, std::string>>& properties) {
        ASSERT_TRUE(test::WriteTags(path.toStdString(), properties));
    }

    QTemporaryDir dir;
};

} // namespace

// The year of its date, and the loudness its ReplayGain tag implies.
TEST_F(TrackTagsTest, AnMp3sTagsGiveItsArtistTitleAlbumGenreYearAndLoudness) {
    const QString path = mp3("track07_final(2).mp3");
    tag(path, {{"ARTIST", "Sébastien Tellier"},
               {"TITLE", "La Ritournelle"},
               {"ALBUM", "Politics"},
               {"GENRE", "Disco"},
               {"DATE", "1979-06-04"},
               {"REPLAYGAIN_TRACK_GAIN", "-4.50 dB"}});
    const TrackTags tags = ReadTrackTags(path);
    EXPECT_EQ(tags.artist, u"Sébastien Tellier"_qs);
    EXPECT_EQ(tags.title, "La Ritournelle");
    EXPECT_EQ(tags.album, "Politics");
    EXPECT_EQ(tags.genre, "Disco");
    EXPECT_EQ(tags.year, 1979);
    EXPECT_EQ(tags.taggedLoudness, -13.5);
}

TEST_F(TrackTagsTest, AFileWithoutTagsOrThatIsNotSoundSaysNothing) {
    EXPECT_EQ(ReadTrackTags(wav("plain.wav")), TrackTags{});
    const QString junk = dir.path() + "/junk.mp3";
    test::WriteBytes(junk.toStdString(), "this is not a sound file");
    EXPECT_EQ(ReadTrackTags(junk), TrackTags{});
    EXPECT_EQ(ReadTrackTags(dir.path() + "/gone.flac"), TrackTags{});
}

TEST(TaggedName, IsArtistDashTitleWhenTheTagsGiveBoth) {
    EXPECT_EQ(TaggedName({"Chic", "Good Times", "Risqué", {}}), u"Chic \u2013 Good Times"_qs);
    EXPECT_EQ(TaggedName({"Chic", "", "Risqué", {}}), "");
    EXPECT_EQ(TaggedName({"", "Good Times", "", {}}), "");
}
