#include "common/FileNames.h"

#include <gtest/gtest.h>

using namespace velmor;

namespace {

// Plain, valid UTF-8, Latin-1, a valid four-byte sequence beside broken bytes, an overlong
// "/", an encoded surrogate, one cut short, continuation bytes and bytes UTF-8 never uses,
// past U+10FFFF.
const QByteArray kNames[] = {
    "plain.mp3",       "\xC3\xB1u.mp3", "caf\xE9.mp3", "\xF0\x9F\x8E\xB5 \xE9\xF0.mp3",
    "\xC0\xAF",        "\xED\xA0\x80",  "\xE2\x82",    "\x80\xBF\xFE\xFF",
    "\xF4\x90\x80\x80"};

} // namespace

TEST(FileNamesTest, EveryByteStringComesBackExactly) {
    for (const QByteArray& bytes : kNames) {
        const QString name = FileNameFromBytes(bytes);
        EXPECT_EQ(FileNameToBytes(name), bytes) << bytes.toHex().toStdString();
        EXPECT_TRUE(IsFileNameEncodable(name)) << bytes.toHex().toStdString();
    }
}

// Valid UTF-8 is read as is. Shown, a name is itself exactly when its bytes are valid UTF-8;
// a byte that is not shows as the replacement character.
TEST(FileNamesTest, ValidUtf8IsReadAsIsAndOnlyBrokenBytesShowAsTheReplacementCharacter) {
    EXPECT_EQ(FileNameFromBytes("\xC3\xB1"), u"ñ"_qs);
    EXPECT_EQ(DisplayName(FileNameFromBytes("\xF0\x9F\x8E\xB5")), u"\U0001F3B5"_qs);
    const bool valid[] = {true, true, false, false, false, false, false, false, false};
    for (size_t i = 0; i < std::size(kNames); ++i) {
        EXPECT_EQ(IsValidUtf8(kNames[i]), valid[i]) << kNames[i].toHex().toStdString();
        const QString name = FileNameFromBytes(kNames[i]);
        EXPECT_EQ(DisplayName(name) == name, valid[i]) << kNames[i].toHex().toStdString();
    }
    EXPECT_EQ(DisplayName(FileNameFromBytes("caf\xE9.mp3")), u"caf\uFFFD.mp3"_qs);
}

// A lone surrogate, which no file name gives, is refused.
TEST(FileNamesTest, ALoneSurrogateCannotBeWritten) {
    const QString broken = QString("a") + QChar(0xD800);
    EXPECT_FALSE(IsFileNameEncodable(broken));
    EXPECT_EQ(FileNameToBytes(broken), "a\xEF\xBF\xBD");
}

// Windows-1252 has its own printable upper half.
TEST(FileNamesTest, Windows1252HasItsOwnUpperHalf) {
    EXPECT_EQ(FromWindows1252("\x80\x81\x8A\x9F\xA0\xE9\xFF"), u"€\u0081ŠŸ\u00A0éÿ"_qs);
}
