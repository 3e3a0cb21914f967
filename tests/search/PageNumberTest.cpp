// The page jump of the book volumes: page texts as numbers, and the look-up over a real book
// volume from the series list and from a search result.
#include <gtest/gtest.h>

#include "search/PageNumber.h"
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

TEST(PageNumber, aPageTextIsANumberOnlyWithOneDecimalPointAtMost)
{
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"12", 12.0},        {"012", 12.0},      {"12.5", 12.5},    {".5", 0.5},      {"12.", 12.0},
        {"0", 0.0},          {".", std::nullopt}, {"..", std::nullopt}, {"1.2.3", std::nullopt},
        {"", std::nullopt},  {"-1", std::nullopt}, {"12a", std::nullopt}, {" 12", std::nullopt},
        {"\x82\x50\x82\x51", std::nullopt},  // full-width １２
    };
    for (const auto& [pageText, number] : cases)
        EXPECT_EQ(PageNumberOfText(pageText), number) << pageText;
}

class PageJump : public ::testing::Test {
protected:
    testsupport::TempWorkingDir dir;
    store::Table main{"HbMainTable"};
    store::DataSource source{"HbMainSource"};
    store::Query result{"BooksSQL0"};
    int fits = 0;
    std::function<void()> fit = [this] { ++fits; };

    void SetUp() override
    {
        store::BookVolumeContent b;
        b.letter = 'B';
        b.entries = {{1, 1, 1, cp932("基通"), "1", 12, cp932("問１　寄附金")},
                     {2, 20, 1, cp932("税通"), "2", 12, cp932("問２　交際費")},
                     {3, 20, 1, cp932("税通"), "3", 12.5, cp932("問３　交際費の範囲")},
                     {4, 20, 2, cp932("税通"), "4", 30, cp932("問４　寄附金")}};
        store::writeBookVolume(dir.path(), b);
        main.SetTableName("B1.db");
        main.Open();
        source.setDataSet(&main);
    }

    void showResult()
    {
        result.SetSQL({"SELECT DISTINCT BookSeq,BookNo,BookRenban ", "FROM B1.db ",
                       cp932("WHERE ( Mokuji LIKE '%寄附金%') "), "ORDER BY BookSeq "});
        result.Open();
        source.setDataSet(&result);
    }

    std::int64_t currentSeq() { return source.dataSet()->IntegerField("BookSeq"); }
};

TEST_F(PageJump, theSeriesListFindsTheFirstEntryOnThePage)
{
    EXPECT_TRUE(JumpToBookPage(0, "12", cp932("全範囲"), main, source, fit));
    EXPECT_EQ(currentSeq(), 1);
    store::ApplyBookListRange(0, cp932("税務通信"), main);
    EXPECT_TRUE(JumpToBookPage(0, "12", cp932("税務通信"), main, source, fit));
    EXPECT_EQ(currentSeq(), 2);
    EXPECT_TRUE(JumpToBookPage(0, "12.5", cp932("税務通信"), main, source, fit));
    EXPECT_EQ(currentSeq(), 3);
    EXPECT_FALSE(JumpToBookPage(0, "13", cp932("税務通信"), main, source, fit));
    EXPECT_EQ(currentSeq(), 3);
    EXPECT_EQ(fits, 0);
}

TEST_F(PageJump, fromAResultTheListSwitchesToTheSeriesOnTheEntry)
{
    showResult();
    EXPECT_TRUE(JumpToBookPage(0, "30", cp932("税務通信"), main, source, fit));
    EXPECT_EQ(source.dataSet(), &main);
    EXPECT_EQ(main.Filter(), "BookNo = 20");
    EXPECT_EQ(main.RecordCount(), 3);
    EXPECT_EQ(currentSeq(), 4);
    EXPECT_EQ(fits, 1);
}

TEST_F(PageJump, fromAResultAMissingPageKeepsTheResultAndTheSeriesFilter)
{
    showResult();
    result.Last();
    EXPECT_FALSE(JumpToBookPage(0, "12", cp932("減価償却"), main, source, fit));
    EXPECT_EQ(source.dataSet(), &result);
    EXPECT_EQ(currentSeq(), 4);
    EXPECT_EQ(main.Filter(), "BookNo = 70");
    EXPECT_TRUE(main.Filtered());
}

TEST_F(PageJump, aTextThatIsNoNumberFindsNothingAndChangesNothing)
{
    showResult();
    for (const char* pageText : {".", "..", "1.2.3", ""}) {
        EXPECT_FALSE(JumpToBookPage(0, pageText, cp932("税務通信"), main, source, fit)) << pageText;
        EXPECT_EQ(source.dataSet(), &result);
        EXPECT_FALSE(main.Filtered());
        EXPECT_EQ(main.Filter(), "");
    }
}

}  // namespace
