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

// The artist, the title, the album and, for an untagged track, its file name without the
// extension.
TEST_F(LibrarySearchTest, WordsArePrefixesInAnyOrderFieldCaseAndAccent) {
    const std::pair<QString, QStringList> cases[] = {
        {"beat mich", {"Beat It"}},
        {"mich beat", {"Beat It"}},
        {"thrill", {"Beat It"}},
        {"gaynor", {"untagged_gloria_gaynor"}},
        {"flac", {}},
        {"beyonce", {"Halo"}},
        {"BEYONC", {"Halo"}},
        {QString::fromUtf8("hálo"), {"Halo"}},
    };
    for (const auto& [typed, found] : cases)
        EXPECT_EQ(titles(typed), found) << typed.toStdString();
}

TEST_F(LibrarySearchTest, SearchSyntaxTypedIsSearchedForAsText) {
    EXPECT_EQ(titles(R"(beat" OR ")"), QStringList{});
    EXPECT_EQ(titles("halo AND"), QStringList{});
    EXPECT_EQ(titles("title:halo"), QStringList{});
    EXPECT_EQ(titles("NEAR(halo"), QStringList{});
    EXPECT_EQ(titles("i am..."), QStringList{"Halo"});
}

// As far as the limit given.
TEST_F(LibrarySearchTest, NothingTypedListsTheLibraryByArtistAndTitle) {
    EXPECT_EQ(titles(""), (QStringList{"untagged_gloria_gaynor", "Halo", "Beat It", "Michelle"}));
    EXPECT_EQ(search.search("", 2).size(), 2u);
}

// A retagged track is found by its new tags only, a removed one no longer.
TEST_F(LibrarySearchTest, TheIndexFollowsTheTracks) {
    add("/music/pop/halo.flac", "Beyonce Knowles", "Halo (Live)");
    EXPECT_EQ(titles("fierce"), QStringList{});
    EXPECT_EQ(titles("knowles live"), QStringList{"Halo (Live)"});
    ASSERT_TRUE(store.remove(search.search("halo").at(0).id));
    EXPECT_EQ(titles("halo"), QStringList{});
}
