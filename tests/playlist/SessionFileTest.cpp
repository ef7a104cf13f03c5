#include "playlist/SessionFile.h"
#include "common/Error.h"
#include "common/FileNames.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {
SessionData OddEvening() {
    SessionData session;
    session.folder = FileNameFromBytes("/music/caf\xe9 =%20 folder"); // Latin-1, not UTF-8
    session.decks[0] = {{{FileNameFromBytes("a\nb.mp3"), "/music"},
                         {"=50% off.wav", FileNameFromBytes("/m/\xff\xfe")}},
                        1,
                        "",
                        " 1.5e3 "};
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
    EXPECT_TRUE(SessionData{}.empty() && !OddEvening().empty());
}

// A file cut short anywhere, or with a line changed, is no session: never a part of one.
TEST(SessionFileTest, AFileCutShortOrDamagedIsRefused) {
    const QByteArray whole = SessionToBytes(OddEvening());
    for (qsizetype size = 0; size < whole.size(); ++size)
        EXPECT_THROW(SessionFromBytes(whole.left(size)), Error) << size;
    const std::pair<const char*, const char*> damage[] = {
        {"quit no", "quit maybe"},
        {"deck 2 -1", "deck 3 -1"},
        {"deck 1 1", "deck 1 7"},
        {"end 3", "end 4"},
        {"velmor-session 1", "velmor-session 2"},
        {"end 3\n", "end 3\nmore\n"},
    };
    for (const auto& [from, to] : damage) {
        QByteArray bytes = whole;
        ASSERT_TRUE(bytes.contains(from)) << from;
        EXPECT_THROW(SessionFromBytes(bytes.replace(from, to)), Error) << to;
    }
}
