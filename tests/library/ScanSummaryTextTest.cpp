// The sentence a scan ends with: how many tracks, what could not be read and why, which music
// folders are not there.

#include "library/MusicScan.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {

PassedOver File(const QString& path, const QString& why) {
    return {path, why, false};
}

} // namespace

TEST(ScanSummaryText, CountsTheTracksWithThousandsSeparated) {
    ScanSummary summary;
    summary.tracks = 12034;
    EXPECT_EQ(ScanSummaryText(summary), "12,034 tracks");
    summary.tracks = 1;
    EXPECT_EQ(ScanSummaryText(summary), "1 track");
}

TEST(ScanSummaryText, NamesTheFirstThreeAndCountsTheRest) {
    ScanSummary summary;
    summary.tracks = 10;
    summary.passedOver = {File("/m/a.mp3", "x"), File("/m/b.mp3", "x"), File("/m/c.mp3", "x"),
                          File("/m/d.mp3", "x")};
    EXPECT_EQ(ScanSummaryText(summary),
              "10 tracks; 4 files could not be read: a.mp3 (x), b.mp3 (x), c.mp3 (x), \u2026");
}

TEST(ScanSummaryText, CountsFoldersApartFromFiles) {
    ScanSummary summary;
    summary.tracks = 3;
    summary.passedOver = {File("/m/a.mp3", "x"), {"/m/Private", "no permission", true}};
    EXPECT_EQ(
        ScanSummaryText(summary),
        "3 tracks; 1 file and 1 folder could not be read: a.mp3 (x), Private (no permission)");
}

TEST(ScanSummaryText, NamesTheMusicFoldersThatAreNotThere) {
    ScanSummary summary;
    summary.tracks = 5;
    summary.missingFolders = {"/media/stick"};
    EXPECT_EQ(ScanSummaryText(summary), "5 tracks; a music folder is not there: /media/stick");
    summary.missingFolders.append("/media/disk");
    EXPECT_EQ(ScanSummaryText(summary),
              "5 tracks; 2 music folders are not there: /media/stick, /media/disk");
}

TEST(ScanSummaryText, SaysWhenTheLibraryCouldNotBeWritten) {
    ScanSummary summary;
    summary.failure = "database or disk is full";
    EXPECT_EQ(ScanSummaryText(summary),
              "0 tracks; the library could not be written: database or disk is full");
}
