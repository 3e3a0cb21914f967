// The statements of the keyword, book and reference searches, line by line, and what they find
// when the engine runs them over real table files.
#include <gtest/gtest.h>

#include "search/ReferenceScope.h"
#include "search/SearchStatements.h"
#include "store/Query.h"
#include "store/VolumeWriter.h"
#include "support/TempDir.h"
#include "text/Cp932.h"

using namespace search;
using text::cp932;

namespace {

std::vector<std::string> cp932Lines(const std::vector<const char*>& utf8)
{
    std::vector<std::string> out;
    for (const char* s : utf8)
        out.push_back(cp932(s));
    return out;
}

std::vector<std::int64_t> column(store::DataSet& d, const char* field)
{
    std::vector<std::int64_t> out;
    for (d.First(); !d.Eof(); d.Next())
        out.push_back(d.IntegerField(field));
    return out;
}

TEST(KeywordStatement, linesOfEachKeywordShape)
{
    struct Case {
        const char* what;
        int volume;
        const char* file;
        const char* keyword1;
        const char* keyword2;
        const char* range;
        std::vector<const char*> lines;
        const char* shown1;  // the key edits afterwards
        const char* shown2;
    };
    const Case cases[] = {
        {"two keywords with a range in volume 0", 0, "A2.db", "減価", "償却", "本法関係",
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM A2.db ", "WHERE ( Honbun LIKE '%減価%') ",
          "AND ( Honbun LIKE '%償却%') ", "AND ( KubunNo < 70) ", "AND ( KEY28 = 1 ) ", "ORDER BY Gyo "},
         "減価", "償却"},
        {"only key edit 2", 1, "E2.db", "", "償却", "全範囲",
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%償却%') ", "ORDER BY Gyo "}, "",
         "償却"},
        {"both start with the asterisk", 1, "E2.db", "＊－", "＊条", "全範囲",
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%＊%') ", "ORDER BY Gyo "}, "－",
         "条"},
        {"an edit holding only the asterisk becomes empty", 1, "E2.db", "＊", "＊条", "全範囲",
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%＊%') ", "ORDER BY Gyo "}, "",
         "条"},
        {"only one starts with the asterisk", 1, "E2.db", "＊a", "b", "全範囲",
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%＊a%') ",
          "AND ( Honbun LIKE '%b%') ", "ORDER BY Gyo "},
         "＊a", "b"},
        {"full-width digits", 1, "E2.db", "３５", "", "全範囲",
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%３５%') ", "ORDER BY Gyo "}, "３５",
         ""},
        {"index character of the second keyword comes first", 0, "A2.db", "金利", "", "全範囲",
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM A2.db ", "WHERE ( Honbun LIKE '%金利%') ", "AND ( KEY33 = 1 ) ",
          "ORDER BY Gyo "},
         "金利", ""},
        {"no index character", 0, "A2.db", "法人", "", "全範囲",
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM A2.db ", "WHERE ( Honbun LIKE '%法人%') ", "ORDER BY Gyo "}, "法人",
         ""},
        {"the index line reads the keywords after the asterisk rule", 0, "A2.db", "＊金", "＊", "措法",
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM A2.db ", "WHERE ( Honbun LIKE '%＊%') ", "AND ( KubunNo = 710) ",
          "AND ( KEY50 = 1 ) ", "ORDER BY Gyo "},
         "金", ""},
        {"index lines belong to volume 0 only", 3, "H2.db", "金利", "", "本法関係",
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM H2.db ", "WHERE ( Honbun LIKE '%金利%') ", "AND ( KubunNo < 300) ",
          "ORDER BY Gyo "},
         "金利", ""},
        {"a range of two lines", 1, "E2.db", "地方", "消費", "地方税関係",
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%地方%') ",
          "AND ( Honbun LIKE '%消費%') ", "AND ( KubunNo >= 600 ) ", "AND ( KubunNo < 700) ", "ORDER BY Gyo "},
         "地方", "消費"},
        {"a quote is doubled, percent and underscore stay", 1, "E2.db", "it's", "100%_", "全範囲",
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%it''s%') ",
          "AND ( Honbun LIKE '%100%_%') ", "ORDER BY Gyo "},
         "it's", "100%_"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        KeywordStatement s =
            BuildKeywordStatement(c.volume, c.file, cp932(c.keyword1), cp932(c.keyword2), cp932(c.range));
        EXPECT_EQ(s.lines, cp932Lines(c.lines));
        EXPECT_EQ(s.keyword1, cp932(c.shown1));
        EXPECT_EQ(s.keyword2, cp932(c.shown2));
    }
}

TEST(KeywordStatement, normalisationGivesFullWidthDigitsAndTheFullWidthHyphen)
{
    const std::pair<const char*, const char*> cases[] = {
        {"35", "３５"},           {"リース", "リ－ス"}, {"", ""},
        {"ーコー9ー", "－コ－９－"}, {"３５", "３５"},    {"a-1", "a-１"},  // the ASCII hyphen is no long vowel
        {"表ー", "表－"},         // 表's second byte is 5C: the mark after it is still a whole character
    };
    for (const auto& [typed, normalised] : cases)
        EXPECT_EQ(NormaliseKeywordText(cp932(typed)), cp932(normalised)) << typed;
}

TEST(KeywordStatement, indexCharacterLineIsTheFirstIndexCharacterFound)
{
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"減価償却", {"AND ( KEY28 = 1 ) "}},
        {"金利", {"AND ( KEY33 = 1 ) "}},
        {"慶弔金", {"AND ( KEY0 = 1 ) "}},
        {"事業", {"AND ( KEY49 = 1 ) "}},
        {"法人税", {}},
        {"", {}},
    };
    for (const auto& [word, lines] : cases) {
        std::vector<std::string> out;
        AppendIndexCharClause(cp932(word), out);
        EXPECT_EQ(out, lines) << word;
    }
}

TEST(BookStatement, linesWithSeriesAndWithoutTheAsteriskRule)
{
    struct Case {
        const char* what;
        int volume;
        const char* file;
        const char* keyword1;
        const char* keyword2;
        const char* range;
        std::vector<const char*> lines;
    };
    const Case cases[] = {
        {"a series", 0, "B1.db", "交際費", "", "税務通信",
         {"SELECT DISTINCT BookSeq,BookNo,BookRenban ", "FROM B1.db ", "WHERE ( Mokuji LIKE '%交際費%') ",
          "AND ( BookNo = 20 ) ", "ORDER BY BookSeq "}},
        {"whole range", 0, "B1.db", "交際費", "リ－ス", "全範囲",
         {"SELECT DISTINCT BookSeq,BookNo,BookRenban ", "FROM B1.db ", "WHERE ( Mokuji LIKE '%交際費%') ",
          "AND ( Mokuji LIKE '%リ－ス%') ", "ORDER BY BookSeq "}},
        {"only key edit 2", 2, "J1.db", "", "２", "保険税務",
         {"SELECT DISTINCT BookSeq,BookNo,BookRenban ", "FROM J1.db ", "WHERE ( Mokuji LIKE '%２%') ",
          "AND ( BookNo = 120 ) ", "ORDER BY BookSeq "}},
        {"asterisks are keywords like any other", 1, "F1.db", "＊a", "＊b", "全範囲",
         {"SELECT DISTINCT BookSeq,BookNo,BookRenban ", "FROM F1.db ", "WHERE ( Mokuji LIKE '%＊a%') ",
          "AND ( Mokuji LIKE '%＊b%') ", "ORDER BY BookSeq "}},
        {"a quote", 1, "F1.db", "O'Neil", "", "全範囲",
         {"SELECT DISTINCT BookSeq,BookNo,BookRenban ", "FROM F1.db ", "WHERE ( Mokuji LIKE '%O''Neil%') ",
          "ORDER BY BookSeq "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(BuildBookStatement(c.volume, c.file, cp932(c.keyword1), cp932(c.keyword2), cp932(c.range)),
                  cp932Lines(c.lines));
    }
}

TEST(ReferenceStatement, linesOfAnOrderSearchAndOfTheWholeRange)
{
    EXPECT_EQ(BuildReferenceStatement(1, "E3.db", 1234, kScopeSeirei, 110),
              (std::vector<std::string>{"SELECT DISTINCT Gyo,KubunNo ", "FROM E3.db ", "WHERE ( MainGyo = 1234 ) ",
                                        "AND ( KubunNo = 120 ) "}));
    EXPECT_EQ(BuildReferenceStatement(0, "A3.db", 7, kScopeAll, 40),
              (std::vector<std::string>{"SELECT DISTINCT Gyo,KubunNo ", "FROM A3.db ", "WHERE ( MainGyo = 7 ) "}));
}

TEST(ReferenceScope, clauseOfEachCodeAndScope)
{
    struct Case {
        int volume, code, scope;
        const char* line;
    };
    const Case cases[] = {
        {0, 10, kScopeSeirei, "AND ( KubunNo = 20 ) "},   {3, 10, kScopeSeirei, "AND ( KubunNo = 20 ) "},
        {0, 10, kScopeKisoku, "AND ( KubunNo = 30 ) "},   {3, 10, kScopeKisoku, "AND ( KubunNo = 30 ) "},
        {0, 10, kScopeKai, "AND ( KubunNo > 10 ) "},      {0, 20, kScopeKisoku, "AND ( KubunNo = 30 ) "},
        {3, 20, kScopeKisoku, "AND ( KubunNo = 30 ) "},   {0, 20, kScopeSeirei, "AND ( KubunNo = 30 ) "},
        {2, 410, kScopeSeirei, "AND ( KubunNo = 440 ) "}, {0, 410, kScopeSeirei, "AND ( KubunNo = 440 ) "},
        {2, 410, kScopeKisoku, "AND ( KubunNo > 459 )"},  {3, 410, kScopeKisoku, "AND ( KubunNo > 459 )"},
        {2, 401, kScopeKisoku, "AND ( KubunNo > 459 )"},  {2, 430, kScopeKisoku, "AND ( KubunNo > 459 )"},
        {2, 459, kScopeKisoku, "AND ( KubunNo > 459 )"},  {0, 860, kScopeSeirei, "AND ( KubunNo = 870 ) "},
        {3, 860, kScopeSeirei, "AND ( KubunNo = 873 ) "}, {0, 860, kScopeKisoku, "AND ( KubunNo = 880 ) "},
        {3, 860, kScopeKisoku, "AND ( KubunNo = 883 ) "}, {0, 870, kScopeKisoku, "AND ( KubunNo = 880 ) "},
        {3, 873, kScopeKisoku, "AND ( KubunNo = 883 ) "}, {2, 920, kScopeKisoku, "AND ( KubunNo = 940 ) "},
        {5, 170, kScopeKisoku, "AND ( KubunNo = 180 ) "}, {1, 110, kScopeKai, "AND ( KubunNo > 110 ) "},
        {1, 110, kScopeAll, ""},
        // Codes without an ordinance of their own fall back to the lower categories.
        {0, 70, kScopeKisoku, "AND ( KubunNo > 70 ) "},   {0, 40, kScopeKisoku, "AND ( KubunNo > 40 ) "},
        {2, 400, kScopeKisoku, "AND ( KubunNo > 400 ) "}, {2, 460, kScopeKisoku, "AND ( KubunNo > 460 ) "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScopeClause(c.volume, c.code, c.scope), c.line)
            << "volume " << c.volume << " code " << c.code << " scope " << c.scope;
}

TEST(ReferenceScope, dialogStateForEachCodeAndPreset)
{
    struct Case {
        int preset, code;
        bool groupEnabled;
        std::array<bool, 4> enabled;
        int selected;
    };
    const Case cases[] = {
        {0, 40, true, {false, false, true, true}, kScopeAll},   // a circular
        {0, 10, true, {true, true, true, true}, kScopeKai},
        {0, 410, true, {true, true, true, true}, kScopeKai},
        {0, 860, true, {true, true, true, true}, kScopeKai},
        {0, 20, true, {false, true, true, true}, kScopeKai},
        {0, 70, true, {false, true, true, true}, kScopeKai},
        {0, 440, true, {false, true, true, true}, kScopeAll},
        {0, 950, true, {true, false, true, true}, kScopeKai},
        {0, 30, true, {false, false, true, true}, kScopeKai},
        {0, 0, true, {false, false, true, true}, kScopeKai},    // an empty list
        {-1, 40, false, {true, true, true, true}, kScopeSeirei},
        {-1, 10, false, {true, true, true, true}, kScopeSeirei},
        {-2, 40, false, {true, true, true, true}, kScopeKisoku},
        {5, 840, true, {false, false, true, true}, kScopeAll},  // any other preset lets the user choose
    };
    for (const Case& c : cases) {
        SansyoScopeState s = SansyoScopeStateFor(c.preset, c.code);
        EXPECT_EQ(s.groupEnabled, c.groupEnabled) << c.preset << " " << c.code;
        EXPECT_EQ(s.enabled, c.enabled) << c.preset << " " << c.code;
        EXPECT_EQ(s.selected, c.selected) << c.preset << " " << c.code;
    }
}

TEST(ReferenceScope, searchTextAndPhrase)
{
    const std::tuple<int, const char*, const char*> texts[] = {
        {110, "３０条", "第３０条"},       {10, "附則３条", "附則３条"},     {40, "２－１", "２－１"},
        {10, "別表第一", "別表第一"},      {10, "付表１", "付表１"},         {30, "経過的取扱１", "経過的取扱１"},
        {350, "１２", "１２"},             {150, "１", "第１"},              {240, "３６－１", "３６－１"},
        {80, "１－１－１", "１－１－１"}, {340, "１", "１"},               {140, "５－１", "５－１"},
    };
    for (const auto& [code, number, searched] : texts)
        EXPECT_EQ(ReferenceSearchText(code, cp932(number)), cp932(searched)) << code << " " << number;

    EXPECT_EQ(ScopePhrase(kScopeSeirei, 1), cp932("政令で定める"));
    EXPECT_EQ(ScopePhrase(kScopeKisoku, 2), cp932("法務省令で定める"));
    EXPECT_EQ(ScopePhrase(kScopeKisoku, 0), cp932("財務省令で定める"));
    EXPECT_EQ(ScopePhrase(kScopeKisoku, 5), cp932("財務省令で定める"));
    EXPECT_EQ(ScopePhrase(kScopeKai, 3), cp932("令で定める"));
    EXPECT_EQ(ScopePhrase(kScopeAll, 3), "");
}

// Articles whose texts hold the characters that SQL treats specially.
class SearchesOverFiles : public ::testing::Test {
protected:
    testsupport::TempWorkingDir dir;

    void writeVolume()
    {
        store::LawVolumeContent v;
        v.letter = 'E';
        const std::pair<int, const char*> texts[] = {
            {1, "消費税法\r\n第１条\r\n　it's a quote\r\n"},
            {2, "消費税法\r\n第２条\r\n　税率は１００%とする\r\n"},
            {3, "消費税法\r\n第３条\r\n　A_B の項目\r\n"},
            {4, "消費税法\r\n第４条\r\n　its AxB １００ ％ 全角\r\n"},
            {5, "消費税法\r\n第５条\r\n　two '' quotes\r\n"},
            {6, "消費税法施行令\r\n第６条\r\n　リ－ス取引\r\n"},
        };
        for (const auto& [gyo, honbun] : texts)
            v.articles.push_back({gyo, gyo == 6 ? 120 : 110, cp932("消法"), "", "", cp932(honbun)});
        v.references = {{6, 120, 1}, {4, 110, 1}, {5, 110, 2}};
        store::writeLawVolume(dir.path(), v);
    }

    std::vector<std::int64_t> keywordSearch(const char* keyword1, const char* keyword2 = "",
                                            const char* range = "全範囲")
    {
        KeywordStatement s = BuildKeywordStatement(1, "E2.db", NormaliseKeywordText(cp932(keyword1)),
                                                   NormaliseKeywordText(cp932(keyword2)), cp932(range));
        store::Query q("JyobunSQL0");
        q.SetSQL(s.lines);
        q.Open();
        return column(q, "Gyo");
    }
};

TEST_F(SearchesOverFiles, aKeywordIsSearchedAsLiteralText)
{
    writeVolume();
    const std::pair<const char*, std::vector<std::int64_t>> cases[] = {
        {"'", {1, 5}},
        {"it's", {1}},
        {"''", {5}},
        {"%", {2}},      // the full-width ％ of article 4 is another character
        {"100%", {2}},   // digits become full width first
        {"_", {3}},
        {"A_B", {3}},    // "_" is no wildcard: AxB does not match
        {"' OR 1=1 OR '", {}},
        {"リース", {6}},
        {"％", {4}},
    };
    for (const auto& [keyword, gyo] : cases)
        EXPECT_EQ(keywordSearch(keyword), gyo) << keyword;
    EXPECT_EQ(keywordSearch("it", "'"), (std::vector<std::int64_t>{1}));
    EXPECT_EQ(keywordSearch("'", "", "消令"), (std::vector<std::int64_t>{}));
    EXPECT_EQ(keywordSearch("取引", "", "消令"), (std::vector<std::int64_t>{6}));
}

TEST_F(SearchesOverFiles, referenceStatementsRunForEveryScope)
{
    writeVolume();
    const std::tuple<int, int, std::vector<std::int64_t>> cases[] = {
        {kScopeSeirei, 110, {6}},
        {kScopeKai, 110, {6}},
        {kScopeAll, 110, {4, 6}},
        // A code without an ordinance of its own: the lower categories, not an engine error.
        {kScopeKisoku, 70, {4, 6}},
    };
    for (const auto& [scope, code, gyo] : cases) {
        store::Query q("JyobunSQL1");
        q.SetSQL(BuildReferenceStatement(1, "E3.db", 1, scope, code));
        q.SetIndexFieldNames("Gyo");
        ASSERT_NO_THROW(q.Open()) << scope << " " << code;
        EXPECT_EQ(column(q, "Gyo"), gyo) << scope << " " << code;
    }
}

}  // namespace
