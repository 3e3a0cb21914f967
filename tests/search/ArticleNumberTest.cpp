// The article-number jump: typed numbers in their stored form, and the look-up over real
// tables, from the whole list and from a search result.
#include <gtest/gtest.h>

#include "search/ArticleNumber.h"
#include "store/DataSource.h"
#include "store/Query.h"
#include "store/RangePresets.h"
#include "store/Table.h"
#include "store/VolumeWriter.h"
#include "support/TempDir.h"
#include "text/Cp932.h"

using namespace search;
using text::cp932;

namespace {

TEST(ArticleNumber, typedFormsBecomeTheStoredForm)
{
    struct Case {
        const char* typed;
        const char* range;
        const char* stored;
    };
    const Case cases[] = {
        {"35", "全範囲", "３５条"},
        {"第35条", "全範囲", "３５条"},
        {"第３５条", "全範囲", "３５条"},
        {"35の2", "全範囲", "３５条の２"},
        {"35ノ2", "全範囲", "３５条の２"},
        {"35ﾉ2", "全範囲", "３５条の２"},
        {"３５条の２", "全範囲", "３５条の２"},
        {"35の2の3", "全範囲", "３５条の２の３"},
        {"2-1", "全範囲", "２－１"},
        {"2ー1", "全範囲", "２－１"},
        {"2－1の3", "全範囲", "２－１の３"},  // a circular's number takes no "条"
        {"附則3", "全範囲", "附則３条"},
        {"附則第3条", "全範囲", "附則第３条"},
        {"別表第一", "全範囲", "別表第一"},
        {"別表第1", "全範囲", "別表第１"},
        {"付表第1", "全範囲", "付表１"},
        {"経過的取扱1", "全範囲", "経過的取扱１"},
        {"204の2", "旧商法", "２０４条ノ２"},
        {"204ﾉ2", "旧商法", "２０４条ノ２"},
        {"204条ノ2", "旧商法", "２０４条ノ２"},
        {"204ノ2", "商法", "２０４条の２"},
        {"12", "財基通", "１２"},
        {"12", "震災通", "１２"},
        {"12の2", "財基通", "１２条の２"},
        {"12", "財基", "１２条"},  // only the whole item text counts
        {"の2", "全範囲", "条の２"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormaliseArticleNumber(cp932(c.typed), cp932(c.range)), cp932(c.stored))
            << c.typed << " / " << c.range;
}

// A law volume in which an act and its order both hold ３５条, and 国通関係 codes of volume 5.
class ArticleJump : public ::testing::Test {
protected:
    testsupport::TempWorkingDir dir;
    store::Table main{"MainTable"};
    store::DataSource source{"MainSource"};
    store::Query result{"JyobunSQL0"};
    int fits = 0;
    std::function<void()> fit = [this] { ++fits; };

    void writeVolume(char letter, const std::vector<std::tuple<int, int, const char*>>& articles)
    {
        store::LawVolumeContent v;
        v.letter = letter;
        for (const auto& [gyo, code, bangou] : articles)
            v.articles.push_back({gyo, code, cp932("区分"), cp932(bangou), cp932(bangou), cp932("本文　共通")});
        store::writeLawVolume(dir.path(), v);
        main.SetTableName(std::string(1, letter) + "1.db");
        main.Open();
        source.setDataSet(&main);
    }

    void showResult(char letter)
    {
        result.SetSQL({"SELECT DISTINCT Gyo,KubunNo ", std::string("FROM ") + letter + "2.db ",
                       cp932("WHERE ( Honbun LIKE '%共通%') "), "ORDER BY Gyo "});
        result.Open();
        result.Last();
        source.setDataSet(&result);
    }

    std::int64_t currentGyo() { return source.dataSet()->IntegerField("Gyo"); }
};

TEST_F(ArticleJump, theWholeListFindsTheFirstArticleAndAPresetFindsItsOwn)
{
    writeVolume('E', {{1, 110, "１条"}, {2, 110, "３５条"}, {3, 120, "１条"}, {4, 120, "３５条"}});
    std::string number = NormaliseArticleNumber(cp932("第35条"), cp932("全範囲"));
    EXPECT_TRUE(JumpToArticleNumber(1, number, cp932("全範囲"), main, source, fit));
    EXPECT_EQ(currentGyo(), 2);

    store::ApplyListRange(1, cp932("消令"), main);
    EXPECT_TRUE(JumpToArticleNumber(1, NormaliseArticleNumber(cp932("35"), cp932("消令")), cp932("消令"), main,
                                    source, fit));
    EXPECT_EQ(currentGyo(), 4);
    // Searching the list as it is filters nothing anew and binds nothing.
    EXPECT_EQ(main.Filter(), "KubunNo = 120");
    EXPECT_EQ(source.dataSet(), &main);
    EXPECT_EQ(fits, 0);
}

TEST_F(ArticleJump, aNumberNotInTheListLeavesTheCurrentRow)
{
    writeVolume('E', {{1, 110, "１条"}, {2, 110, "３５条"}, {3, 120, "３５条の２"}});
    main.Last();
    const char* missing[] = {"３５", "３５条の", "５条", "35の2"};
    for (const char* typed : missing)
        EXPECT_FALSE(JumpToArticleNumber(1, cp932(typed), cp932("全範囲"), main, source, fit)) << typed;
    EXPECT_EQ(currentGyo(), 3);
    store::ApplyListRange(1, cp932("消法"), main);
    EXPECT_FALSE(JumpToArticleNumber(1, cp932("３５条の２"), cp932("消法"), main, source, fit));
}

TEST_F(ArticleJump, fromAResultTheJumpFilterDecidesAndAFoundArticleShowsTheMainTable)
{
    writeVolume('K', {{1, 160, "１条"}, {2, 170, "２条"}, {3, 190, "３条"}, {4, 710, "４条"}, {5, 260, "５条"}});
    showResult('K');
    const std::string range = cp932("国通関係");

    // The list range would show the circular (190); the jump stops before it.
    EXPECT_FALSE(JumpToArticleNumber(5, cp932("３条"), range, main, source, fit));
    EXPECT_EQ(source.dataSet(), &result);
    EXPECT_EQ(currentGyo(), 5);
    EXPECT_EQ(main.Filter(), "(KubunNo >= 160) and (KubunNo < 190)");
    EXPECT_TRUE(main.Filtered());
    EXPECT_FALSE(JumpToArticleNumber(5, cp932("４条"), range, main, source, fit));
    EXPECT_EQ(fits, 0);

    EXPECT_TRUE(JumpToArticleNumber(5, cp932("２条"), range, main, source, fit));
    EXPECT_EQ(source.dataSet(), &main);
    EXPECT_EQ(currentGyo(), 2);
    EXPECT_EQ(fits, 1);
    EXPECT_EQ(main.RecordCount(), 2);
}

TEST_F(ArticleJump, fromAResultWithTheWholeRangeTheMainTableIsUnfiltered)
{
    writeVolume('K', {{1, 160, "１条"}, {2, 190, "３条"}});
    main.SetFilter("KubunNo = 160");
    main.SetFiltered(true);
    showResult('K');
    EXPECT_TRUE(JumpToArticleNumber(5, cp932("３条"), cp932("全範囲"), main, source, fit));
    EXPECT_FALSE(main.Filtered());
    EXPECT_EQ(currentGyo(), 2);
}

TEST_F(ArticleJump, supplementaryAndTableNumbersAreFoundByEverySpellingUsersType)
{
    writeVolume('E', {{1, 110, "３条"}, {2, 110, "附則３条"}, {3, 110, "附則１２条の２"}, {4, 110, "別表第１"},
                      {5, 110, "別表第１２"}, {6, 120, "附則（平成２２年法律第１５号）３条"}});
    struct Case {
        const char* typed;
        int gyo;
    } cases[] = {
        {"附則3", 2},       {"附則第3条", 2},      {"附則第三条", 2},  {"附則第３条", 2},
        {"附則三", 2},      {"附則第十二条の二", 3}, {"附則12の2", 3},  {"別表第1", 4},
        {"別表第一", 4},    {"別表1", 4},          {"別表十二", 5},    {"別表第１２", 5},
    };
    for (const Case& c : cases) {
        main.First();
        const std::string number = NormaliseArticleNumber(cp932(c.typed), cp932("全範囲"));
        EXPECT_TRUE(JumpToArticleNumber(1, number, cp932("全範囲"), main, source, fit)) << c.typed;
        EXPECT_EQ(currentGyo(), c.gyo) << c.typed;
    }
    // The stored forms are tried only for 附則 and 別表, and only when the typed form finds nothing.
    EXPECT_FALSE(JumpToArticleNumber(1, cp932("附則第４条"), cp932("全範囲"), main, source, fit));
    EXPECT_FALSE(JumpToArticleNumber(1, cp932("別表第２"), cp932("全範囲"), main, source, fit));
    EXPECT_FALSE(JumpToArticleNumber(1, cp932("三条"), cp932("全範囲"), main, source, fit));
    EXPECT_EQ(StoredArticleNumberForm(cp932("附則（平成二十二年法律第十五号）第三条")),
              cp932("附則（平成２２年法律第１５号）第３条"));

    // From a search result the stored form is found under the jump filter and becomes the row.
    showResult('E');
    EXPECT_TRUE(JumpToArticleNumber(1, NormaliseArticleNumber(cp932("別表第一"), cp932("消法")), cp932("消法"), main,
                                    source, fit));
    EXPECT_EQ(source.dataSet(), &main);
    EXPECT_EQ(currentGyo(), 4);
}

}  // namespace
