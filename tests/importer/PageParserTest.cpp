// Reading the government's page markup, with every irregularity its pages have.
#include <gtest/gtest.h>

#include "TestVolume.h"
#include "tools/importer/PageParser.h"

using importer::BlockKind;
using importer::LawPage;
using importer::parseLawPage;
using importer::plainText;
using importer::ProvisionKind;
using importer::toUtf8;
using importertest::testPage;

namespace {

const LawPage& actPage()
{
    static const LawPage page = parseLawPage(testPage("act.html"));
    return page;
}

std::string caption(const importer::Provision& p)
{
    return toUtf8(plainText(p.caption));
}

TEST(PageParser, headerIgnoresStrayTagsAndReadsPendingAmendments)
{
    const LawPage& p = actPage();
    EXPECT_EQ(toUtf8(p.title), "見本税法");
    EXPECT_EQ(toUtf8(p.promulgation), "平成二十年三月三十一日法律第二十三号");
    EXPECT_EQ(toUtf8(p.lastAmendment), "平成二五年一〇月三〇日法律第一〇〇号");
    ASSERT_EQ(p.pendingAmendments.size(), 1u);
    EXPECT_EQ(toUtf8(p.pendingAmendments[0]), "平成二十六年三月三十一日法律第十号");
    EXPECT_TRUE(p.problems.empty()) << p.problems.front();
}

TEST(PageParser, headingsComeFromTheBodyWithTheirLevelsAndPlaces)
{
    const LawPage& p = actPage();
    ASSERT_EQ(p.headings.size(), 5u);
    struct Expected {
        int level;
        const char* text;
        std::size_t before;
    } expected[] = {{2, "第一章　総則", 0}, {2, "第二章　課税標準及び税率", 5}, {3, "第一節　課税標準", 5},
                    {3, "第二節　税率", 6}, {2, "第三章　税額の控除等　見本所得法との調整", 8}};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(p.headings[i].level, expected[i].level) << i;
        EXPECT_EQ(toUtf8(p.headings[i].text), expected[i].text) << i;
        EXPECT_EQ(p.headings[i].beforeArticle, expected[i].before) << i;
    }
    // a heading's nested reference link is no link of the text
    EXPECT_EQ(p.links.size(), 2u);

    LawPage old = parseLawPage(testPage("oldcode.html"));
    ASSERT_EQ(old.headings.size(), 3u);
    EXPECT_EQ(old.headings[0].level, 1);  // 編
    EXPECT_EQ(toUtf8(old.headings[2].text), "第二章　商人及ヒ使用人");  // the body's spelling, not the TOC's
}

TEST(PageParser, articlesWithAndWithoutCaptionsBranchesAndDeletions)
{
    const LawPage& p = actPage();
    ASSERT_EQ(p.articles.size(), 12u);
    std::vector<std::string> numbers;
    for (const auto& a : p.articles)
        numbers.push_back(toUtf8(a.printedNumber));
    EXPECT_EQ(numbers, (std::vector<std::string>{"第一条", "第二条", "第三条", "第三条の二", "第四条", "第五条", "第六条",
                                                 "第七条", "第八条", "第十条", "第十条の二の二", "第十一条"}));
    EXPECT_EQ(p.articles[10].number, (importer::ArticleNumber{10, 2, 2}));
    EXPECT_EQ(caption(p.articles[0]), "（趣旨）");
    EXPECT_EQ(caption(p.articles[2]), "");  // the anchor sits on the number
    EXPECT_EQ(caption(p.articles[3]), "（見本所得法の特例）");  // a link nested in the caption's anchor
    ASSERT_EQ(p.articles[3].caption.size(), 3u);
    EXPECT_EQ(p.articles[3].caption[1].link, 0);
    EXPECT_TRUE(p.articles[4].deleted);
    EXPECT_FALSE(p.articles[3].deleted);
    // paragraph numbers past nine; a line broken by a stray CR is one sentence
    const auto& fifth = p.articles[5];
    ASSERT_EQ(fifth.blocks.size(), 10u);
    EXPECT_EQ(toUtf8(fifth.blocks[9].label), "１０");
    EXPECT_EQ(toUtf8(plainText(fifth.blocks[0].text)), "　見本税の課税標準は、見本取引の対価の額とする。");
}

TEST(PageParser, itemsAndThreeLevelsOfSubItems)
{
    const auto& blocks = actPage().articles[1].blocks;
    std::vector<std::tuple<BlockKind, int, std::string>> got;
    for (const auto& b : blocks)
        got.emplace_back(b.kind, b.level, toUtf8(b.label));
    EXPECT_EQ(got, (std::vector<std::tuple<BlockKind, int, std::string>>{
                       {BlockKind::Paragraph, 0, ""},
                       {BlockKind::Item, 0, "一"},
                       {BlockKind::Item, 0, "五の二"},
                       {BlockKind::SubItem, 1, "イ"},
                       {BlockKind::SubItem, 1, "ロ"},
                       {BlockKind::SubItem, 2, "（１）"},
                       {BlockKind::SubItem, 3, "（ｉ）"},
                       {BlockKind::Paragraph, 0, "２"}}));
}

TEST(PageParser, referenceLinksDecodeLowerCaseEscapesWhateverTheirSecondByte)
{
    LawPage order = parseLawPage(testPage("order.html"));
    ASSERT_EQ(order.links.size(), 10u);
    EXPECT_EQ(toUtf8(order.links[0].lawCode), "平二〇法二三");
    EXPECT_EQ(toUtf8(order.links[0].refName), "見本税法");
    EXPECT_TRUE(order.links[0].anchor.empty());
    // 表 is 95 5C: its escape %5c must not be read as a backslash
    EXPECT_EQ(toUtf8(order.links[8].refName), "法別表第一");
    EXPECT_EQ(order.links[8].anchor.substr(0, 10), "3000000001");
    EXPECT_EQ(toUtf8(order.links[9].lawCode), "昭四一法九九");
    // the enacting formula is no article text
    EXPECT_EQ(toUtf8(plainText(order.articles[0].blocks[0].text)).substr(0, 15), "　この政令");
}

TEST(PageParser, supplementaryBlocksInEveryShape)
{
    const LawPage& p = actPage();
    ASSERT_EQ(p.supplementary.size(), 4u);
    const auto& original = p.supplementary[0];
    EXPECT_FALSE(original.act);
    EXPECT_EQ(original.provisions.size(), 2u);
    EXPECT_EQ(caption(original.provisions[1]), "（経過措置）");

    const auto& excerpt = p.supplementary[1];
    ASSERT_TRUE(excerpt.act);
    EXPECT_TRUE(excerpt.excerpt);
    EXPECT_EQ(excerpt.act->year, 22);
    EXPECT_EQ(excerpt.act->month, 3);
    EXPECT_EQ(excerpt.act->day, 31);
    EXPECT_EQ(toUtf8(excerpt.act->kind), "法律");
    EXPECT_EQ(excerpt.act->number, 15);
    ASSERT_EQ(excerpt.provisions.size(), 2u);
    EXPECT_EQ(excerpt.provisions[1].number.article, 3);  // an excerpt skips numbers
    EXPECT_EQ(toUtf8(excerpt.provisions[0].blocks.back().label), "二から四まで");

    // 附　則（…） 抄: no ideographic space, an ASCII one; numbered paragraphs with captions
    const auto& paragraphs = p.supplementary[2];
    EXPECT_EQ(toUtf8(paragraphs.title), "附則（平成二三年六月三〇日法律第八二号）抄");
    EXPECT_TRUE(paragraphs.excerpt);
    ASSERT_EQ(paragraphs.provisions.size(), 1u);
    EXPECT_EQ(paragraphs.provisions[0].kind, ProvisionKind::SupplementaryWhole);
    std::vector<BlockKind> kinds;
    for (const auto& b : paragraphs.provisions[0].blocks)
        kinds.push_back(b.kind);
    EXPECT_EQ(kinds, (std::vector<BlockKind>{BlockKind::Caption, BlockKind::Paragraph, BlockKind::Caption, BlockKind::Paragraph}));

    // one unnumbered provision, its stray </DIV>, and items at the top level
    const auto& unnumbered = p.supplementary[3];
    ASSERT_EQ(unnumbered.provisions.size(), 1u);
    EXPECT_EQ(unnumbered.provisions[0].blocks.size(), 3u);
    EXPECT_EQ(unnumbered.act->number, 100);
}

TEST(PageParser, oldCodeShapes)
{
    LawPage old = parseLawPage(testPage("oldcode.html"));
    EXPECT_TRUE(old.problems.empty()) << old.problems.front();
    ASSERT_EQ(old.articles.size(), 5u);
    EXPECT_EQ(old.articles[2].number, (importer::ArticleNumber{2, 2, 0}));  // 第二条ノ二
    // ○２ without a leading ideographic space
    ASSERT_EQ(old.articles[0].blocks.size(), 2u);
    EXPECT_EQ(toUtf8(old.articles[0].blocks[1].label), "２");
    EXPECT_EQ(toUtf8(plainText(old.articles[0].blocks[1].text)), "本法ニ規定ナキ事項ニ付テハ慣ハシニ従フ");
    // no original 附則; a block mixing an unnumbered provision with an article not numbered 1
    ASSERT_EQ(old.supplementary.size(), 2u);
    EXPECT_TRUE(old.supplementary[0].act);
    EXPECT_EQ(old.supplementary[0].act->era, U"明治");
    ASSERT_EQ(old.supplementary[1].provisions.size(), 2u);
    EXPECT_EQ(old.supplementary[1].provisions[0].kind, ProvisionKind::SupplementaryWhole);
    EXPECT_EQ(old.supplementary[1].provisions[1].number.article, 42);
    EXPECT_EQ(old.supplementary[1].provisions[1].blocks.size(), 2u);
}

TEST(PageParser, appendedTablesAreLinesOfText)
{
    const LawPage& p = actPage();
    ASSERT_EQ(p.appendedTables.size(), 2u);
    EXPECT_EQ(toUtf8(p.appendedTables[0].printedNumber), "別表第一");
    EXPECT_EQ(caption(p.appendedTables[0]), "（第八条関係）");
    EXPECT_EQ(caption(p.appendedTables[1]), "（第八条―第十条関係）");  // trailing space dropped
    EXPECT_EQ(p.appendedTables[1].number.article, 2);
}

TEST(PageParser, malformedPageKeepsWhatItCouldRead)
{
    std::string page = testPage("act.html");
    page.resize(page.find(importertest::cp("<B>第六条")) - 40);  // cut in the fifth article's paragraphs
    LawPage cut = parseLawPage(page);
    EXPECT_EQ(toUtf8(cut.title), "見本税法");
    EXPECT_EQ(cut.articles.size(), 6u);
    EXPECT_TRUE(cut.supplementary.empty());

    LawPage empty = parseLawPage("<HTML><BODY>x</BODY></HTML>");
    EXPECT_TRUE(empty.articles.empty());
    EXPECT_NE(std::find(empty.problems.begin(), empty.problems.end(), "本則の条文が見つかりません"), empty.problems.end());
    EXPECT_NE(std::find(empty.problems.begin(), empty.problems.end(), "法令名が見つかりません"), empty.problems.end());
}

}  // namespace

TEST(PageParser, bytesTheConverterRefusesLeaveNoLibraryWordsOnTheTerminal)
{
    // 0x85 0x40 is no character of code page 932.
    const std::string page = "<HTML><BODY><P>\x91\xE6\x82\x50\x8F\xF0\x85\x40</P></BODY></HTML>";
    testing::internal::CaptureStderr();
    importer::parseLawPage(page);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}
