// The session file: the evening's four playlists, byte for byte, and nothing but whole ones.

#include "playlist/SessionFile.h"

#include "common/FileNames.h"
#include "legacy/Error.h"
#include "playlist/PlaylistFiles.h"
#include "support/Failure.h"

#include <QFile>
#include <QTemporaryDir>
#include <mutex>

#include <gtest/gtest.h>

using namespace velmor;

namespace {
SessionData OddEvening() {
    SessionData session;
    session.folder = FileNameFromBytes("/music/caf\xe9 =%20 folder"); // Latin-1, not UTF-8
    const QList<Track> tracks{{FileNameFromBytes("a\nb.mp3"), "/music"},
                              {"=50% off.wav", FileNameFromBytes("/m/\xff\xfe")}};
    session.decks[0] = {tracks, 1, "", " 1.5e3 "};
    session.decks[2] = {{{"Ünïcödé ♪.mp3", "/"}}, 0};
    return session;
}
} // namespace

// Names of any bytes, texts of any characters (spaces, "=", "%", line ends, nothing) come back
// byte for byte, and so does whether the evening ended by the user's quit.
TEST(SessionFileTest, AnEveningComesBackByteForByte) {
    for (bool quit : {false, true}) {
        SessionData session = OddEvening();
        session.quit = quit;
        EXPECT_EQ(SessionFromBytes(SessionToBytes(session)), session);
    }
}

TEST(SessionFileTest, AnEveningWithNoEntriesIsEmpty) {
    EXPECT_TRUE(SessionData{}.empty());
    SessionData cued; // a cue point alone keeps nothing worth asking about
    cued.decks[1].cueSeconds = "12";
    EXPECT_TRUE(cued.empty());
    EXPECT_FALSE(OddEvening().empty());
}

// A file cut short anywhere, or with a line changed, is no session: never a part of one. The
// refusal says on which line.
TEST(SessionFileTest, AFileCutShortOrDamagedIsRefused) {
    const QByteArray whole = SessionToBytes(OddEvening());
    for (qsizetype size = 0; size < whole.size(); ++size)
        EXPECT_THROW(SessionFromBytes(whole.left(size)), Error) << size;
    const std::pair<const char*, const char*> damage[] = {{"quit no", "quit maybe"},
                                                          {"deck 2 -1", "deck 3 -1"},
                                                          {"deck 1 1", "deck 1 7"},
                                                          {"end 3", "end 4"},
                                                          {"velmor-session 1", "velmor-session 2"},
                                                          {"end 3\n", "end 3\nmore\n"}};
    for (const auto& [from, to] : damage) {
        QByteArray bytes = whole;
        ASSERT_TRUE(bytes.contains(from)) << from;
        EXPECT_THROW(SessionFromBytes(bytes.replace(from, to)), Error) << to;
    }
    EXPECT_EQ(test::FailureOf([] { SessionFromBytes("velmor-session 1\nquit maybe\n"); }),
              "line 2: the end of the evening is not told");
}

TEST(SessionFileTest, ASmallEveningIsWrittenLineByLine) {
    SessionData session;
    session.folder = "/m";
    session.decks[0] = {{{"a b.mp3", "/m"}}, 0, "1", "2"};
    EXPECT_EQ(SessionToBytes(session), "velmor-session 1\n"
                                       "quit no\n"
                                       "folder =%2Fm\n"
                                       "deck 1 0 =1 =2 1\n"
                                       "=%2Fm =a%20b.mp3\n"
                                       "deck 2 -1 =0 =0 0\n"
                                       "deck 3 -1 =0 =0 0\n"
                                       "deck 4 -1 =0 =0 0\n"
                                       "end 1\n");
}

TEST(SessionWriter, TheLastBytesGivenAreInTheFile) {
    QTemporaryDir tmp;
    const QString path = tmp.filePath("state/session");
    int failures = 0;
    {
        SessionWriter writer(path, [&](const QString&) { ++failures; });
        writer.write("first");
        writer.write("second");
        writer.flush();
        EXPECT_EQ(ReadPlaylistFile(path), "second");
        writer.write("third"); // written before the writer goes
    }
    EXPECT_EQ(ReadPlaylistFile(path), "third");
    EXPECT_EQ(failures, 0);
}

TEST(SessionWriter, AFailureIsToldOnceUntilAWriteSucceeds) {
    QTemporaryDir tmp;
    QFile blocker(tmp.filePath("state"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    QStringList told;
    std::mutex mutex;
    SessionWriter writer(tmp.filePath("state/session"), [&](const QString& why) {
        const std::lock_guard lock(mutex);
        told << why;
    });
    writer.write("a");
    writer.flush();
    writer.write("b");
    writer.flush();
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].startsWith(tmp.filePath("state/session") + " cannot be saved: "));
    QFile::remove(tmp.filePath("state"));
    writer.write("c");
    writer.flush();
    EXPECT_EQ(told.size(), 1);
}
