// The marks a deck's playlist puts on the entries of tracks played tonight.

#include "playlist/DeckPlaylist.h"

#include <QFont>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace velmor;

namespace {
// Entries "a" to "c" in "/m", and another "a" in "/x".
struct PlayedMarksTest : ::testing::Test {
    DeckPlaylist list;
    void SetUp() override { list.append({{"a", "/m"}, {"b", "/m"}, {"c", "/m"}, {"a", "/x"}}); }
    QVariant shown(int row, int role) const { return list.data(list.index(row), role); }
    QFont font(int row) const { return shown(row, Qt::FontRole).value<QFont>(); }
};
} // namespace

TEST_F(PlayedMarksTest, APlayedEntryIsItalic) {
    list.setPlayed({"/m/b"});
    EXPECT_TRUE(font(1).italic());
}

TEST_F(PlayedMarksTest, TheSameNameInAnotherFolderIsNotMarked) {
    list.setPlayed({"/m/a"});
    EXPECT_FALSE(shown(3, Qt::FontRole).isValid());
}

TEST_F(PlayedMarksTest, APlayedEntrySaysSoToAssistiveTools) {
    list.setPlayed({"/m/c"});
    EXPECT_EQ(shown(2, Qt::ToolTipRole).toString(), "Played tonight");
    EXPECT_EQ(shown(2, Qt::AccessibleDescriptionRole).toString(), "Played tonight");
}

TEST_F(PlayedMarksTest, AnUnplayableReasonComesFirst) {
    list.setPlayed({"/m/a"});
    list.markUnplayable(0, "It is not there.");
    EXPECT_EQ(shown(0, Qt::ToolTipRole).toString(), "It is not there.");
}

TEST_F(PlayedMarksTest, AnEmptySetTakesTheMarksAway) {
    list.setPlayed({"/m/a"});
    list.setPlayed({});
    EXPECT_FALSE(shown(0, Qt::FontRole).isValid());
    EXPECT_FALSE(shown(0, Qt::ToolTipRole).isValid());
}

TEST_F(PlayedMarksTest, TheViewsHearOfTheMarksOnceForTheWholeList) {
    QSignalSpy spy(&list, &QAbstractItemModel::dataChanged);
    list.setPlayed({"/m/a", "/m/c"});
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy[0][0].toModelIndex().row(), 0);
    EXPECT_EQ(spy[0][1].toModelIndex().row(), 3);
}
