// The article renderer: the RTF bytes it writes for indents, colours, links, highlight words,
// brackets and escapes, checked against documents written out here byte for byte.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "display/ArticleRenderer.h"
#include "text/Cp932.h"

using display::ArticleLinkRow;
using display::ArticleRenderInput;
using display::RenderArticle;
using text::cp932;

namespace {

const std::string kHead =
    "{\\rtf1\\ansi\r\n"
    "{\\fonttbl{\\f0\\fnil\\fcharset128\\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}\r\n"
    "{\\colortbl\\red0\\green0\\blue0;\r\n"
    "\\red255\\green0\\blue0;\r\n"
    "\\red255\\green0\\blue255;\r\n"
    "\\red0\\green0\\blue255;\r\n"
    "\\red0\\green150\\blue0;}\r\n";
const std::string kParagraphEnd = "\r\n\\par\r\n";
const std::string kDocumentEnd = "\\par}";

// Indents as the runs carry them.
const std::string kFlat = "\\li0\\fi0";
const std::string kLi240 = "\\li240\\fi-240";
const std::string kLi480 = "\\li480\\fi-480";
const std::string kLi720 = "\\li720\\fi-720";
const std::string kLi960 = "\\li960\\fi-960";

// A run as written: line spacing, indent, colour, a space, the bytes (already escaped), "}".
std::string runBytes(const std::string& indent, const std::string& colour, const std::string& bytes)
{
    return "\\sl-264" + indent + "{" + colour + " " + bytes + "}";
}
// For texts that need no escape; a text with a 5C, 7B or 7D byte is written out with runBytes.
std::string run(const std::string& indent, const std::string& colour, std::string_view utf8)
{
    const std::string bytes = cp932(utf8);
    EXPECT_EQ(bytes.find_first_of("\\{}"), std::string::npos) << "write the escapes of " << utf8 << " out";
    return runBytes(indent, colour, bytes);
}

// Each element is one line's runs; every line ends its paragraph.
std::string documentOf(const std::vector<std::string>& lines)
{
    std::string out = kHead;
    for (const auto& line : lines)
        out += line + kParagraphEnd;
    return out + kDocumentEnd;
}

std::vector<ArticleLinkRow> linkOver(int firstSel, int byteCount, int goGyo, int zeimoku = 1)
{
    std::vector<ArticleLinkRow> rows;
    for (int i = 0; i < byteCount; ++i)
        rows.push_back({firstSel + i, goGyo, zeimoku});
    return rows;
}

std::vector<ArticleLinkRow> joined(std::vector<ArticleLinkRow> a, const std::vector<ArticleLinkRow>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::string render(const std::string& honbun, int kubunNo = 10, std::vector<ArticleLinkRow> links = {},
                   const std::string& word1 = {}, const std::string& word2 = {})
{
    ArticleRenderInput input;
    input.honbun = honbun;
    input.kubunNo = kubunNo;
    input.links = std::move(links);
    input.highlightWord1 = word1;
    input.highlightWord2 = word2;
    return RenderArticle(input);
}

struct RenderCase {
    const char* what;
    std::string honbun;  // code page 932
    int kubunNo;
    std::vector<ArticleLinkRow> links;
    std::string word1, word2;
    std::vector<std::string> lines;  // expected runs of each line
};

void expectRenders(const std::vector<RenderCase>& cases)
{
    for (const auto& c : cases) {
        ArticleRenderInput input{c.honbun, c.kubunNo, c.links, c.word1, c.word2};
        EXPECT_EQ(RenderArticle(input), documentOf(c.lines)) << c.what;
    }
}

TEST(ArticleRenderer, RenderArticle_singleLineDocumentIsWrittenByteForByte)
{
    // "別表" is 95 CA 95 5C: the 5C second byte is escaped.
    const std::string expected =
        "{\\rtf1\\ansi\r\n"
        "{\\fonttbl{\\f0\\fnil\\fcharset128\\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}\r\n"
        "{\\colortbl\\red0\\green0\\blue0;\r\n"
        "\\red255\\green0\\blue0;\r\n"
        "\\red255\\green0\\blue255;\r\n"
        "\\red0\\green0\\blue255;\r\n"
        "\\red0\\green150\\blue0;}\r\n"
        "\\sl-264\\li0\\fi0{\\cf0 \x95\xCA\x95\x5C\x5C}\r\n"
        "\\par\r\n"
        "\\par}";
    EXPECT_EQ(render(cp932("別表")), expected);
}

TEST(ArticleRenderer, RenderArticle_emptyHonbunIsTheHeadAndTheDocumentEnd)
{
    EXPECT_EQ(render(""), kHead + "\\par}");
    EXPECT_EQ(render(std::string("\0", 1) + cp932("第一条")), kHead + "\\par}");
}

TEST(ArticleRenderer, ArticleTextOf_endsEveryLineWithCrLfAndStopsAtNul)
{
    struct Case {
        std::string honbun, expected;
    };
    const std::vector<Case> cases = {
        {"", ""},
        {"a", "a\r\n"},
        {"a\r\n", "a\r\n"},
        {"a\rb\nc\r\nd", "a\r\nb\r\nc\r\nd\r\n"},
        {"\r\r\n", "\r\n\r\n"},
        {"\n\r", "\r\n\r\n"},
        {"a\r\n\r\nb", "a\r\n\r\nb\r\n"},
        {std::string("a\r\nb\0c\r\nd", 9), "a\r\nb\r\n"},
        {std::string("\0a", 2), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(display::ArticleTextOf(c.honbun), c.expected) << c.honbun;
}

TEST(ArticleRenderer, RenderArticle_everyKindOfLineBreakEndsOneParagraph)
{
    expectRenders({
        {"lone CR, lone LF, CR LF and an empty line", cp932("一\r二\n三\r\n\r\n四"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "一"), run(kFlat, "\\cf0", "二"), run(kFlat, "\\cf0", "三"), "",
          run(kFlat, "\\cf0", "四")}},
        {"a final line end adds no empty paragraph", cp932("一\r\n二\r\n"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "一"), run(kFlat, "\\cf0", "二")}},
        {"a NUL ends the text", cp932("一\r\n二") + std::string("\0", 1) + cp932("三"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "一"), run(kFlat, "\\cf0", "二")}},
    });
}

TEST(ArticleRenderer, RenderArticle_escapesBackslashAndBracesAlsoAsSecondByte)
{
    // ボ is 83 7B, マ is 83 7D, ソ is 83 5C; then the half-width characters themselves.
    const std::string honbun = cp932("ボマソ") + "{a}\\b";
    const std::string escaped = "\x83\\{\x83\\}\x83\\\\\\{a\\}\\\\b";
    EXPECT_EQ(render(honbun), documentOf({runBytes(kFlat, "\\cf0", escaped)}));
    // 本 is 96 7B.
    EXPECT_EQ(render(cp932("本文")), documentOf({runBytes(kFlat, "\\cf0", "\x96\\{\x95\xB6")}));
    // An escaped 7D second byte inside a link run still closes only the run's own group.
    EXPECT_EQ(render(cp932("マ"), 10, linkOver(0, 2, 5)), documentOf({runBytes(kFlat, "\\cf3\\ul", "\x83\\}")}));
}

TEST(ArticleRenderer, RenderArticle_classOneLineIsIndentedUnlessTheCategoryIsExempt)
{
    const std::string honbun = cp932("第二条\r\n　一　資産の譲渡");
    for (int code : {40, 50, 80, 140, 190, 240, 290, 340, 350, 390, 740, 750, 850}) {
        EXPECT_EQ(render(honbun, code),
                  documentOf({run(kFlat, "\\cf0", "第二条"), run(kFlat, "\\cf0", "　一　資産の譲渡")}))
            << code;
    }
    for (int code : {10, 0, 20, 41, 139, 851}) {
        EXPECT_EQ(render(honbun, code),
                  documentOf({run(kFlat, "\\cf0", "第二条"), run(kLi480, "\\cf0", "　一　資産の譲渡")}))
            << code;
    }
}

TEST(ArticleRenderer, RenderArticle_alsoAndFurtherLinesKeepThePreviousLinesClass)
{
    expectRenders({
        {"また on the second line keeps the first line's class", cp932("第五条\r\nまた書き"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "第五条"), run(kFlat, "\\cf0", "また書き")}},
        {"なお and また after a class 5 line", cp932("見出し\r\n　（１）条文\r\n　なお書き\r\n　　また書き\r\n条文"),
         10, {}, "", "",
         {run(kFlat, "\\cf0", "見出し"),
          run(kLi720, "\\cf0", "　") + run(kLi720, "\\cf4", "（１）") + run(kLi720, "\\cf0", "条文"),
          run(kLi720, "\\cf0", "　なお書き"), run(kLi720, "\\cf0", "　　また書き"), run(kFlat, "\\cf0", "条文")}},
        {"なお after an exempt class 1 line stays flat", cp932("見出し\r\n　二　号\r\nなお書き"), 40, {}, "", "",
         {run(kFlat, "\\cf0", "見出し"), run(kFlat, "\\cf0", "　二　号"), run(kFlat, "\\cf0", "なお書き")}},
    });
}

TEST(ArticleRenderer, RenderArticle_noteOneLineIsClassEightAndOtherNotesClassSix)
{
    expectRenders({
        {"（注）１ and （注）２", cp932("見出し\r\n（注）１　注記\r\n（注）２　注記"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "見出し"), run(kLi960, "\\cf4", "（注）") + run(kLi960, "\\cf0", "１　注記"),
          run(kLi480, "\\cf4", "（注）") + run(kLi480, "\\cf0", "２　注記")}},
    });
}

TEST(ArticleRenderer, RenderArticle_numberedArticleIndentsItsThirdAndLaterPlainLines)
{
    expectRenders({
        {"numbered", cp932("第三条\r\n１　条文一\r\n２　条文二\r\n３　条文三"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "第三条"), run(kFlat, "\\cf0", "１　条文一"), run(kLi240, "\\cf0", "２　条文二"),
          run(kLi240, "\\cf0", "３　条文三")}},
        {"numbered but exempt", cp932("第三条\r\n１　条文一\r\n２　条文二\r\n３　条文三"), 40, {}, "", "",
         {run(kFlat, "\\cf0", "第三条"), run(kFlat, "\\cf0", "１　条文一"), run(kFlat, "\\cf0", "２　条文二"),
          run(kFlat, "\\cf0", "３　条文三")}},
        {"not numbered", cp932("第三条\r\n条文一\r\n条文二"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "第三条"), run(kFlat, "\\cf0", "条文一"), run(kFlat, "\\cf0", "条文二")}},
        {"１　on the first line has no line end before it", cp932("１　条文一\r\n条文二\r\n条文三"), 10, {}, "",
         "", {run(kFlat, "\\cf0", "１　条文一"), run(kFlat, "\\cf0", "条文二"), run(kFlat, "\\cf0", "条文三")}},
        {"１ with a half-width space does not number", cp932("見出し\r\n１ 条文\r\n条文"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "見出し"), run(kFlat, "\\cf0", "１ 条文"), run(kFlat, "\\cf0", "条文")}},
        {"a late １　 line numbers the whole article from line 3", cp932("見出し\r\n条文\r\n条文\r\n１　条文"), 10,
         {}, "", "",
         {run(kFlat, "\\cf0", "見出し"), run(kFlat, "\\cf0", "条文"), run(kLi240, "\\cf0", "条文"),
          run(kLi240, "\\cf0", "１　条文")}},
        {"classed lines of a numbered article keep their own indent",
         cp932("見出し\r\n１　条文\r\n　一　号\r\n　　イ　細目\r\n２　条文"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "見出し"), run(kFlat, "\\cf0", "１　条文"), run(kLi480, "\\cf0", "　一　号"),
          run("\\li600\\fi-600", "\\cf0", "　　イ　細目"), run(kLi240, "\\cf0", "２　条文")}},
    });
}

TEST(ArticleRenderer, RenderArticle_firstLineIsNeverClassified)
{
    expectRenders({
        {"class 1 pattern on line 1", cp932("　一　号\r\n　一　号"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "　一　号"), run(kLi480, "\\cf0", "　一　号")}},
        {"class 4 pattern on line 1", cp932("　　（イ）細目"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "　　") + run(kFlat, "\\cf4", "（イ）") + run(kFlat, "\\cf0", "細目")}},
    });
}

TEST(ArticleRenderer, IndentClass_patternsInOrderWithTheirLookAlikes)
{
    struct Case {
        std::string line;  // code page 932
        int previousClass;
        int expected;
    };
    const std::string sp = "\x81\x40";   // 　
    const std::string open = "\x81\x69";  // （
    const std::vector<Case> cases = {
        {cp932("また"), 7, 7},
        {cp932("　また"), 5, 5},
        {cp932("　　また書き"), 3, 3},
        {cp932("　　　また"), 3, 0},
        {cp932("なお"), 9, 9},
        {cp932("　なお"), 2, 2},
        {cp932("　　なお"), 0, 0},
        {cp932("まだ"), 4, 0},
        {cp932("（注）１"), 0, 8},
        {cp932("（注）２"), 0, 6},
        {cp932("（注）"), 0, 6},
        {sp + "\x88\xEA", 0, 1},            // 　一
        {sp + "\x8F\x5C", 0, 1},            // 　十
        {sp + "\x8E\x4F", 0, 1},            // 　三
        {cp932("　〇"), 0, 0},
        {cp932("一"), 0, 0},
        {sp + sp + sp + open + "\x82\x50", 0, 3},  // 　　　（１
        {sp + sp + sp + open + "\x83\x8B", 0, 3},  // 　　　（ル
        {sp + sp + sp + open + "\x83\x92", 0, 3},  // 　　　（ヲ
        {sp + sp + sp + open + "\x83\x6A", 0, 3},  // 　　　（ニ katakana
        {sp + sp + sp + open + "\x93\xF1", 0, 3},  // 　　　（二 numeral
        {sp + sp + open + "\x83\x6A", 0, 4},       // 　　（ニ katakana
        {sp + sp + open + "\x93\xF1", 0, 4},       // 　　（二 numeral
        {sp + sp + open + "\x83\x67", 0, 4},       // 　　（ト
        {sp + sp + open + "\x92\x8D", 0, 4},       // 　　（注
        {cp932("　　（チ"), 0, 0},
        {cp932("　　（ヌ"), 0, 0},
        {cp932("　（１"), 0, 5},
        {cp932("　（注"), 0, 5},
        {cp932("　（９"), 0, 5},
        {cp932("　（イ"), 0, 0},
        {cp932("　（0"), 0, 0},
        {cp932("（１"), 0, 6},
        {cp932("（注"), 0, 6},
        {cp932("（イ"), 0, 0},
        {"(1", 0, 0},
        {sp + sp + sp + "\x82\x50", 0, 7},  // 　　　１
        {sp + sp + sp + "\x82\x58", 0, 7},  // 　　　９
        {sp + sp + sp + "1", 0, 0},
        {cp932("　　１"), 0, 0},
        {sp + sp + "\x83\x41", 0, 2},  // 　　ア
        {sp + sp + "\x83\x94", 0, 2},  // 　　ヴ
        {sp + sp + "\x83\x90", 0, 2},  // 　　ヰ
        {sp + sp + "\x83\x77", 0, 2},  // 　　ヘ katakana
        {sp + sp + "\x82\xD6", 0, 2},  // 　　へ hiragana
        {sp + sp + "\x83\x8D", 0, 2},  // 　　ロ katakana
        {sp + sp + "\x8C\xFB", 0, 2},  // 　　口
        {sp + sp + "\x83\x6A", 0, 2},  // 　　ニ
        {cp932("　　ヲ"), 0, 2},
        {cp932("　　あ"), 0, 0},
        {cp932("　　ｱ"), 0, 0},
        {sp + sp + sp + sp + open + "\x82\x89", 0, 9},  // ｉ
        {sp + sp + sp + sp + open + "\x82\x96", 0, 9},  // ｖ
        {sp + sp + sp + sp + open + "\xFA\x40", 0, 9},  // ⅰ
        {sp + sp + sp + sp + open + "\xFA\x49", 0, 9},  // ⅹ
        {sp + sp + sp + sp + open + "\xEE\xEF", 0, 0},  // ⅰ in the NEC-selected rows: not listed
        {sp + sp + sp + sp + open + "\x82\x8A", 0, 0},  // ｊ
        {sp + sp + sp + sp + "\x82\x60", 0, 3},          // Ａ
        {sp + sp + sp + sp + "\x82\x64", 0, 3},          // Ｅ
        {sp + sp + sp + sp + "\x82\x65", 0, 0},          // Ｆ
        {sp + sp + sp + sp + "A", 0, 0},
        {"", 6, 0},
        {"\r\n", 6, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(display::IndentClass(c.line, c.previousClass), c.expected) << text::toUtf8(c.line).text;
}

TEST(ArticleRenderer, IndentPrefix_followsClassNumberingAndExemption)
{
    struct Case {
        int indentClass;
        bool numbered, exempt;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {0, false, false, "\\li0\\fi0{\\cf"},       {0, true, false, "\\li240\\fi-240{\\cf"},
        {0, true, true, "\\li0\\fi0{\\cf"},         {1, false, false, "\\li480\\fi-480{\\cf"},
        {1, true, true, "\\li0\\fi0{\\cf"},         {2, false, true, "\\li600\\fi-600{\\cf"},
        {3, false, true, "\\li1200\\fi-1200{\\cf"}, {4, true, false, "\\li960\\fi-960{\\cf"},
        {5, false, true, "\\li720\\fi-720{\\cf"},   {6, false, true, "\\li480\\fi-480{\\cf"},
        {7, true, true, "\\li960\\fi-960{\\cf"},    {8, false, false, "\\li960\\fi-960{\\cf"},
        {9, false, true, "\\li1440\\fi-1440{\\cf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(display::IndentPrefix(c.indentClass, c.numbered, c.exempt), c.expected) << c.indentClass;
    EXPECT_TRUE(display::IsExemptCategory(850));
    EXPECT_FALSE(display::IsExemptCategory(860));
}

TEST(ArticleRenderer, RenderArticle_bracketedPassagesAreGreen)
{
    expectRenders({
        {"nested brackets: first （ to last ）", cp932("Ａ（Ｂ（Ｃ）Ｄ）Ｅ"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "Ａ") + run(kFlat, "\\cf4", "（Ｂ（Ｃ）Ｄ）") + run(kFlat, "\\cf0", "Ｅ")}},
        {"half-width brackets", "a(b)c", 10, {}, "", "",
         {run(kFlat, "\\cf0", "a") + run(kFlat, "\\cf4", "(b)") + run(kFlat, "\\cf0", "c")}},
        {"a ) with no open bracket changes nothing", cp932("a)b）c"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "a)b）c")}},
        {"double angle brackets", cp932("《甲》乙"), 10, {}, "", "",
         {run(kFlat, "\\cf4", "《甲》") + run(kFlat, "\\cf0", "乙")}},
        {"full-width opened, half-width closed", cp932("（甲)乙"), 10, {}, "", "",
         {run(kFlat, "\\cf4", "（甲)") + run(kFlat, "\\cf0", "乙")}},
        {"a digit after ) stays text", "(a)1", 10, {}, "", "",
         {"\\sl-264\\li0\\fi0{\\cf4 (a)}\\sl-264\\li0\\fi0{\\cf0 1}"}},
        {"a quotation inside brackets stays green", cp932("（「甲」乙）丙"), 10, {}, "", "",
         {run(kFlat, "\\cf4", "（「甲」乙）") + run(kFlat, "\\cf0", "丙")}},
        {"」 without its 「 ends the passage", cp932("（Ｘ」Ｙ）"), 10, {}, "", "",
         {run(kFlat, "\\cf4", "（Ｘ") + run(kFlat, "\\cf0", "」Ｙ）")}},
        {"」 closing a quotation opened before the bracket", cp932("「甲（乙」丙"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "「甲") + run(kFlat, "\\cf4", "（乙") + run(kFlat, "\\cf0", "」丙")}},
        {"｜ ends the green passage at itself", cp932("（あ｜い）う"), 10, {}, "", "",
         {run(kFlat, "\\cf4", "（あ") + run(kFlat, "\\cf0", "｜い）う")}},
        {"a bracket open at a line end does not colour the next line", cp932("見出し（開き\r\n次の行）\r\n"),
         10, {}, "", "",
         {run(kFlat, "\\cf0", "見出し") + run(kFlat, "\\cf4", "（開き"), run(kFlat, "\\cf0", "次の行）")}},
        // ＝ is 81 81: with the following "i" (69) its second byte reads as （ (81 69).
        {"（ bytes starting at a second byte are no bracket", cp932("＝i"), 10, {}, "", "",
         {run(kFlat, "\\cf0", "＝i")}},
    });
}

TEST(ArticleRenderer, RenderArticle_highlightWordsAreColouredWhereTheyBeginACharacter)
{
    expectRenders({
        {"a highlight inside a link is red without underline", cp932("第四条の規定"), 10, linkOver(0, 6, 12),
         cp932("四"), "",
         {run(kFlat, "\\cf3\\ul", "第") + run(kFlat, "\\cf1", "四") + run(kFlat, "\\cf3\\ul", "条") +
          run(kFlat, "\\cf0", "の規定")}},
        {"overlapping words: word 1 wins", cp932("消費税"), 10, {}, cp932("消費"), cp932("費税"),
         {run(kFlat, "\\cf1", "消費") + run(kFlat, "\\cf2", "税")}},
        {"overlapping words, word 1 second: word 1 wins", cp932("消費税"), 10, {}, cp932("費税"), cp932("消費"),
         {run(kFlat, "\\cf2", "消") + run(kFlat, "\\cf1", "費税")}},
        {"word 2 alone is magenta", cp932("甲乙丙"), 10, {}, "", cp932("乙"),
         {run(kFlat, "\\cf0", "甲") + run(kFlat, "\\cf2", "乙") + run(kFlat, "\\cf0", "丙")}},
        {"every occurrence", cp932("税と税"), 10, {}, cp932("税"), "",
         {run(kFlat, "\\cf1", "税") + run(kFlat, "\\cf0", "と") + run(kFlat, "\\cf1", "税")}},
        {"a highlight inside brackets is red", cp932("（課税）"), 10, {}, cp932("課税"), "",
         {run(kFlat, "\\cf4", "（") + run(kFlat, "\\cf1", "課税") + run(kFlat, "\\cf4", "）")}},
        // ア is 83 41: its second byte is "A".
        {"no match at a second byte", cp932("アA"), 10, {}, "A", "",
         {run(kFlat, "\\cf0", "ア") + run(kFlat, "\\cf1", "A")}},
        // あい is 82 A0 82 A2: A0 82 straddles the two characters.
        {"no match straddling two characters", cp932("あい"), 10, {}, "\xA0\x82", "",
         {run(kFlat, "\\cf0", "あい")}},
        {"a word across the line end colours no line break", cp932("甲\r\n乙"), 10, {}, "\r\n", "",
         {run(kFlat, "\\cf0", "甲"), run(kFlat, "\\cf0", "乙")}},
    });
}

TEST(ArticleRenderer, RenderArticle_linkTextIsUnderlinedBlue)
{
    const auto gapLinks = joined(linkOver(0, 2, 7), linkOver(4, 2, 8));
    expectRenders({
        {"two touching links are one run", cp932("所得税法人税"), 10, joined(linkOver(0, 6, 1), linkOver(6, 6, 2, 0)),
         "", "", {run(kFlat, "\\cf3\\ul", "所得税法人税")}},
        {"two links with a character between", cp932("甲乙丙"), 10, gapLinks, "", "",
         {run(kFlat, "\\cf3\\ul", "甲") + run(kFlat, "\\cf0", "乙") + run(kFlat, "\\cf3\\ul", "丙")}},
        {"rows out of order", cp932("甲乙丙"), 10, joined(linkOver(4, 2, 8), linkOver(0, 2, 7)), "", "",
         {run(kFlat, "\\cf3\\ul", "甲") + run(kFlat, "\\cf0", "乙") + run(kFlat, "\\cf3\\ul", "丙")}},
        {"positions count a lone LF as CR LF", cp932("甲\n乙"), 10, linkOver(4, 2, 3), "", "",
         {run(kFlat, "\\cf0", "甲"), run(kFlat, "\\cf3\\ul", "乙")}},
        {"a link one byte after the previous one", "ab c", 10, joined(linkOver(0, 2, 1), linkOver(3, 1, 2)), "",
         "", {run(kFlat, "\\cf3\\ul", "ab") + run(kFlat, "\\cf0", " ") + run(kFlat, "\\cf3\\ul", "c")}},
        {"links on two lines", cp932("甲乙\r\n丙丁"), 10, joined(linkOver(2, 2, 1), linkOver(6, 2, 2)), "", "",
         {run(kFlat, "\\cf0", "甲") + run(kFlat, "\\cf3\\ul", "乙"),
          run(kFlat, "\\cf3\\ul", "丙") + run(kFlat, "\\cf0", "丁")}},
        {"link colour inside brackets", cp932("（甲）"), 10, linkOver(2, 2, 4), "", "",
         {run(kFlat, "\\cf4", "（") + run(kFlat, "\\cf3\\ul", "甲") + run(kFlat, "\\cf4", "）")}},
        {"rows beyond the text draw nothing", cp932("甲"), 10, linkOver(10, 2, 4), "", "",
         {run(kFlat, "\\cf0", "甲")}},
        {"a class 5 line keeps its indent in every run", cp932("見出し\r\n　（１）第二条"), 10, linkOver(16, 6, 9),
         "", "",
         {run(kFlat, "\\cf0", "見出し"), run(kLi720, "\\cf0", "　") + run(kLi720, "\\cf4", "（１）") +
                                            run(kLi720, "\\cf3\\ul", "第二条")}},
    });
}

}  // namespace

namespace {

// Reads a rendered document back: the text of each paragraph with the escapes undone, and the
// colour of each run. Fails the test on any byte outside the layout the renderer writes.
struct ReadBack {
    std::vector<std::string> lines;
    std::vector<std::vector<std::string>> colours;  // per line, the colour word of each run
};

ReadBack readBack(const std::string& document)
{
    ReadBack out;
    EXPECT_EQ(document.substr(0, kHead.size()), kHead);
    std::size_t at = kHead.size();
    std::string line;
    std::vector<std::string> colours;
    while (at < document.size() && document.compare(at, kDocumentEnd.size(), kDocumentEnd) != 0) {
        if (document.compare(at, kParagraphEnd.size(), kParagraphEnd) == 0) {
            out.lines.push_back(line);
            out.colours.push_back(colours);
            line.clear();
            colours.clear();
            at += kParagraphEnd.size();
            continue;
        }
        const std::size_t open = document.find('{', at);
        const std::size_t space = document.find(' ', open);
        if (open == std::string::npos || space == std::string::npos || document.compare(at, 7, "\\sl-264") != 0) {
            ADD_FAILURE() << "no run at byte " << at;
            return out;
        }
        colours.push_back(document.substr(open + 1, space - open - 1));
        std::size_t i = space + 1;
        bool empty = true;
        for (; i < document.size() && document[i] != '}'; ++i, empty = false) {
            if (document[i] == '\\')
                ++i;
            else if (document[i] == '{')
                ADD_FAILURE() << "unescaped { at byte " << i;
            line += document[i];
        }
        EXPECT_FALSE(empty) << "empty run at byte " << at;
        at = i + 1;
    }
    EXPECT_EQ(document.substr(at), kDocumentEnd);
    EXPECT_TRUE(line.empty());
    return out;
}

TEST(ArticleRenderer, RenderArticle_anyTextReadsBackAsTheArticleText)
{
    // Pieces that stress the scan: markers, escapes, look-alike bytes, stray lead bytes, breaks.
    const std::vector<std::string> pieces = {
        cp932("（"), cp932("）"), cp932("《"), cp932("》"), "(", ")", cp932("「"), cp932("」"), cp932("｜"),
        cp932("表"), cp932("ソ"), cp932("ボ"), cp932("マ"), cp932("本"), "\\", "{", "}", cp932("　"),
        cp932("１　"), cp932("また"), cp932("（注）１"), cp932("　一"), "\r\n", "\r", "\n", "\x82", "\x81",
        "\xFA\x40", "a", "1", cp932("税"), cp932("消費"), "\t"};
    std::mt19937 random(20240601);
    for (int round = 0; round < 300; ++round) {
        ArticleRenderInput input;
        const int pieceCount = static_cast<int>(random() % 60);
        for (int i = 0; i < pieceCount; ++i)
            input.honbun += pieces[random() % pieces.size()];
        input.kubunNo = round % 2 == 0 ? 10 : 40;
        const std::string articleText = display::ArticleTextOf(input.honbun);
        for (int sel = 0; sel < static_cast<int>(articleText.size()) + 3; ++sel) {
            if (random() % 3 == 0)
                input.links.push_back({sel, 1, 0});
        }
        if (round % 3 != 0)
            input.highlightWord1 = pieces[random() % pieces.size()];
        if (round % 4 != 0)
            input.highlightWord2 = pieces[random() % pieces.size()] + pieces[random() % pieces.size()];

        const ReadBack back = readBack(RenderArticle(input));
        std::string joined;
        for (const auto& line : back.lines)
            joined += line + "\r\n";
        EXPECT_EQ(joined, articleText) << "round " << round;
        // A line's runs change colour from one to the next; nothing else starts a new run.
        for (const auto& colours : back.colours) {
            for (std::size_t i = 1; i < colours.size(); ++i)
                EXPECT_NE(colours[i - 1], colours[i]) << "round " << round;
        }
    }
}

}  // namespace
