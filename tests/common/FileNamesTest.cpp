#include "common/FileNames.h"

#include <gtest/gtest.h>

using namespace velmor;

TEST(FileNames, EveryByteStringComesBackExactly) {
    // Plain, valid UTF-8, Latin-1, a valid four-byte sequence beside broken bytes, an overlong
    // "/", an encoded surrogate, one cut short, continuation bytes and bytes UTF-8 never uses,
    // past U+10FFFF.
    const QByteArray cases[] = {
        "plain.mp3",       "\xC3\xB1u.mp3", "caf\xE9.mp3", "\xF0\x9F\x8E\xB5 \xE9\xF0.mp3",
        "\xC0\xAF",        "\xED\xA0\x80",  "\xE2\x82",    "\x80\xBF\xFE\xFF",
        "\xF4\x90\x80\x80"};
    for (const QByteArray& bytes : cases) {
        const QString name = FileNameFromBytes(bytes);
        EXPECT_EQ(FileNameToBytes(name), bytes) << bytes.toHex().toStdString();
        EXPECT_TRUE(IsFileNameEncodable(name));
        EXPECT_EQ(IsValidUtf8(bytes), DisplayName(name) == name) << bytes.toHex().toStdString();
    }
    EXPECT_EQ(FileNameFromBytes("\xC3\xB1"), u"ñ"_qs);
    EXPECT_EQ(DisplayName(FileNameFromBytes("caf\xE9.mp3")), u"caf\uFFFD.mp3"_qs);
    EXPECT_EQ(DisplayName(FileNameFromBytes("\xF0\x9F\x8E\xB5")), u"\U0001F3B5"_qs);
    // A lone surrogate, which no file name gives, is refused; Windows-1252 has its own
    // printable upper half.
    const QString broken = QString("a") + QChar(0xD800);
    EXPECT_FALSE(IsFileNameEncodable(broken));
    EXPECT_EQ(FileNameToBytes(broken), "a\xEF\xBF\xBD");
    EXPECT_EQ(FromWindows1252("\x80\x81\x8A\x9F\xA0\xE9\xFF"), u"€\u0081ŠŸ\u00A0éÿ"_qs);
}
