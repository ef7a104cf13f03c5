// The library's results as the window lists them: artist, title, length, tempo and the mark
// of a track played tonight.

#include "library/LibraryModel.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

using namespace velmor;

namespace {

LibraryRow Row(const QString& path, const QString& artist, const QString& title) {
    LibraryRow row;
    row.path = path;
    row.name = "file name";
    row.artist = artist;
    row.title = title;
    row.seconds = 185.4;
    row.bpm = 127.96;
    return row;
}

struct LibraryModelTest : ::testing::Test {
    void SetUp() override {
        model.setRows(
            {Row("/m/beat.mp3", "Michael Jackson", "Beat It"), Row("/m/untitled.mp3", "", "")});
    }
    QString shown(int row, int column) const {
        return model.data(model.index(row, column)).toString();
    }
    LibraryModel model;
};

} // namespace

// Nothing for a length or a tempo not known.
TEST(LengthAndTempoText, AreMinutesAndTwoDigitSecondsAndTheTempoToATenth) {
    EXPECT_EQ(LengthText(59.99), "0:59");
    EXPECT_EQ(LengthText(600), "10:00");
    EXPECT_EQ(LengthText(3725), "62:05");
    EXPECT_EQ(LengthText(std::nullopt), "");
    EXPECT_EQ(LengthText(-1), "");
    EXPECT_EQ(TempoText(127.96), "128.0");
    EXPECT_EQ(TempoText(std::nullopt), "");
    EXPECT_EQ(TempoText(0), "");
}

// The title, or the file name where there is none; the track's path for the window.
TEST_F(LibraryModelTest, ARowShowsArtistTitleLengthAndTempo) {
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.columnCount(), 5);
    EXPECT_EQ(shown(0, LibraryModel::Artist), "Michael Jackson");
    EXPECT_EQ(shown(0, LibraryModel::Title), "Beat It");
    EXPECT_EQ(shown(0, LibraryModel::Length), "3:05");
    EXPECT_EQ(shown(0, LibraryModel::Tempo), "128.0");
    EXPECT_EQ(shown(1, LibraryModel::Title), "file name");
    EXPECT_EQ(model.data(model.index(1, 0), LibraryModel::PathRole).toString(), "/m/untitled.mp3");
}

TEST_F(LibraryModelTest, TracksPlayedTonightAreMarked) {
    QSignalSpy changed(&model, &LibraryModel::dataChanged);
    model.setPlayed({"/m/beat.mp3"});
    EXPECT_EQ(shown(0, LibraryModel::Played), "\u2713");
    EXPECT_EQ(shown(1, LibraryModel::Played), "");
    EXPECT_EQ(model.data(model.index(0, LibraryModel::Played), Qt::AccessibleTextRole).toString(),
              "played tonight");
    EXPECT_EQ(changed.size(), 1);
}

TEST_F(LibraryModelTest, AMissingTrackSaysWhy) {
    LibraryRow gone = Row("/stick/a.mp3", "A", "B");
    gone.missing = true;
    model.setRows({gone});
    EXPECT_EQ(model.data(model.index(0, 0), Qt::ToolTipRole).toString(),
              "Its music folder is not there");
}

TEST_F(LibraryModelTest, TheSameResultsAgainLeaveTheListAsItStands) {
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setRows(
        {Row("/m/beat.mp3", "Michael Jackson", "Beat It"), Row("/m/untitled.mp3", "", "")});
    EXPECT_EQ(reset.count(), 0);
    model.setRows({Row("/m/beat.mp3", "Michael Jackson", "Beat It")});
    EXPECT_EQ(reset.count(), 1);
}

TEST_F(LibraryModelTest, DraggedRowsAreTheirFilesEachOnceInListOrder) {
    EXPECT_TRUE(model.flags(model.index(0, LibraryModel::Title)) & Qt::ItemIsDragEnabled);
    const std::unique_ptr<QMimeData> dragged(
        model.mimeData({model.index(1, LibraryModel::Title), model.index(0, LibraryModel::Artist),
                        model.index(1, LibraryModel::Artist)}));
    EXPECT_TRUE(dragged->hasFormat("text/uri-list"));
    EXPECT_EQ(dragged->urls(),
              (QList<QUrl>{QUrl("file:///m/beat.mp3"), QUrl("file:///m/untitled.mp3")}));
}
