// Search as you type over the library: words match the beginnings of words in any field, in
// any order, whatever their case and accents; what is typed never breaks the search.

#include "library/LibrarySearch.h"
#include "LibraryFixture.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {

struct LibrarySearchTest : test::LibraryFixture {
    void SetUp() override {
        LibraryFixture::SetUp();
        add("/music/pop/beat.mp3", "Michael Jackson", "Beat It", "Thriller");
        add("/music/pop/halo.flac", QString::fromUtf8("Beyoncé"), "Halo", "I Am... Sasha Fierce");
        add("/music/pop/michelle.mp3", "The Overlanders", "Michelle", "Michelle");
        add("/music/disco/untagged_gloria_gaynor.wav", "", "");
    }
    QStringList titles(const QString& typed) {
        QStringList found;
        for (const LibraryRow& row : search.search(typed))
            found.append(row.title.isEmpty() ? row.name : row.title);
        return found;
    }
    LibrarySearch search{database.connection()};
};

} // namespace

TEST_F(LibrarySearchTest, WordsArePrefixesInAnyOrderAndField) {
    EXPECT_EQ(titles("beat mich"), QStringList{"Beat It"});
    EXPECT_EQ(titles("mich beat"), QStringList{"Beat It"});
}

TEST_F(LibrarySearchTest, CaseAndAccentsAreIgnored) {
    EXPECT_EQ(titles("beyonce"), QStringList{"Halo"});
    EXPECT_EQ(titles("BEYONC"), QStringList{"Halo"});
    EXPECT_EQ(titles(QString::fromUtf8("hálo")), QStringList{"Halo"});
}

TEST_F(LibrarySearchTest, TheAlbumFindsItsTracks) {
    EXPECT_EQ(titles("thrill"), QStringList{"Beat It"});
}

TEST_F(LibrarySearchTest, AnUntaggedTrackIsFoundByItsFileName) {
    EXPECT_EQ(titles("gaynor"), QStringList{"untagged_gloria_gaynor"});
}

TEST_F(LibrarySearchTest, TheExtensionIsNotSearched) {
    EXPECT_EQ(titles("flac"), QStringList{});
}

TEST_F(LibrarySearchTest, SearchSyntaxTypedIsSearchedForAsText) {
    EXPECT_EQ(titles(R"(beat" OR ")"), QStringList{});
    EXPECT_EQ(titles("halo AND"), QStringList{});
    EXPECT_EQ(titles("title:halo"), QStringList{});
    EXPECT_EQ(titles("NEAR(halo"), QStringList{});
    EXPECT_EQ(titles("i am..."), QStringList{"Halo"});
}

TEST_F(LibrarySearchTest, NothingTypedListsTheLibraryByArtistAndTitle) {
    EXPECT_EQ(titles(""), (QStringList{"untagged_gloria_gaynor", "Halo", "Beat It", "Michelle"}));
}

TEST_F(LibrarySearchTest, TheLimitCutsTheResults) {
    EXPECT_EQ(search.search("", 2).size(), 2u);
}

// The index follows the tracks: a retagged track is found by its new tags only.
TEST_F(LibrarySearchTest, ARetaggedTrackIsFoundByItsNewTags) {
    add("/music/pop/halo.flac", "Beyonce Knowles", "Halo (Live)");
    EXPECT_EQ(titles("fierce"), QStringList{});
    EXPECT_EQ(titles("knowles live"), QStringList{"Halo (Live)"});
}

TEST_F(LibrarySearchTest, ARemovedTrackIsNoLongerFound) {
    const qint64 id = search.search("halo").at(0).id;
    ASSERT_TRUE(store.remove(id));
    EXPECT_EQ(titles("halo"), QStringList{});
}
