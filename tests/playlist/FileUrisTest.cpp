// The file names in the URIs that file managers drop and playlists hold.

#include "playlist/FileUris.h"

#include "common/FileNames.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(FileUris, NameLocalPathsByteForByte) {
    const std::pair<const char16_t*, QString> cases[] = {
        {u"file:///m/a%20b.mp3", "/m/a b.mp3"},
        {u"file://localhost/m/%C3%B1.mp3", u"/m/ñ.mp3"_qs},
        {u"FILE:///m/%E9.mp3", FileNameFromBytes("/m/\xE9.mp3")},
        {u"file:///m/%aF%Fa%39%30", FileNameFromBytes("/m/\xAF\xFA\x39\x30")}, // digits' edges
        {u"file:///m/ñ.mp3#x", u"/m/ñ.mp3"_qs},
        {u"file:///m/a%2#5", "/m/a%2"}, // an escape cut short is kept as written
        {u"file:///m/a%", "/m/a%"},
    };
    for (const auto& [uri, path] : cases)
        EXPECT_EQ(LocalPathOfUri(uri), path);
    for (const char16_t* other : {u"http://host/a.mp3", u"file://other/a.mp3", u"file:",
                                  u"/m/a.mp3", u"file:///a%00b", u"file:///a%0Ab"})
        EXPECT_TRUE(LocalPathOfUri(other).isNull());
    EXPECT_EQ(LocalPathsOfUriList("# dragged\r\nfile:///m/a\r\nhttp://x/y\r\nfile:///m/b%25\r\n"),
              (QStringList{"/m/a", "/m/b%"}));
}
