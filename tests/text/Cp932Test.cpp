// Code page 932 helpers: character boundaries, searching and the conversions at the edges.
#include <gtest/gtest.h>

#include <QString>

#include "text/Cp932.h"
#include "text/QtText.h"

using text::cp932;

namespace {

// "ソ" is 83 5C: its second byte is the backslash, the classic trap.
const std::string kSo = "\x83\x5C";

TEST(Cp932, leadBytesAreExactlyTheTwoRanges)
{
    for (int b = 0; b < 256; ++b) {
        bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
        EXPECT_EQ(text::isLeadByte(static_cast<unsigned char>(b)), expected) << b;
    }
}

TEST(Cp932, charactersSplitDoubleAndSingleBytes)
{
    std::string s = cp932("第3条") + "\x83";  // a lead byte cut off at the end
    auto chars = text::characters(s);
    ASSERT_EQ(chars.size(), 4u);
    EXPECT_EQ(std::string(chars[0]), cp932("第"));
    EXPECT_EQ(std::string(chars[1]), "3");
    EXPECT_EQ(std::string(chars[2]), cp932("条"));
    EXPECT_EQ(std::string(chars[3]), "\x83");
    EXPECT_EQ(text::charCount(s), 4u);
    EXPECT_TRUE(text::isCharBoundary(s, 2));
    EXPECT_FALSE(text::isCharBoundary(s, 1));
}

TEST(Cp932, findOnlyMatchesWhereACharacterBegins)
{
    // "ソ\" holds 5C twice: once as a second byte, once as a character.
    std::string s = kSo + "\\";
    EXPECT_EQ(text::find(s, "\\"), 2u);
    // 「ア」 is 83 41; "A" (41) must not be found inside it.
    std::string a = cp932("ア") + "A";
    EXPECT_EQ(text::find(a, "A"), 2u);
    EXPECT_EQ(text::find(cp932("ア"), "A"), std::string::npos);
    // A double-byte needle whose bytes straddle two characters: 82 A0 inside 82 82 | A0.
    std::string straddle = "\x82\x82\xA0";
    EXPECT_EQ(text::find(straddle, "\x82\xA0"), std::string::npos);
    EXPECT_EQ(text::find(cp932("消費税の消費"), cp932("消費"), 1), 8u);
    EXPECT_TRUE(text::contains(cp932("仕入れに係る"), cp932("係る")));
}

TEST(Cp932, replaceAllKeepsCharactersWhole)
{
    EXPECT_EQ(text::replaceAll(cp932("カーボンーA"), cp932("ー"), cp932("－")), cp932("カ－ボン－A"));
    EXPECT_EQ(text::replaceAll(kSo + "\\", "\\", "/"), kSo + "/");
    // Every later hit is found from the previous one: second bytes after a replacement are
    // still told from characters.
    EXPECT_EQ(text::replaceAll(kSo + "\\" + kSo + kSo + "\\\\", "\\", "/"), kSo + "/" + kSo + kSo + "//");
    EXPECT_EQ(text::replaceAll(cp932("ーーア"), cp932("ーー"), "x"), "x" + cp932("ア"));
}

TEST(Cp932, replaceAllOverALongTextReplacesEveryHit)
{
    std::string marks, hyphens;
    for (int i = 0; i < 100000; ++i) {
        marks += cp932("ー") + "'";
        hyphens += cp932("－") + "'";
    }
    EXPECT_EQ(text::replaceAll(marks, cp932("ー"), cp932("－")), hyphens);
}

TEST(Cp932, toFullWidthDigits)
{
    EXPECT_EQ(text::ToFullWidthDigits("30"), cp932("３０"));
    EXPECT_EQ(text::ToFullWidthDigits(cp932("第30条の2") + "a9"), cp932("第３０条の２a９"));
    EXPECT_EQ(text::ToFullWidthDigits(""), "");
    // A second byte in the digit range (82 30 does not exist, but 83 39 ... does) is kept.
    std::string secondByteDigit = "\x83\x39";
    EXPECT_EQ(text::ToFullWidthDigits(secondByteDigit), secondByteDigit);
}

TEST(Cp932, linesSplitAtCrLfAndJoinBack)
{
    auto lines = text::splitLines("a\r\nb\nc\r\n");
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(text::joinLinesCrLf(lines), "a\r\nb\r\nc\r\n");
    EXPECT_TRUE(text::splitLines("").empty());
}

TEST(Cp932, conversionsRoundTripTheCharactersStrictShiftJisRejects)
{
    // ～ － ① ⅰ 髙 and the backslash survive the CP932 table, unlike SHIFT_JIS.
    std::string utf8 = "～－①ⅰ髙\\~";
    text::Conversion there = text::fromUtf8(utf8);
    EXPECT_TRUE(there.clean());
    EXPECT_EQ(there.text.substr(there.text.size() - 2), "\\~");
    text::Conversion back = text::toUtf8(there.text);
    EXPECT_TRUE(back.clean());
    EXPECT_EQ(back.text, utf8);
}

TEST(Cp932, unmappableCharactersBecomeGetaMarkAndAreCounted)
{
    text::Conversion c = text::fromUtf8("a😀b한c");
    EXPECT_EQ(c.text, "a\x81\xAC" "b\x81\xAC" "c");
    EXPECT_EQ(c.replaced, 2u);
    EXPECT_EQ(c.invalid, 0u);

    text::Conversion broken = text::fromUtf8("x\xC3(y");
    EXPECT_EQ(broken.text, "x\x81\xAC(y");
    EXPECT_EQ(broken.invalid, 1u);
    EXPECT_EQ(broken.firstInvalidOffset, 1u);
}

TEST(Cp932, invalidCp932IsReportedNotFatal)
{
    // 85 40 is an unassigned code point; a lone lead byte ends the text.
    text::Conversion c = text::toUtf8(std::string("A\x85\x40") + "B\x82");
    EXPECT_GE(c.invalid, 2u);
    EXPECT_EQ(c.firstInvalidOffset, 1u);
    EXPECT_EQ(c.text.substr(0, 1), "A");
    EXPECT_NE(c.text.find('B'), std::string::npos);
}

TEST(Cp932, largeTextsConvertWhole)
{
    std::string big;
    for (int i = 0; i < 100000; ++i)
        big += "消費税法第三十条";
    text::Conversion c = text::fromUtf8(big);
    EXPECT_TRUE(c.clean());
    EXPECT_EQ(c.text.size(), 100000u * 16u);
    EXPECT_EQ(text::toUtf8(c.text).text, big);
}

TEST(Cp932, qstringConversions)
{
    QString q = QStringLiteral("仕入れ税額控除①");
    std::string s = text::fromQString(q);
    EXPECT_EQ(s, cp932("仕入れ税額控除①"));
    EXPECT_EQ(text::toQString(s), q);
    std::size_t replaced = 0;
    EXPECT_EQ(text::fromQString(QStringLiteral("a한"), &replaced), "a\x81\xAC");
    EXPECT_EQ(replaced, 1u);
}

TEST(Cp932, literalThatCannotBeHeldIsAProgramFault)
{
    EXPECT_THROW(cp932("한"), std::logic_error);
}

}  // namespace
