// An article's render input read from real table files: its text and code from the sub table the
// list moved, and exactly its own link rows, in ascending Sel.
#include <gtest/gtest.h>

#include "display/ArticleSource.h"
#include "store/Table.h"
#include "support/TempDir.h"
#include "text/Cp932.h"
#include "store/VolumeWriter.h"

using text::cp932;

namespace {

std::vector<std::vector<int>> rowsOf(const display::ArticleRenderInput& input)
{
    std::vector<std::vector<int>> rows;
    for (const auto& l : input.links)
        rows.push_back({l.sel, l.goGyo, l.zeimoku});
    return rows;
}

TEST(ArticleSource, readsTheTextCodeAndOnlyTheLinkRowsOfTheArticle)
{
    testsupport::TempWorkingDir dir;
    store::LawVolumeContent v;
    v.letter = 'G';
    v.articles = {{10, 410, cp932("会社法"), cp932("１条"), cp932("第一条"), cp932("第一条　趣旨\r\n２　前条")},
                  {11, 420, cp932("商法"), cp932("２条"), cp932("第二条"), cp932("第二条　本文")},
                  {12, 510, cp932("民法"), cp932("３条"), cp932("第三条"), cp932("第三条　本文")}};
    // Written out of order: the file holds them by Gyo, then Sel. Gyo 12's link is the last row.
    v.links = {{11, 6, 2, 10, 2}, {10, 14, 4, 11, 2}, {10, 2, 2, 12, -1}, {12, 0, 1, 10, 2}};
    v.treePositions = {{10, 0}, {11, 1}, {12, 2}};
    store::writeLawVolume(dir.path() / "vol", v);

    display::LawVolumeFolder folder(dir.path() / "vol", display::LawVolumeOfLetter('G'));
    ASSERT_EQ(folder.volume(), 2);

    struct Case {
        int gyo;
        std::string honbun;
        int kubunNo;
        std::vector<std::vector<int>> links;
    };
    const Case cases[] = {
        {10, cp932("第一条　趣旨\r\n２　前条"), 410, {{2, 12, -1}, {3, 12, -1}, {14, 11, 2}, {15, 11, 2}, {16, 11, 2}, {17, 11, 2}}},
        {11, cp932("第二条　本文"), 420, {{6, 10, 2}, {7, 10, 2}}},
        {12, cp932("第三条　本文"), 510, {{0, 10, 2}}},
    };
    // Twice over, and backwards the second time: the link table's position left by one article
    // does not leak into the next.
    for (int round = 0; round < 2; ++round) {
        for (int k = 0; k < 3; ++k) {
            const Case& c = cases[round == 0 ? k : 2 - k];
            ASSERT_TRUE(folder.showArticle(c.gyo));
            display::ArticleRenderInput input =
                display::ReadArticleRenderInput(folder.subTable(), folder.linkTable(), c.gyo);
            EXPECT_EQ(input.honbun, c.honbun) << c.gyo;
            EXPECT_EQ(input.kubunNo, c.kubunNo) << c.gyo;
            EXPECT_EQ(rowsOf(input), c.links) << c.gyo;
            EXPECT_EQ(input.highlightWord1, "");
            EXPECT_EQ(input.highlightWord2, "");
        }
    }
    EXPECT_FALSE(folder.showArticle(13));
}

TEST(ArticleSource, anArticleWithoutLinkRowsHasNone)
{
    testsupport::TempWorkingDir dir;
    store::LawVolumeContent v;
    v.letter = 'E';
    v.articles = {{1, 110, cp932("消法"), cp932("１条"), cp932("第一条"), cp932("第一条　本文")},
                  {2, 110, cp932("消法"), cp932("２条"), cp932("第二条"), cp932("第二条　本文")}};
    v.links = {{2, 0, 2, 1, 1}};
    store::writeLawVolume(dir.path(), v);
    display::LawVolumeFolder folder(dir.path(), 1);
    // Opening shows the first article.
    display::ArticleRenderInput input = display::ReadArticleRenderInput(folder.subTable(), folder.linkTable(), 1);
    EXPECT_EQ(input.honbun, cp932("第一条　本文"));
    EXPECT_TRUE(input.links.empty());
}

TEST(ArticleSource, lettersNameTheLawVolumes)
{
    const std::pair<char, int> cases[] = {{'A', 0}, {'E', 1}, {'G', 2}, {'H', 3}, {'I', 4}, {'K', 5},
                                          {'e', 1}, {'k', 5}, {'B', -1}, {'F', -1}, {'Z', -1}, {'1', -1}};
    for (auto [letter, volume] : cases)
        EXPECT_EQ(display::LawVolumeOfLetter(letter), volume) << letter;
}

}  // namespace
