// The range presets over real table files: the items of every list, the exact texts, and the
// rows a preset leaves in a list, a jump and a search.
#include <gtest/gtest.h>

#include "store/FilterExpression.h"
#include "store/LocalSql.h"
#include "store/Query.h"
#include "store/RangePresets.h"
#include "store/Table.h"
#include "store/VolumeWriter.h"
#include "support/TempDir.h"
#include "text/Cp932.h"

using namespace store;
using text::cp932;

namespace {

std::vector<std::string> cp932List(const std::vector<const char*>& utf8)
{
    std::vector<std::string> out;
    for (const char* s : utf8)
        out.push_back(cp932(s));
    return out;
}

std::vector<std::int64_t> column(DataSet& d, const char* field)
{
    std::vector<std::int64_t> out;
    for (d.First(); !d.Eof(); d.Next())
        out.push_back(d.IntegerField(field));
    return out;
}

TEST(RangePresets, everyListHoldsItsItemsInOrderWithItsDropDownRows)
{
    struct Case {
        bool book;
        int volume;
        std::vector<const char*> items;
        int dropDownRows;
    };
    const Case cases[] = {
        {false, 0, {"全範囲", "本法関係", "耐用年数関係", "措置法関係", "震災関係", "法法", "法令", "法規", "法基通",
                    "連基通", "耐令", "耐通", "措法", "措令", "措規", "措通", "連措通", "震災法", "震災令", "震災規",
                    "震災通", "復興法", "復法令", "復法規"}, 24},
        {false, 1, {"全範囲", "本法関係", "地方税関係", "措置法関係", "震災関係", "消法", "消令", "消規", "消基通",
                    "消個通", "地方", "地方令", "地方規", "措法", "措令", "措規", "震災法", "震災令", "震災通"}, 19},
        {false, 2, {"全範囲", "新法関係", "旧法関係", "会社法", "商法", "整備法", "会社令", "整備令", "会社規", "商規",
                    "計規", "電公令", "民法", "旧商法", "有限法", "企会原", "旧商規", "監査特", "監査令"}, 23},
        {false, 3, {"全範囲", "本法関係", "措置法関係", "震災関係", "所法", "所令", "所規", "所基通", "措法", "措令",
                    "措規", "措通", "震災法", "震災令", "震災規", "震災通", "復興法", "復所令", "復所規"}, 19},
        {false, 4, {"全範囲", "本法関係", "措置法関係", "震災関係", "相法", "相令", "相規", "相基通", "財基通", "措法",
                    "措令", "措規", "措通", "震災法", "震災令", "震災規"}, 16},
        {false, 5, {"全範囲", "国通関係", "国徴関係", "印紙関係", "震災関係", "国通", "国通令", "国通規", "国通通",
                    "国徴", "国徴令", "国徴規", "国徴通", "印紙", "印紙令", "印紙規", "印紙通", "措法", "措令", "措規",
                    "震災法", "震災令", "震災規", "震災通"}, 24},
        {true, 0, {"全範囲", "基通逐条解説", "耐通逐条解説", "措通逐条解説", "税務通信", "圧縮記帳", "回答事例",
                   "ケーススタディ", "裁決事例", "減価償却", "給与退職金", "租税判例", "調査事例", "質疑応答集",
                   "事例選集", "交際費リベート"}, 16},
        {true, 1, {"全範囲", "基通逐条解説", "税務通信", "勘定科目", "裁決事例", "実務消費税法", "業種区分",
                   "簡易課税", "回答事例", "租税判例"}, 10},
        {true, 2, {"全範囲", "所基通逐条", "譲渡措通逐条", "相基通逐条", "相続措通逐条", "財産通達逐条", "税務通信",
                   "株式公社債", "裁決事例", "財産評価", "資産質疑", "資産実務", "資産実例", "所得質疑", "租税判例",
                   "等価交換", "土地評価", "保険税務"}, 18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.book ? "book " : "law ") + std::to_string(c.volume));
        EXPECT_EQ(c.book ? BookRangeItems(c.volume) : LawRangeItems(c.volume), cp932List(c.items));
        EXPECT_EQ(c.book ? BookRangeDropDownCount(c.volume) : LawRangeDropDownCount(c.volume), c.dropDownRows);
    }
    EXPECT_TRUE(LawRangeItems(6).empty());
    EXPECT_TRUE(BookRangeItems(-1).empty());
    EXPECT_EQ(LawRangeDropDownCount(-1), 0);
}

TEST(RangePresets, presetTextsKeepTheirBlanks)
{
    struct Case {
        int volume;
        const char* label;
        std::string listFilter, jumpFilter;
        std::vector<std::string> clause;
    };
    const Case cases[] = {
        {0, "本法関係", "KubunNo < 70", "KubunNo < 70", {"AND ( KubunNo < 70) "}},
        {0, "耐用年数関係", "(KubunNo >= 70) and (KubunNo < 100)", "(KubunNo >= 70) and (KubunNo < 100)",
         {"AND ( KubunNo >= 70 ) ", "AND ( KubunNo < 100) "}},
        {1, "本法関係", "KubunNo < 200", "KubunNo < 200", {"AND ( KubunNo < 200) "}},
        {1, "地方税関係", "(KubunNo >= 600) and (KubunNo < 700)", "(KubunNo >= 600) and (KubunNo < 700)",
         {"AND ( KubunNo >= 600 ) ", "AND ( KubunNo < 700) "}},
        {2, "新法関係", "KubunNo < 500", "KubunNo < 500", {"AND ( KubunNo < 500) "}},
        {2, "旧法関係", "KubunNo > 899", "KubunNo > 899", {"AND ( KubunNo > 899) "}},
        {3, "本法関係", "KubunNo < 300", "KubunNo < 300", {"AND ( KubunNo < 300) "}},
        {4, "本法関係", "KubunNo < 400", "KubunNo < 400", {"AND ( KubunNo < 400) "}},
        {0, "措置法関係", "(KubunNo >= 700) and (KubunNo < 800)", "(KubunNo >= 700) and (KubunNo < 800)",
         {"AND ( KubunNo >= 700 ) ", "AND ( KubunNo < 800) "}},
        {4, "措置法関係", "(KubunNo >= 700) and (KubunNo < 800)", "(KubunNo >= 700) and (KubunNo < 800)",
         {"AND ( KubunNo >= 700 ) ", "AND ( KubunNo < 800) "}},
        {1, "震災関係", "KubunNo >= 800", "KubunNo >= 800", {"AND ( KubunNo >= 800) "}},
        {3, "震災関係", "KubunNo >= 800", "KubunNo >= 800", {"AND ( KubunNo >= 800) "}},
        {5, "国通関係", "((KubunNo > 150) and (KubunNo < 200)) or ((KubunNo > 700) and (KubunNo < 760))",
         "(KubunNo >= 160) and (KubunNo < 190)",
         {"AND ( ( ( KubunNo > 150) AND ( KubunNo < 200) ) OR ( ( KubunNo > 700) AND ( KubunNo < 760) ) )"}},
        {5, "国徴関係", "(KubunNo > 250) and (KubunNo < 300)", "(KubunNo >= 260) and (KubunNo < 290)",
         {"AND  ( ( KubunNo > 250) AND ( KubunNo < 300) ) "}},
        {5, "印紙関係", "((KubunNo > 350) and (KubunNo < 400)) or ((KubunNo > 700) and (KubunNo < 760))",
         "((KubunNo >= 360) and (KubunNo < 390)) or ((KubunNo >= 700) and (KubunNo < 800)) ",
         {"AND ( ( ( KubunNo > 350) AND ( KubunNo < 400) ) OR ( ( KubunNo > 700) AND ( KubunNo < 760) ) )"}},
        {5, "震災関係", "KubunNo >= 800", "KubunNo >= 800", {"AND ( KubunNo >= 800) "}},
        {0, "措法", "KubunNo = 710", "KubunNo = 710", {"AND ( KubunNo = 710) "}},
        {0, "法法", "KubunNo = 10", "KubunNo = 10", {"AND ( KubunNo = 10) "}},
        {3, "復所令", "KubunNo = 873", "KubunNo = 873", {"AND ( KubunNo = 873) "}},
        {3, "復所規", "KubunNo = 883", "KubunNo = 883", {"AND ( KubunNo = 883) "}},
        {5, "国通通", "KubunNo = 190", "KubunNo = 190", {"AND ( KubunNo = 190) "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.volume) + " " + c.label);
        const RangePreset* p = FindLawRangePreset(c.volume, cp932(c.label));
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->listFilter, c.listFilter);
        EXPECT_EQ(p->jumpFilter, c.jumpFilter);
        EXPECT_EQ(p->searchClause, c.clause);

        std::vector<std::string> lines{"SELECT "};
        AppendRangeClause(c.volume, cp932(c.label), lines);
        lines.erase(lines.begin());
        EXPECT_EQ(lines, c.clause);
    }
}

TEST(RangePresets, bookClauseHasABlankBeforeTheParenthesisAndTheLawClauseNone)
{
    std::vector<std::string> lines;
    AppendBookRangeClause(0, cp932("基通逐条解説"), lines);
    AppendBookRangeClause(0, cp932("租税判例"), lines);
    AppendRangeClause(0, cp932("法法"), lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"AND ( BookNo = 1 ) ", "AND ( BookNo = 95 ) ", "AND ( KubunNo = 10) "}));
    const RangePreset* p = FindBookRangePreset(2, cp932("保険税務"));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->listFilter, "BookNo = 120");
    EXPECT_EQ(p->jumpFilter, "BookNo = 120");
}

TEST(RangePresets, everyFilterAndClauseIsAcceptedByTheEngine)
{
    for (int book = 0; book < 2; ++book) {
        for (int v = 0; v < (book ? 3 : 6); ++v) {
            for (const RangePreset& p : book ? BookRangePresets(v) : LawRangePresets(v)) {
                SCOPED_TRACE(std::to_string(v) + " " + text::toUtf8(p.label).text);
                if (p.wholeRange()) {
                    EXPECT_TRUE(p.jumpFilter.empty());
                    EXPECT_TRUE(p.searchClause.empty());
                    continue;
                }
                EXPECT_NO_THROW(FilterExpression::parse(p.listFilter));
                EXPECT_NO_THROW(FilterExpression::parse(p.jumpFilter));
                std::string statement = "SELECT DISTINCT Gyo,KubunNo FROM A2.db WHERE ( Honbun LIKE '%x%') ";
                for (const std::string& line : p.searchClause)
                    statement += line;
                EXPECT_NO_THROW(translateLocalSql(statement + "ORDER BY Gyo "));
            }
        }
    }
}

TEST(RangePresets, categoryAbbreviationsAndTheListsThatOfferThem)
{
    struct Case {
        int code;
        const char* abbreviation;
        std::vector<int> volumes;
    };
    const Case cases[] = {
        {10, "法法", {0}},        {80, "耐通", {0}},           {150, "消個通", {1}},       {190, "国通通", {5}},
        {510, "民法", {2}},       {630, "地方規", {1}},        {710, "措法", {0, 1, 3, 4, 5}},
        {740, "措通", {0, 3, 4}}, {750, "連措通", {0}},        {830, "震災規", {0, 3, 4, 5}},
        {840, "震災通", {0, 1, 3, 5}}, {860, "復興法", {0, 3}}, {873, "復所令", {3}},       {883, "復所規", {3}},
        {960, "監査令", {2}},     {0, "", {}},                 {60, "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(CategoryAbbreviation(c.code), cp932(c.abbreviation));
        EXPECT_EQ(VolumesOfferingCategory(c.code), c.volumes);
    }
}

// A law volume whose articles carry the codes given, Gyo 1, 2, … in that order.
class RangePresetTables : public ::testing::Test {
protected:
    testsupport::TempWorkingDir dir;

    void writeVolume(char letter, const std::vector<int>& codes)
    {
        LawVolumeContent v;
        v.letter = letter;
        int gyo = 1;
        for (int code : codes) {
            std::string n = text::ToFullWidthDigits(std::to_string(gyo));
            v.articles.push_back({gyo, code, cp932("区分"), n + cp932("条"), cp932("第") + n + cp932("条"),
                                  cp932("本文　共通") + n + "\r\n"});
            ++gyo;
        }
        writeLawVolume(dir.path(), v);
    }

    std::vector<std::int64_t> codesOf(DataSet& d) { return column(d, "KubunNo"); }

    static void openTable(Table& t, const std::string& file)
    {
        t.SetTableName(file);
        t.Open();
    }

    static void openResult(Query& q, const std::string& file, std::vector<std::string> extraLines = {})
    {
        std::vector<std::string> lines{"SELECT DISTINCT Gyo,KubunNo ", "FROM " + file + " ",
                                       cp932("WHERE ( Honbun LIKE '%共通%') ")};
        lines.insert(lines.end(), extraLines.begin(), extraLines.end());
        lines.push_back("ORDER BY Gyo ");
        q.SetSQL(lines);
        q.Open();
    }
};

const std::vector<int> kVolumeFiveCodes{150, 151, 160, 170, 189, 190, 199, 200, 250, 260, 290, 299,
                                        360, 389, 390, 700, 701, 710, 759, 760, 799, 800, 840};

TEST_F(RangePresetTables, volumeFiveListAndJumpOfEachRangeTakeTheirOwnCodes)
{
    writeVolume('K', kVolumeFiveCodes);
    struct Case {
        const char* label;
        std::vector<std::int64_t> listCodes, jumpCodes;
    };
    const Case cases[] = {
        {"国通関係", {151, 160, 170, 189, 190, 199, 701, 710, 759}, {160, 170, 189}},
        {"国徴関係", {260, 290, 299}, {260}},
        {"印紙関係", {360, 389, 390, 701, 710, 759}, {360, 389, 700, 701, 710, 759, 760, 799}},
        {"震災関係", {800, 840}, {800, 840}},
        {"国通通", {190}, {190}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Table main("MMainTable");
        openTable(main, "K1.db");
        ApplyListRange(5, cp932(c.label), main);
        EXPECT_TRUE(main.Filtered());
        EXPECT_EQ(codesOf(main), c.listCodes);
        ApplyJumpRange(5, cp932(c.label), main);
        EXPECT_EQ(codesOf(main), c.jumpCodes);
    }
}

TEST_F(RangePresetTables, searchClauseNarrowsTheResultAsTheListFilterDoes)
{
    writeVolume('K', kVolumeFiveCodes);
    struct Case {
        const char* label;
        std::vector<std::int64_t> codes;
    };
    const Case cases[] = {
        {"国通関係", {151, 160, 170, 189, 190, 199, 701, 710, 759}},
        {"国徴関係", {260, 290, 299}},
        {"印紙関係", {360, 389, 390, 701, 710, 759}},
        {"措法", {710}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<std::string> clause;
        AppendRangeClause(5, cp932(c.label), clause);
        Query q("JyobunSQL0");
        openResult(q, "K2.db", clause);
        EXPECT_EQ(codesOf(q), c.codes);
    }
}

TEST_F(RangePresetTables, wholeRangeOnAResultShowsAllItsRowsAndLeavesTheMainTable)
{
    writeVolume('E', {110, 120, 130, 140, 610, 710});
    Table main("SMainTable");
    openTable(main, "E1.db");
    ApplyJumpRange(1, cp932("消令"), main);
    Query result("JyobunSQL0");
    openResult(result, "E2.db");

    // A single-code preset narrows the result by its KubunNo column.
    ApplyListRange(1, cp932("消法"), result);
    EXPECT_EQ(codesOf(result), (std::vector<std::int64_t>{110}));
    ApplyListRange(1, cp932("本法関係"), result);
    EXPECT_EQ(codesOf(result), (std::vector<std::int64_t>{110, 120, 130, 140}));

    ApplyListRange(1, cp932("全範囲"), result);
    EXPECT_FALSE(result.Filtered());
    EXPECT_EQ(result.Filter(), "");
    EXPECT_EQ(codesOf(result), (std::vector<std::int64_t>{110, 120, 130, 140, 610, 710}));
    EXPECT_EQ(main.Filter(), "KubunNo = 120");
    EXPECT_TRUE(main.Filtered());
    EXPECT_EQ(codesOf(main), (std::vector<std::int64_t>{120}));
}

TEST_F(RangePresetTables, aTextNamingNoPresetChangesNothing)
{
    writeVolume('E', {110, 120, 130});
    Table main("SMainTable");
    openTable(main, "E1.db");
    ApplyListRange(1, cp932("消令"), main);
    const std::vector<std::string> otherTexts{
        "",                        // nothing selected
        cp932("全範囲 "),          // a typed text with a blank
        cp932("耐用年数関係"),     // a preset of another volume
        cp932("消　令"),
        cp932("消令").substr(0, 2),  // half of the label's bytes
    };
    for (const std::string& t : otherTexts) {
        ApplyListRange(1, t, main);
        ApplyJumpRange(1, t, main);
        std::vector<std::string> lines{"X"};
        AppendRangeClause(1, t, lines);
        EXPECT_EQ(lines, std::vector<std::string>{"X"});
        EXPECT_EQ(main.Filter(), "KubunNo = 120");
        EXPECT_TRUE(main.Filtered());
        EXPECT_EQ(codesOf(main), (std::vector<std::int64_t>{120}));
    }
    // Volume indexes outside the lists do nothing either.
    ApplyListRange(6, cp932("全範囲"), main);
    ApplyJumpRange(-1, cp932("全範囲"), main);
    ApplyBookListRange(3, cp932("全範囲"), main);
    EXPECT_EQ(main.Filter(), "KubunNo = 120");
    EXPECT_TRUE(main.Filtered());
    std::vector<std::string> lines;
    AppendRangeClause(7, cp932("措法"), lines);
    AppendBookRangeClause(-1, cp932("税務通信"), lines);
    EXPECT_TRUE(lines.empty());
}

TEST_F(RangePresetTables, restorationCodesAndCivilCodeSitWhereTheirPresetsPutThem)
{
    writeVolume('H', {210, 860, 873, 883, 890});
    Table main("TMainTable");
    openTable(main, "H1.db");
    ApplyListRange(3, cp932("復所令"), main);
    EXPECT_EQ(codesOf(main), (std::vector<std::int64_t>{873}));
    ApplyJumpRange(3, cp932("復所規"), main);
    EXPECT_EQ(codesOf(main), (std::vector<std::int64_t>{883}));
    ApplyListRange(3, cp932("震災関係"), main);
    EXPECT_EQ(codesOf(main), (std::vector<std::int64_t>{860, 873, 883, 890}));

    writeVolume('G', {410, 490, 510, 900, 960});
    Table company("GMainTable");
    openTable(company, "G1.db");
    ApplyListRange(2, cp932("新法関係"), company);
    EXPECT_EQ(codesOf(company), (std::vector<std::int64_t>{410, 490}));
    ApplyListRange(2, cp932("旧法関係"), company);
    EXPECT_EQ(codesOf(company), (std::vector<std::int64_t>{900, 960}));
    ApplyListRange(2, cp932("民法"), company);
    EXPECT_EQ(codesOf(company), (std::vector<std::int64_t>{510}));
}

TEST_F(RangePresetTables, bookPresetsFilterTheBookListAndTheJump)
{
    BookVolumeContent b;
    b.letter = 'F';
    b.entries = {{1, 1, 1, cp932("基通"), "1", 10, cp932("問１")},
                 {2, 20, 1, cp932("税通"), "2", 10, cp932("問２")},
                 {3, 95, 1, cp932("判例"), "3", 12, cp932("問３")},
                 {4, 20, 2, cp932("税通"), "4", 12, cp932("問４")}};
    writeBookVolume(dir.path(), b);
    Table main("SbMainTable");
    openTable(main, "F1.db");
    ApplyBookListRange(1, cp932("税務通信"), main);
    EXPECT_EQ(column(main, "BookSeq"), (std::vector<std::int64_t>{2, 4}));
    ApplyBookJumpRange(1, cp932("租税判例"), main);
    EXPECT_EQ(column(main, "BookSeq"), (std::vector<std::int64_t>{3}));
    ApplyBookListRange(1, cp932("全範囲"), main);
    EXPECT_FALSE(main.Filtered());
    EXPECT_EQ(column(main, "BookSeq"), (std::vector<std::int64_t>{1, 2, 3, 4}));
    // 減価償却 is a series of 法人目次, not of 消費目次.
    ApplyBookListRange(1, cp932("減価償却"), main);
    EXPECT_FALSE(main.Filtered());
}

}  // namespace
