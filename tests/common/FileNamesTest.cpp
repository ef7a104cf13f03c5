#include "common/FileNames.h"
#include "common/Error.h"
#include "common/Numbers.h"
#include "support/Failure.h"

#include <gtest/gtest.h>

using namespace velmor;
using velmor::test::FailureOf;

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

TEST(Numbers, TextBecomesANumberOrTheErrorOfItsKind) {
    EXPECT_DOUBLE_EQ(ToDouble(" 1.5 "), 1.5);
    EXPECT_DOUBLE_EQ(ToDouble("+.25") + ToDouble("-1") + ToDouble("2e3"), 1999.25);
    for (const char* bad : {"", " ", "abc", "1,5", "1.2.3", "--1", "1 2", "0x10", "inf", "nan"})
        EXPECT_EQ(FailureOf([&] { ToDouble(bad); }), kTypeMismatch) << bad;
    // Integers round half to even, then the range is checked.
    const std::pair<const char*, int> rounded[] = {
        {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"16.5", 16}, {"32767.4", 32767}};
    for (const auto& [text, value] : rounded)
        EXPECT_EQ(ToInt16(text), value) << text;
    EXPECT_EQ(ToInt32("2147483647"), 2147483647);
    for (const auto& tooBig : std::initializer_list<std::function<void()>>{
             [] { ToInt16("32767.5"); }, [] { ToInt16("-32769"); }, [] { ToInt32("2147483648"); },
             [] { ToInt32("1e300"); }, [] { Mul16(729, 45); }, [] { Sub16(-629 * 45, 4500); },
             [] { Add16(32767, 1); }})
        EXPECT_EQ(FailureOf(tooBig), kOverflow);
    EXPECT_EQ(FailureOf([] { ToInt32("x"); }) + FailureOf([] { Divide(1, 0); }),
              QString(kTypeMismatch) + kDivisionByZero);
    // Sixteen-bit arithmetic fails instead of wrapping.
    EXPECT_EQ(std::tuple(Mul16(728, 45), Sub16(-628 * 45, 4500)), std::tuple(32760, -32760));
}
