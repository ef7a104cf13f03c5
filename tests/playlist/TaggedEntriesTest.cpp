// A deck's list names each entry by its tags once they are read: "Artist – Title" where they
// give both, with the file's path in its tooltip; the file's name otherwise. The entries
// themselves, and so the saved lists, keep the files.

#include "analysis/KnownTracks.h"
#include "analysis/TagReading.h"
#include "common/FileNames.h"
#include "playlist/DeckPlaylist.h"
#include "support/AudioFixtures.h"
#include "support/TaggedFiles.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace velmor;

namespace {

struct TaggedEntriesTest : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        list.showTags(known, reading);
    }
    // A short WAV in the folder, with the tags given.
    void write(const QString& name,
               const std::vector<std::pair<std::string, std::string>>& properties) {
        const std::string path = (dir.path() + "/" + name).toStdString();
        test::WriteWav(path, test::Stereo(test::Tone(440, 0.5, 44100)), 44100, 2);
        if (!properties.empty()) {
            ASSERT_TRUE(test::WriteTags(path, properties));
        }
    }
    // Appends the files and waits until their tags are read and shown.
    void append(const QList<QString>& names) {
        QList<Track> tracks;
        for (const QString& name : names)
            tracks.append({name, dir.path()});
        list.append(tracks);
        settle();
    }
    void settle() {
        reading.waitUntilDone();
        QCoreApplication::processEvents();
    }
    QString shown(int row, int role = Qt::DisplayRole) const {
        return list.data(list.index(row), role).toString();
    }

    QTemporaryDir dir;
    KnownTracks known;
    TagReading reading{known};
    DeckPlaylist list;
};

} // namespace

TEST_F(TaggedEntriesTest, AnEntryWithArtistAndTitleShowsThemAndItsFileInItsTooltip) {
    write("track07_final(2).wav", {{"ARTIST", "Chic"}, {"TITLE", "Good Times"}});
    append({"track07_final(2).wav"});
    EXPECT_EQ(shown(0), u"Chic \u2013 Good Times"_qs);
    EXPECT_EQ(shown(0, Qt::ToolTipRole), DisplayName(dir.path() + "/track07_final(2).wav"));
    EXPECT_EQ(list.name(0), "track07_final(2).wav");
}

TEST_F(TaggedEntriesTest, TheViewsHearOfTheNamesOnceTheyAreRead) {
    write("a.wav", {{"ARTIST", "Chic"}, {"TITLE", "Good Times"}});
    write("b.wav", {{"ARTIST", "Chic"}, {"TITLE", "Le Freak"}});
    QSignalSpy changed(&list, &QAbstractItemModel::dataChanged);
    append({"a.wav", "b.wav"});
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 0);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 1);
}

TEST_F(TaggedEntriesTest, AnEntryWithoutArtistAndTitleShowsItsFileName) {
    write("untagged.wav", {});
    append({"untagged.wav", "missing.wav"});
    EXPECT_EQ(shown(0), "untagged.wav");
    EXPECT_EQ(shown(1), "missing.wav");
    EXPECT_EQ(shown(0, Qt::ToolTipRole), "");
}

TEST_F(TaggedEntriesTest, AnEntryGivenAnotherFileIsNamedByTheNewFilesTags) {
    write("old.wav", {{"ARTIST", "Chic"}, {"TITLE", "Good Times"}});
    write("new.wav", {{"ARTIST", "Sister Sledge"}, {"TITLE", "We Are Family"}});
    append({"old.wav"});
    list.setTrack(0, {"new.wav", dir.path()});
    settle();
    EXPECT_EQ(shown(0), u"Sister Sledge \u2013 We Are Family"_qs);
}
