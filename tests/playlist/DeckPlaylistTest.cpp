// A deck's playlist as a model: its entries, their marks and what its views are told.

#include "playlist/DeckPlaylist.h"
#include "common/FileNames.h"
#include "legacy/Error.h"
#include "support/Failure.h"

#include <QFont>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace velmor;

namespace {
// Six entries "a" to "f", in the folders "/0" to "/5".
struct DeckPlaylistTest : ::testing::Test {
    DeckPlaylist list;
    void SetUp() override {
        list.append({{"a", "/0"}, {"b", "/1"}, {"c", "/2"}, {"d", "/3"}, {"e", "/4"}, {"f", "/5"}});
    }
    QVariant shown(int row, int role) const { return list.data(list.index(row), role); }
    QFont font(int row) const { return shown(row, Qt::FontRole).value<QFont>(); }
};
} // namespace

TEST(DeckPlaylist, ANameThatIsNotUtf8IsShownReadableAndKeptByteForByte) {
    DeckPlaylist list;
    const QString odd = FileNameFromBytes("caf\xE9.mp3");
    list.append(odd, "/m");
    EXPECT_EQ(list.data(list.index(0)).toString(), u"caf\uFFFD.mp3"_qs);
    EXPECT_EQ(FileNameToBytes(list.name(0)), "caf\xE9.mp3");
    EXPECT_EQ(FileNameToBytes(list.fullPath(0)), "/m/caf\xE9.mp3");
}

// Many entries appended, or put in the middle before the row given, reach the views as one
// insertion; none added is no insertion.
TEST_F(DeckPlaylistTest, EntriesAddedReachTheViewsAsOneInsertion) {
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    list.append({{"g", "/6"}, {"h", "/7"}, {"i", "/8"}});
    list.append(QList<Track>{});
    list.insert(2, {{"x", "/n"}, {"y", "/n"}});
    ASSERT_EQ(inserted.size(), 2);
    EXPECT_EQ(inserted[0][1].toInt(), 6);
    EXPECT_EQ(inserted[0][2].toInt(), 8);
    EXPECT_EQ(inserted[1][1].toInt(), 2);
    EXPECT_EQ(inserted[1][2].toInt(), 3);
    EXPECT_EQ(list.count(), 11);
    EXPECT_EQ(list.name(1), "b");
    EXPECT_EQ(list.name(2), "x");
    EXPECT_EQ(list.name(3), "y");
    EXPECT_EQ(list.name(4), "c");
}

// Entries may be put at the end, not past it.
TEST_F(DeckPlaylistTest, EntryOutsideTheListIsAnErrorThatChangesNothing) {
    EXPECT_EQ(test::FailureOf([&] { list.name(6); }), "There is no entry 7 in the playlist");
    EXPECT_EQ(test::FailureOf([&] {
                  list.insert(7, {{"x", "/n"}});
              }),
              "There is no entry 8 in the playlist");
    EXPECT_THROW(list.markUnplayable({{1, "x"}, {-1, "y"}}), Error);
    EXPECT_FALSE(list.isUnplayable(1));
    EXPECT_THROW(list.remove({0, 9}), Error);
    EXPECT_THROW(list.setLoaded(6), Error);
    EXPECT_EQ(list.count(), 6);
    list.insert(6, {{"x", "/n"}});
    EXPECT_EQ(list.name(6), "x");
}

TEST_F(DeckPlaylistTest, RemovingRowsTakesEachRunOfNeighboursAtOnce) {
    QSignalSpy removed(&list, &QAbstractItemModel::rowsRemoved);
    list.remove({3, 0, 1, 3});
    EXPECT_EQ(list.tracks(), (QList<Track>{{"c", "/2"}, {"e", "/4"}, {"f", "/5"}}));
    EXPECT_EQ(removed.size(), 2);
}

TEST_F(DeckPlaylistTest, EveryEntryKeepsItsIdWhenOthersComeOrGo) {
    const DeckPlaylist::EntryId e = list.id(4);
    EXPECT_EQ(list.id(5), e + 1);
    list.insert(1, {{"x", "/n"}, {"y", "/n"}});
    EXPECT_EQ(list.find(e), 6);
    EXPECT_EQ(list.find(list.id(1) + 1), 2); // added together, their ids grow along them
    list.remove({0, 1, 2, 3});
    EXPECT_EQ(list.find(e), 2);
    EXPECT_EQ(list.find(e, 2), 2);
    EXPECT_EQ(list.find(e, 3), -1); // looked for after it
    list.removeAt(2);
    EXPECT_EQ(list.find(e), -1);
    list.append("g", "/6");
    EXPECT_EQ(list.id(3), e + 4); // a new entry never takes an old id
}

// Marked unplayable too, it is bold and struck through.
TEST_F(DeckPlaylistTest, TheLoadedEntryIsBoldOnItsTint) {
    list.setLoaded(2);
    EXPECT_EQ(list.loaded(), 2);
    EXPECT_TRUE(font(2).bold());
    EXPECT_EQ(shown(2, Qt::BackgroundRole).value<QBrush>().color(), QColor(208, 232, 255));
    EXPECT_FALSE(shown(1, Qt::FontRole).isValid());
    EXPECT_FALSE(shown(1, Qt::BackgroundRole).isValid());
    list.markUnplayable(2, "not an audio file");
    EXPECT_TRUE(font(2).bold());
    EXPECT_TRUE(font(2).strikeOut());
    list.clearUnplayable(2);
    EXPECT_TRUE(font(2).bold());
    EXPECT_FALSE(font(2).strikeOut());
    EXPECT_FALSE(shown(2, Qt::ToolTipRole).isValid());
    EXPECT_FALSE(shown(2, Qt::ForegroundRole).isValid());
    list.setLoaded(4);
    EXPECT_FALSE(shown(2, Qt::FontRole).isValid());
    EXPECT_FALSE(shown(2, Qt::BackgroundRole).isValid());
    list.setLoaded(-1);
    EXPECT_EQ(list.loaded(), -1);
    EXPECT_FALSE(shown(4, Qt::FontRole).isValid());
}

TEST_F(DeckPlaylistTest, TheLoadedMarkStaysWithItsEntryAndGoesWithIt) {
    list.setLoaded(2);
    list.remove({0});
    EXPECT_EQ(list.loaded(), 1);
    list.insert(1, {{"x", "/n"}, {"y", "/n"}});
    EXPECT_EQ(list.loaded(), 3);
    EXPECT_EQ(list.name(3), "c");
    list.append("g", "/6");
    EXPECT_EQ(list.loaded(), 3);
    list.remove({0, 1, 2, 3, 4, 5, 6, 7}); // Delete All
    EXPECT_EQ(list.loaded(), -1);
    list.append({{"x", "/n"}, {"y", "/n"}});
    EXPECT_EQ(list.loaded(), -1); // nothing of the new set is in the deck
}

// Grey as the views' disabled text.
TEST_F(DeckPlaylistTest, AnUnplayableEntryIsGreyStruckAndSaysWhy) {
    QPalette palette;
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(1, 2, 3));
    list.setLooks(palette);
    list.markUnplayable(1, "it does not exist");
    EXPECT_TRUE(list.isUnplayable(1));
    EXPECT_EQ(list.unplayableReason(1), "it does not exist");
    EXPECT_TRUE(font(1).strikeOut());
    EXPECT_FALSE(font(1).bold());
    EXPECT_EQ(shown(1, Qt::ToolTipRole).toString(), "it does not exist");
    EXPECT_EQ(shown(1, Qt::AccessibleDescriptionRole).toString(), "it does not exist");
    EXPECT_EQ(shown(1, Qt::ForegroundRole).value<QBrush>().color(), QColor(1, 2, 3));
    EXPECT_FALSE(list.isUnplayable(0));
    EXPECT_EQ(list.unplayableReason(0), "");
    EXPECT_FALSE(shown(0, Qt::ToolTipRole).isValid()); // the list's own tooltip shows
}

// Many marks reach the views as one change, from the first entry marked to the last; each
// mark stays with its entry when others go, and when it is found elsewhere until it plays.
TEST_F(DeckPlaylistTest, MarksReachTheViewsAtOnceAndStayWithTheirEntries) {
    QSignalSpy changed(&list, &QAbstractItemModel::dataChanged);
    list.markUnplayable({{4, "gone"}, {1, "y"}});
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 1);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 4);
    EXPECT_FALSE(list.isUnplayable(2));
    list.remove({0, 1});
    EXPECT_EQ(list.unplayableReason(2), "gone");
    list.setTrack(2, {"E", "/elsewhere"});
    EXPECT_EQ(list.fullPath(2), "/elsewhere/E");
    EXPECT_EQ(list.unplayableReason(2), "gone");
}

// Italic, and saying so to assistive tools, unless it has a reason not to play to tell; the
// same name in another folder is another file. The views hear of the marks once for the whole
// list, and an empty set takes them away.
TEST_F(DeckPlaylistTest, AnEntryOfATrackPlayedTonightIsItalicAndSaysSo) {
    list.append("b", "/x");
    list.markUnplayable(2, "It is not there.");
    QSignalSpy changed(&list, &QAbstractItemModel::dataChanged);
    list.setPlayed({"/1/b", "/2/c"});
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 0);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 6);
    EXPECT_TRUE(font(1).italic());
    EXPECT_EQ(shown(1, Qt::ToolTipRole).toString(), "Played tonight");
    EXPECT_EQ(shown(1, Qt::AccessibleDescriptionRole).toString(), "Played tonight");
    EXPECT_EQ(shown(2, Qt::ToolTipRole).toString(), "It is not there.");
    EXPECT_FALSE(shown(6, Qt::FontRole).isValid());
    list.setPlayed({});
    EXPECT_FALSE(shown(1, Qt::FontRole).isValid());
    EXPECT_FALSE(shown(1, Qt::ToolTipRole).isValid());
}
