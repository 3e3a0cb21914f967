// The delivery build from an authoring copy, including what an editor changed after the import.
#include <gtest/gtest.h>

#include "TestVolume.h"
#include "store/TableFile.h"
#include "text/Cp932.h"

using importer::AuthoringLink;
using importer::AuthoringVolume;
using importer::buildDelivery;
using importer::DeliveryError;
using importertest::cp;
using importertest::u8;

namespace {

AuthoringVolume importedCopy()
{
    return importertest::testVolume().imported.volume;
}

importer::AuthoringArticle& row(AuthoringVolume& v, int code, const char* number)
{
    for (auto& a : v.articles)
        if (a.code == code && a.number == cp(number))
            return a;
    throw std::runtime_error(number);
}

std::vector<std::pair<int, int>> runsOf(const importer::Delivery& d, int gyo)
{
    std::vector<std::pair<int, int>> out;
    for (const auto& l : d.content.links)
        if (l.gyo == gyo)
            out.emplace_back(l.sel, l.goGyo);
    std::sort(out.begin(), out.end());
    return out;
}

TEST(Delivery, editorsLinkCoversEveryOccurrenceNoOtherLinkHolds)
{
    AuthoringVolume v = importedCopy();
    auto& fifth = row(v, 110, "５条");
    AuthoringLink l;
    l.key = fifth.key;
    l.targetCode = 110;
    l.condition = cp("対価の額");
    l.targetNumber = cp("６条");
    v.links.push_back(l);
    // a phrase the editor registered that also sits inside an imported link is not linked there
    AuthoringLink inside = l;
    inside.condition = cp("条");
    inside.targetNumber = cp("１条");
    v.links.push_back(inside);
    auto d = buildDelivery(v, 1);
    const auto& a = importertest::testVolume().article(110, "５条");
    const int first = importertest::testVolume().article(110, "１条").gyo;
    const int sixth = importertest::testVolume().article(110, "６条").gyo;
    const int seventh = importertest::testVolume().article(110, "７条").gyo;
    std::string honbun = a.honbun;
    std::vector<std::pair<int, int>> expected;
    for (std::size_t at = text::find(honbun, cp("対価の額")); at != std::string::npos;
         at = text::find(honbun, cp("対価の額"), at + 2))
        expected.emplace_back(static_cast<int>(at), sixth);
    ASSERT_EQ(expected.size(), 5u);
    // 条 stands free in この条, but not inside 次条 or 第７条, and line 2 (第５条) is not the
    // article's own text
    expected.emplace_back(static_cast<int>(text::find(honbun, cp("この条")) + 4), first);
    expected.emplace_back(static_cast<int>(text::find(honbun, cp("次条"))), sixth);
    expected.emplace_back(static_cast<int>(text::find(honbun, cp("第７条"))), seventh);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(runsOf(d, a.gyo), expected);
    EXPECT_TRUE(d.problems.empty()) << d.problems.front();
}

TEST(Delivery, linkWhosePhraseOrTargetIsGoneIsReportedAndLeftOut)
{
    AuthoringVolume v = importedCopy();
    auto& seventh = row(v, 110, "７条");
    seventh.content = cp("　この条は、書き換えられた。");  // 前条第２項 and 同条第１項 are gone
    // 別表第１ is deleted: 第８条's link to it has no target any more
    v.articles.erase(std::find_if(v.articles.begin(), v.articles.end(),
                                  [](const auto& a) { return a.code == 110 && a.number == cp("別表第１"); }));
    auto d = buildDelivery(v, 1);
    EXPECT_EQ(d.problems, (std::vector<std::string>{"７条 「前条第２項」: 本文にその語句がありません",
                                                    "７条 「同条第１項」: 本文にその語句がありません",
                                                    "８条 「別表第１」: リンク先 110 別表第１ がありません",
                                                    "リンクの条文がありません: ＫＥＹ 19",
                                                    "２条 「法別表第１」: リンク先 110 別表第１ がありません"}));
    // the deleted table's outline node is gone too; the others keep theirs
    for (const auto& node : d.content.outline)
        EXPECT_NE(u8(node.caption), "別表第１（第８条関係）");
    EXPECT_EQ(d.content.treePositions.size(), d.content.articles.size());
}

TEST(Delivery, rowAddedByAnEditorGetsAnOutlineNodeAfterTheArticleBeforeIt)
{
    AuthoringVolume v = importedCopy();  // 行 in steps of 10
    importer::AuthoringArticle added;
    added.key = 900;
    added.code = 110;
    added.row = 125;  // between 第１１条 (120) and 附則第１条 (130)
    added.kubun = cp("見法");
    added.number = cp("１１条の２");
    added.caption = cp("追加");
    added.content = cp("　この条は、後から加えた。\r\n２　第１１条の規定は、この条にも及ぶ。");
    v.articles.push_back(added);
    AuthoringLink l;
    l.key = 900;
    l.targetCode = 110;
    l.condition = cp("第１１条");
    l.targetNumber = cp("１１条");
    v.links.push_back(l);
    auto d = buildDelivery(v, 1);
    ASSERT_EQ(d.content.articles.size(), 33u);
    EXPECT_EQ(d.content.articles[12].gyo, 125);
    EXPECT_EQ(u8(d.content.articles[12].title), "第１１条の２（追加）");
    EXPECT_EQ(u8(d.content.articles[12].honbun),
              "見本税法\r\n第１１条の２（追加）\r\n　この条は、後から加えた。\r\n２　第１１条の規定は、この条にも及ぶ。");
    EXPECT_EQ(runsOf(d, 125), (std::vector<std::pair<int, int>>{{int(cp("見本税法\r\n第１１条の２（追加）\r\n　この条は、後から加えた。\r\n２　").size()), 120}}));
    int node = -1;
    for (const auto& t : d.content.treePositions)
        if (t.gyo == 125)
            node = t.treeId;
    ASSERT_GT(node, 0);
    EXPECT_EQ(u8(d.content.outline[static_cast<std::size_t>(node - 1)].caption), "第１１条（委任）");
    EXPECT_EQ(d.content.outline[static_cast<std::size_t>(node)].depth, d.content.outline[static_cast<std::size_t>(node - 1)].depth);
    EXPECT_EQ(u8(d.content.outline[static_cast<std::size_t>(node + 1)].caption), "附則");
}

TEST(Delivery, rowNumbersMustBeWholeAndDistinct)
{
    AuthoringVolume v = importedCopy();
    v.articles[3].row = 3.5;
    EXPECT_THROW(
        {
            try {
                buildDelivery(v, 1);
            } catch (const DeliveryError& e) {
                EXPECT_STREQ(e.what(), "行が整数ではありません: ＫＥＹ 4 の行 3.500000");
                throw;
            }
        },
        DeliveryError);
    v.articles[3].row = v.articles[2].row;
    try {
        buildDelivery(v, 1);
        ADD_FAILURE() << "duplicate row accepted";
    } catch (const DeliveryError& e) {
        EXPECT_STREQ(e.what(), ("行が重複しています: " + std::to_string(static_cast<int>(v.articles[2].row))).c_str());
    }
}

TEST(Delivery, titleIsCutAtACharacterBoundaryWithin255Bytes)
{
    AuthoringVolume v = importedCopy();
    std::string longCaption;
    for (int i = 0; i < 130; ++i)
        longCaption += cp("表");
    row(v, 110, "１条").caption = longCaption;
    auto d = buildDelivery(v, 1);
    const auto& title = d.content.articles[0].title;
    EXPECT_EQ(title.size(), 254u);  // 第１条（ is 8 bytes, then whole 表s
    EXPECT_TRUE(text::isCharBoundary(title, title.size()));
    EXPECT_EQ(title.substr(title.size() - 2), cp("表"));
}

TEST(Delivery, letterFollowsTheVolume)
{
    auto d = buildDelivery(importedCopy(), 2);
    EXPECT_EQ(d.content.letter, 'G');
    for (const auto& l : d.content.links)
        EXPECT_TRUE(l.zeimoku == 2 || l.zeimoku < 0);
    EXPECT_THROW(buildDelivery(importedCopy(), 6), DeliveryError);
}

}  // namespace
