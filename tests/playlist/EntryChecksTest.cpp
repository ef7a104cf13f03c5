// The entry checks: the entries of playlist files put into a deck's playlist, each where it
// exists, the missing ones marked, a long list looked up on a worker.

#include "playlist/MusicFolderTest.h"

using namespace velmor;
using namespace velmor::test;

namespace {
using EntryChecksTest = MusicFolderTest;
// Named for the ThreadSanitizer run of tests/extra, which picks its test by its name.
using ListsFromAnywhere = MusicFolderTest;
} // namespace

// A short list is looked up at once.
TEST_F(EntryChecksTest, AMissingEntryIsMarkedAndOneWrittenForWindowsIsFoundBesideTheList) {
    file("music/w.mp3");
    file("music/win.m3u", "C:\\Music\\w.mp3\r\n/abs/z.MP3\r\n");
    browse(music);
    add({"win.m3u"});
    EXPECT_FALSE(w.browser.entryChecks().busy());
    EXPECT_EQ(list0.fullPath(0), music + "/w.mp3");
    EXPECT_FALSE(list0.isUnplayable(0));
    EXPECT_EQ(list0.unplayableReason(1), "/abs/z.MP3 cannot be played: it does not exist.");
}

TEST_F(ListsFromAnywhere, ALongListIsLookedUpOnAWorkerAndMarkedAsFound) {
    QByteArray list;
    for (int i = 0; i < 1500; ++i) {
        if (i % 3 == 0)
            file(QString("music/t%1.mp3").arg(i));
        list += QString(i == 1401 ? "C:\\x\\t%1.mp3\n" : "t%1.mp3\n").arg(i).toUtf8();
    }
    file("music/long.m3u", list);
    browse(music);
    w.browser.entryChecks().budget = std::chrono::milliseconds(0); // all but the first
    add({"long.m3u"});
    EXPECT_TRUE(w.browser.entryChecks().busy());
    list0.removeAt(4); // deleted while being looked up: the marks below stay on their own
    list0.removeAt(3); // entries
    w.browser.entryChecks().waitUntilDone();
    ASSERT_EQ(list0.count(), 1498);
    // Entry j is file t(j), or t(j + 2) past the two deleted; every third file exists.
    for (int j = 0; j < 1498; ++j) {
        const int file = j < 3 ? j : j + 2;
        ASSERT_EQ(list0.isUnplayable(j), file % 3 != 0) << j;
    }
    EXPECT_EQ(list0.folder(1399), music); // found beside the list, not where Windows said
}
