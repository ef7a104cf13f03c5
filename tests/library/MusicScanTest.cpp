// The scan of the music folders into the library: new and changed files read, unchanged ones
// not opened, gone ones dropped, a folder not there kept and marked missing until it is back.

#include "library/MusicScan.h"
#include "LibraryFixture.h"
#include "analysis/AnalysisCache.h"
#include "library/LibrarySearch.h"
#include "support/AsAnyUser.h"
#include "support/AudioFixtures.h"
#include "support/TaggedFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace velmor;

namespace {

struct MusicScanTest : test::LibraryFixture {
    void SetUp() override {
        LibraryFixture::SetUp();
        ASSERT_TRUE(QDir().mkpath(music + "/disco"));
        tools.extensions = {"wav", "mp3"};
        tools.read = [this](const QString& file) {
            reads.append(QFileInfo(file).fileName());
            return ReadTaggedTrack(file);
        };
    }

    // A tenth of a second of tone per tenth asked for, tagged with an artist and a title.
    QString track(const QString& name, const std::string& artist, const std::string& title,
                  int tenths = 1) {
        const QString file = music + "/" + name;
        test::WriteWav(file.toStdString(), test::Tone(440, tenths / 10.0, 8000), 8000, 1);
        EXPECT_TRUE(test::WriteTags(file.toStdString(), {{"ARTIST", artist}, {"TITLE", title}}));
        return file;
    }
    ScanSummary scan() {
        reads.clear();
        const std::atomic<bool> cancelled{false};
        return ScanMusicFolders(database.connection(), {music}, tools, cancelled,
                                [](qint64, qint64) {});
    }
    std::vector<LibraryRow> everything() { return LibrarySearch(database.connection()).search(""); }

    const QString music = dir.path() + "/Music";
    ScanTools tools;
    QStringList reads;
};

} // namespace

// Other types, and the hidden files other systems leave, are passed over without a word.
TEST_F(MusicScanTest, AFirstScanReadsEveryPlayableFileBelowTheFolders) {
    track("a.wav", "Chic", "Good Times");
    track("disco/b.wav", "Sister Sledge", "We Are Family");
    test::WriteBytes((music + "/cover.jpg").toStdString(), "not music");
    test::WriteBytes((music + "/._a.wav").toStdString(), "a Mac's shadow of a.wav");
    const ScanSummary summary = scan();
    EXPECT_EQ(summary.tracks, 2);
    EXPECT_EQ(summary.read, 2);
    EXPECT_EQ(reads.size(), 2);
    EXPECT_TRUE(summary.passedOver.empty());
}

TEST_F(MusicScanTest, ATrackKeepsItsTagsFolderAndLength) {
    track("disco/b.wav", "Sister Sledge", "We Are Family", 5);
    scan();
    const std::vector<LibraryRow> rows = everything();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].path, music + "/disco/b.wav");
    EXPECT_EQ(rows[0].artist, "Sister Sledge");
    EXPECT_EQ(rows[0].title, "We Are Family");
    EXPECT_EQ(rows[0].seconds, 0.5);
    EXPECT_EQ(database.connection().integer("SELECT count(*) FROM tracks WHERE folder = '" + music +
                                            "/disco'"),
              1);
}

// Changed in its size, or written again at the same size.
TEST_F(MusicScanTest, ARescanReadsOnlyTheChangedFile) {
    const QString a = track("a.wav", "Chic", "Good Times");
    track("b.wav", "Chic", "Le Freak");
    scan();
    track("b.wav", "Chic", "Le Freak (Extended)", 3);
    const ScanSummary summary = scan();
    EXPECT_EQ(reads, QStringList{"b.wav"});
    EXPECT_EQ(summary.read, 1);
    EXPECT_EQ(summary.tracks, 2);
    EXPECT_EQ(LibrarySearch(database.connection()).search("extended").size(), 1u);
    QFile touched(a);
    ASSERT_TRUE(touched.open(QIODevice::ReadWrite));
    ASSERT_TRUE(touched.setFileTime(QDateTime::currentDateTime().addSecs(60),
                                    QFileDevice::FileModificationTime));
    touched.close();
    scan();
    EXPECT_EQ(reads, QStringList{"a.wav"});
}

// A file removed, then every file of a folder no longer listed.
TEST_F(MusicScanTest, TracksGoneFromTheFoldersAreDropped) {
    track("a.wav", "Chic", "Good Times");
    const QString gone = track("b.wav", "Chic", "Le Freak");
    scan();
    ASSERT_TRUE(QFile::remove(gone));
    const ScanSummary summary = scan();
    EXPECT_EQ(summary.dropped, 1);
    EXPECT_EQ(summary.tracks, 1);
    EXPECT_EQ(everything().at(0).title, "Good Times");
    const std::atomic<bool> cancelled{false};
    const ScanSummary unlisted =
        ScanMusicFolders(database.connection(), {}, tools, cancelled, [](qint64, qint64) {});
    EXPECT_EQ(unlisted.tracks, 0);
}

// A stick not mounted: its tracks stay, marked missing, and come back as they were.
TEST_F(MusicScanTest, AnUnmountedFolderKeepsItsTracksMarkedMissingUntilItIsBack) {
    track("a.wav", "Chic", "Good Times");
    track("disco/b.wav", "Sister Sledge", "We Are Family");
    scan();
    const QString away = dir.path() + "/away";
    ASSERT_TRUE(QDir().rename(music, away));
    const ScanSummary unmounted = scan();
    EXPECT_EQ(unmounted.tracks, 2);
    EXPECT_EQ(unmounted.missingFolders, QStringList{music});
    EXPECT_TRUE(everything().at(0).missing);
    EXPECT_TRUE(everything().at(1).missing);

    ASSERT_TRUE(QDir().rename(away, music));
    const ScanSummary back = scan();
    EXPECT_EQ(back.tracks, 2);
    EXPECT_EQ(reads, QStringList{});
    EXPECT_FALSE(everything().at(0).missing);
    EXPECT_FALSE(everything().at(1).missing);
}

// The mount point of a stick is an empty folder while the stick is out.
TEST_F(MusicScanTest, AnEmptyFolderThatHadTracksIsTakenForUnmounted) {
    const QString file = track("a.wav", "Chic", "Good Times");
    scan();
    ASSERT_TRUE(QFile::remove(file));
    const ScanSummary summary = scan();
    EXPECT_EQ(summary.tracks, 1);
    EXPECT_TRUE(everything().at(0).missing);
}

TEST_F(MusicScanTest, AFileThatIsNotSoundIsSkippedAndCounted) {
    track("a.wav", "Chic", "Good Times");
    test::WriteBytes((music + "/broken.mp3").toStdString(), "this is not a sound file");
    const ScanSummary summary = scan();
    EXPECT_EQ(summary.tracks, 1);
    ASSERT_EQ(summary.passedOver.size(), 1u);
    EXPECT_EQ(summary.passedOver[0].path, music + "/broken.mp3");
    EXPECT_EQ(summary.passedOver[0].why, "it is not a sound file that can be read");
}

TEST_F(MusicScanTest, AnUnreadableFolderIsSkippedCountedAndItsTracksKept) {
    track("a.wav", "Chic", "Good Times");
    track("disco/b.wav", "Sister Sledge", "We Are Family");
    scan();
    ASSERT_EQ(chmod(QFile::encodeName(music + "/disco").constData(), 0), 0);
    const test::AsAnyUser asAnyUser;
    const ScanSummary summary = scan();
    chmod(QFile::encodeName(music + "/disco").constData(), 0755);
    EXPECT_EQ(summary.tracks, 2);
    ASSERT_EQ(summary.passedOver.size(), 1u);
    EXPECT_EQ(summary.passedOver[0].path, music + "/disco");
    EXPECT_EQ(summary.passedOver[0].why, "you have no permission to read it");
    EXPECT_TRUE(summary.passedOver[0].folder);
}

TEST_F(MusicScanTest, AFolderLinkedIntoItselfIsWalkedOnce) {
    track("disco/b.wav", "Sister Sledge", "We Are Family");
    ASSERT_TRUE(QFile::link(music, music + "/disco/loop"));
    const ScanSummary summary = scan();
    EXPECT_EQ(summary.tracks, 1);
}

TEST_F(MusicScanTest, ALookInTheAnalysisCacheGivesLoudnessBoundsAndTempo) {
    const QString file = track("a.wav", "Chic", "Good Times", 10);
    const AnalysisCache cache(dir.path() + "/looks");
    TrackLook look;
    look.facts.lengthSeconds = 1;
    look.facts.loudness = -9.5;
    look.facts.soundStart = 0.25;
    look.facts.soundEnd = 0.75;
    look.facts.bpm = 112;
    cache.keep(file, *StampOf(file), look);
    tools.cache = &cache;
    scan();
    sqlite::Statement row =
        database.connection().prepare("SELECT loudness, sound_start, sound_end, bpm FROM tracks");
    ASSERT_TRUE(row.step());
    EXPECT_EQ(row.number(0), -9.5);
    EXPECT_EQ(row.number(1), 0.25);
    EXPECT_EQ(row.number(2), 0.75);
    EXPECT_EQ(row.number(3), 112.0);
}

TEST_F(MusicScanTest, ACancelledScanDropsNothing) {
    track("a.wav", "Chic", "Good Times");
    scan();
    const std::atomic<bool> cancelled{true};
    const ScanSummary summary =
        ScanMusicFolders(database.connection(), {}, tools, cancelled, [](qint64, qint64) {});
    EXPECT_TRUE(summary.cancelled);
    EXPECT_EQ(summary.tracks, 1);
}
