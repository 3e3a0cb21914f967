// The table engine against real table files in a temporary working directory.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include "store/DataSource.h"
#include "store/Query.h"
#include "store/Table.h"
#include "store/TableFile.h"
#include "support/TempDir.h"
#include "text/Cp932.h"

using namespace store;
using text::cp932;

namespace {

class TableEngine : public ::testing::Test {
protected:
    testsupport::TempWorkingDir dir;

    // Articles: Gyo, KubunNo, Title; file order deliberately not Gyo order.
    void writeArticles()
    {
        TableFile::create("E1.db", "E1",
                          {{"Gyo", FieldType::Integer}, {"KubunNo", FieldType::Integer}, {"Title", FieldType::Text}},
                          {{3, 110, cp932("第３条")}, {1, 110, cp932("第１条")}, {2, 120, cp932("第２条")},
                           {4, 130, cp932("第４条")}});
    }
    void writeTexts()
    {
        TableFile::create("E2.db", "E2",
                          {{"Gyo", FieldType::Integer}, {"KubunNo", FieldType::Integer}, {"Honbun", FieldType::Memo}},
                          {{1, 110, cp932("消費税法\r\n第１条（趣旨）\r\n　この法律は、消費税について定める。\r\n")},
                           {2, 120, cp932("消費税法施行令\r\n第２条\r\n　ソフトウェアの100%を含む。it's\r\n")},
                           {3, 110, cp932("消費税法\r\n第３条\r\n　課税資産の譲渡等\r\n")},
                           {4, 130, cp932("消費税法施行規則\r\n第４条\r\n　仕入れに係る消費税額\r\n")}});
    }
    // The Gyo of each row a local SQL statement answers, in the answer's order.
    static std::vector<std::int64_t> run(std::vector<std::string> lines)
    {
        Query q("q");
        q.SetSQL(std::move(lines));
        q.Open();
        return column(q, "Gyo");
    }
    static std::vector<std::int64_t> column(DataSet& d, const char* field)
    {
        std::vector<std::int64_t> out;
        for (d.First(); !d.Eof(); d.Next())
            out.push_back(d.IntegerField(field));
        return out;
    }
};

TEST_F(TableEngine, cursorMovesAndSetsTheEndFlags)
{
    writeArticles();
    Table t("HMainTable");
    t.SetTableName("E1.db");
    t.Open();
    EXPECT_EQ(column(t, "Gyo"), (std::vector<std::int64_t>{3, 1, 2, 4}));  // file order
    t.First();
    EXPECT_TRUE(t.Bof());
    EXPECT_FALSE(t.Eof());
    t.Prior();
    EXPECT_TRUE(t.Bof());
    EXPECT_EQ(t.IntegerField("Gyo"), 3);
    t.Last();
    EXPECT_EQ(t.IntegerField("gyo"), 4);  // names match without regard to case
    t.Next();
    EXPECT_TRUE(t.Eof());
    EXPECT_EQ(t.IntegerField("GYO"), 4);
    EXPECT_EQ(t.TextField("title"), cp932("第４条"));
    EXPECT_THROW(t.FieldValue("Nothing"), TableError);
}

TEST_F(TableEngine, emptyTableHasBothFlagsAfterFirst)
{
    TableFile::create("E5.db", "E5", {{"Gyo", FieldType::Integer}, {"TreeID", FieldType::Integer}}, {});
    Table t("HTreeTable");
    t.SetTableName("E5.db");
    t.Open();
    t.First();
    EXPECT_TRUE(t.Bof());
    EXPECT_TRUE(t.Eof());
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_FALSE(t.Locate("Gyo", {1}));
}

TEST_F(TableEngine, fieldsReadAsEveryKind)
{
    TableFile::create("B1.db", "B1",
                      {{"BookSeq", FieldType::Integer}, {"BookPage", FieldType::Float}, {"Mokuji", FieldType::Text},
                       {"Memo", FieldType::Memo}},
                      {{7, 123.5, cp932("　問１　課税の対象"), cp932("一行目\r\n二行目\r\n")}});
    Table t("HbMainTable");
    t.SetTableName("B1.db");
    t.Open();
    EXPECT_EQ(t.IntegerField("BookSeq"), 7);
    EXPECT_DOUBLE_EQ(t.FloatField("BookPage"), 123.5);
    EXPECT_EQ(t.TextField("Mokuji"), cp932("　問１　課税の対象"));
    EXPECT_EQ(t.MemoLines("Memo"), (std::vector<std::string>{cp932("一行目"), cp932("二行目")}));
    EXPECT_EQ(t.Fields()[1].type, FieldType::Float);
    EXPECT_EQ(t.Fields()[3].type, FieldType::Memo);
}

TEST_F(TableEngine, indexOrderIsStableAmongEqualKeys)
{
    TableFile::create("E4.db", "E4",
                      {{"Gyo", FieldType::Integer}, {"Sel", FieldType::Integer}},
                      {{2, 30}, {1, 10}, {2, 31}, {1, 11}, {2, 32}, {1, 12}});
    Table t("HLinkTable");
    t.SetTableName("E4.db");
    t.SetIndexFieldNames("Gyo");
    t.Open();
    EXPECT_EQ(column(t, "Sel"), (std::vector<std::int64_t>{10, 11, 12, 30, 31, 32}));
    TableFile::create("key.db", "k", {{"ＫＥＹ", FieldType::Integer}, {"行", FieldType::Integer}},
                      {{2, 1}, {1, 2}, {2, 3}});
    Table k("Table4");
    k.SetTableName("key.db");
    k.SetIndexFieldNames("ＫＥＹ");
    k.Open();
    EXPECT_EQ(column(k, "行"), (std::vector<std::int64_t>{2, 1, 3}));
    k.SetIndexFieldNames("行");
    EXPECT_EQ(column(k, "ＫＥＹ"), (std::vector<std::int64_t>{2, 1, 2}));
}

TEST_F(TableEngine, detailFollowsMasterAndRaisesAfterScroll)
{
    writeArticles();
    writeTexts();
    Table main("HMainTable");
    main.SetTableName("E1.db");
    DataSource source("HMainSource");
    source.setDataSet(&main);
    Table sub("HSubTable");
    sub.SetTableName("E2.db");
    sub.SetIndexFieldNames("Gyo");
    sub.SetMasterFields("Gyo");
    sub.SetMasterSource(&source);
    std::vector<std::int64_t> scrolledTo;
    sub.AfterScroll = [&](DataSet& d) { scrolledTo.push_back(d.IntegerField("Gyo")); };
    main.Open();
    sub.Open();
    EXPECT_EQ(scrolledTo, (std::vector<std::int64_t>{3}));
    EXPECT_EQ(sub.RecordCount(), 1);
    main.Next();
    main.Next();
    EXPECT_EQ(scrolledTo, (std::vector<std::int64_t>{3, 1, 2}));
    EXPECT_EQ(sub.TextField("Honbun").substr(0, 14), cp932("消費税法施行令"));

    // The link can be removed and restored at run time.
    sub.SetMasterSource(nullptr);
    EXPECT_EQ(sub.RecordCount(), 4);
    EXPECT_TRUE(sub.Locate("Gyo", {4}));
    main.First();  // no longer followed
    EXPECT_EQ(sub.IntegerField("Gyo"), 4);
    sub.SetMasterSource(&source);
    EXPECT_EQ(sub.IntegerField("Gyo"), 3);
    EXPECT_EQ(sub.RecordCount(), 1);
}

TEST_F(TableEngine, suspendedNotificationsResyncOnceOnResume)
{
    writeArticles();
    writeTexts();
    Table main("HMainTable");
    main.SetTableName("E1.db");
    DataSource source("HMainSource");
    source.setDataSet(&main);
    Table sub("HSubTable");
    sub.SetTableName("E2.db");
    sub.SetIndexFieldNames("Gyo");
    sub.SetMasterFields("Gyo");
    sub.SetMasterSource(&source);
    main.Open();
    sub.Open();
    int gridResets = 0, detailScrolls = 0;
    source.subscribe([&](DataEvent e) { gridResets += e == DataEvent::DataSetChanged; });
    sub.AfterScroll = [&](DataSet&) { ++detailScrolls; };
    main.DisableControls();
    main.Next();
    main.Next();
    main.Last();
    EXPECT_EQ(detailScrolls, 0);
    EXPECT_EQ(sub.IntegerField("Gyo"), 3);  // not yet followed
    main.EnableControls();
    EXPECT_EQ(gridResets, 1);
    EXPECT_EQ(detailScrolls, 1);
    EXPECT_EQ(sub.IntegerField("Gyo"), 4);
}

TEST_F(TableEngine, locateOnOneOrSeveralFields)
{
    TableFile::create("E4.db", "E4",
                      {{"Gyo", FieldType::Integer}, {"Sel", FieldType::Integer}, {"GoGyo", FieldType::Integer}},
                      {{1, 10, 100}, {2, 10, 200}, {2, 11, 201}});
    Table t("HLinkTable");
    t.SetTableName("E4.db");
    t.Open();
    int scrolls = 0;
    t.AfterScroll = [&](DataSet&) { ++scrolls; };
    EXPECT_TRUE(t.Locate("Gyo;Sel", {std::string("2"), std::string("11")}));  // integers given as text
    EXPECT_EQ(t.IntegerField("GoGyo"), 201);
    EXPECT_EQ(scrolls, 1);
    EXPECT_FALSE(t.Locate("Gyo;Sel", {2, 12}));
    EXPECT_FALSE(t.Locate("Gyo", {std::string("x")}));
    EXPECT_EQ(t.IntegerField("GoGyo"), 201);  // row unchanged
    EXPECT_EQ(scrolls, 1);
}

TEST_F(TableEngine, locateOnTheIndexFieldFindsTheFirstRowInIndexOrder)
{
    // File order is not Gyo order; one Gyo is empty; Gyo 5 has three rows in file order 12, 10, 11.
    TableFile::create("E4.db", "E4",
                      {{"Gyo", FieldType::Integer}, {"Sel", FieldType::Integer}, {"GoGyo", FieldType::Integer}},
                      {{5, 12, 512}, {9, 1, 901}, {Value(), 7, 700}, {5, 10, 510}, {2, 3, 203}, {5, 11, 511},
                       {7, 4, 704}});
    Table t("HLinkTable");
    t.SetTableName("E4.db");
    t.SetIndexFieldNames("Gyo");
    t.Open();
    ASSERT_TRUE(t.Locate("Gyo", {5}));
    EXPECT_EQ(t.IntegerField("GoGyo"), 512);  // the stable sort keeps file order among equal keys
    EXPECT_EQ(t.RecNo(), 2);
    EXPECT_TRUE(t.Locate("Gyo;Sel", {5, 11}));
    EXPECT_EQ(t.IntegerField("GoGyo"), 511);
    EXPECT_TRUE(t.Locate("Gyo;Sel", {std::string("9"), std::string("1")}));
    EXPECT_EQ(t.IntegerField("GoGyo"), 901);
    EXPECT_TRUE(t.Locate("Gyo", {2}));
    EXPECT_EQ(t.IntegerField("GoGyo"), 203);
    // Before the first, between two and after the last Gyo; a Sel not in the Gyo's run.
    for (int missing : {1, 3, 6, 8, 10})
        EXPECT_FALSE(t.Locate("Gyo", {missing})) << missing;
    EXPECT_FALSE(t.Locate("Gyo;Sel", {5, 4}));
    EXPECT_EQ(t.IntegerField("GoGyo"), 203);
    // The empty Gyo matches nothing, and a field that does not lead the index is still found.
    EXPECT_TRUE(t.Locate("Sel", {7}));
    EXPECT_TRUE(t.FieldValue("Gyo").isNull());
    // Under a filter the view keeps its order and skips what the filter drops.
    t.SetFilter("Sel > 10");
    t.SetFiltered(true);
    ASSERT_TRUE(t.Locate("Gyo", {5}));
    EXPECT_EQ(t.IntegerField("GoGyo"), 512);
    EXPECT_FALSE(t.Locate("Gyo;Sel", {5, 10}));
    EXPECT_FALSE(t.Locate("Gyo", {2}));
}

TEST_F(TableEngine, filterGrammarAndMalformedFilterKeepsThePreviousOne)
{
    writeArticles();
    Table t("HMainTable");
    t.SetTableName("E1.db");
    t.Open();
    t.SetFilter("KubunNo < 120");
    t.SetFiltered(true);
    EXPECT_EQ(column(t, "Gyo"), (std::vector<std::int64_t>{3, 1}));
    t.SetFilter("((KubunNo >= 120) and (KubunNo < 130)) or (Gyo = 3)");
    EXPECT_EQ(column(t, "Gyo"), (std::vector<std::int64_t>{3, 2}));
    t.SetFilter("(KubunNo >= 160) and (KubunNo < 190) ");
    EXPECT_TRUE(t.IsEmpty());
    t.SetFilter("KubunNo > 110");
    struct Bad { const char* text; const char* words; } bad[] = {
        {"KubunNo <", "整数があるべき所"},
        {"(KubunNo > 1", "「)」がありません"},
        {"KubunNo AND 1", "比較演算子"},
        {"KubunNo <= 5", "演算子「<=」は使えません"},
        {"Nothing = 1", "項目 Nothing"},
        {"KubunNo = 1 junk", "余分な語"},
    };
    for (const auto& b : bad) {
        try {
            t.SetFilter(b.text);
            ADD_FAILURE() << b.text;
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find(b.words), std::string::npos) << e.what();
        }
        EXPECT_EQ(t.Filter(), "KubunNo > 110");
        EXPECT_EQ(column(t, "Gyo"), (std::vector<std::int64_t>{2, 4}));
    }
    t.SetFiltered(false);
    EXPECT_EQ(t.RecordCount(), 4);
}

TEST_F(TableEngine, deepNestingIsRefusedWithAMessageAndLongChainsStillFilter)
{
    writeArticles();
    Table t("HMainTable");
    t.SetTableName("E1.db");
    t.Open();
    auto nested = [](int depth, const std::string& term) {
        return std::string(static_cast<std::size_t>(depth), '(') + term + std::string(static_cast<std::size_t>(depth), ')');
    };
    t.SetFilter(nested(32, "KubunNo = 120"));
    t.SetFiltered(true);
    EXPECT_EQ(column(t, "Gyo"), (std::vector<std::int64_t>{2}));
    // The message quotes a long expression by its first 80 bytes.
    const std::pair<int, std::string> tooDeep[] = {{33, nested(33, "KubunNo = 110")}, {100000, std::string(80, '(') + "…"}};
    for (const auto& [depth, quoted] : tooDeep) {
        try {
            t.SetFilter(nested(depth, "KubunNo = 110"));
            ADD_FAILURE() << depth;
        } catch (const FilterError& e) {
            EXPECT_EQ(std::string(e.what()), "フィルタ式「" + quoted + "」が正しくありません: 括弧の入れ子が深すぎます（32 段まで）");
        }
        EXPECT_EQ(column(t, "Gyo"), (std::vector<std::int64_t>{2}));
    }
    // A chain of terms is no nesting: 100,000 of them filter like one.
    std::string chain = "Gyo > 0";
    for (int i = 0; i < 100000; ++i)
        chain += " and KubunNo < 130";
    t.SetFilter(chain);
    EXPECT_EQ(column(t, "Gyo"), (std::vector<std::int64_t>{3, 1, 2}));
    std::string alternatives = "Gyo = 4";
    for (int i = 0; i < 100000; ++i)
        alternatives += " or Gyo = 4";
    t.SetFilter(alternatives + " or Gyo = 1");
    EXPECT_EQ(column(t, "Gyo"), (std::vector<std::int64_t>{1, 4}));

    writeTexts();
    auto search = [](const std::string& where) {
        Query q("q");
        q.SetSQL({"SELECT DISTINCT Gyo ", "FROM E2.db ", "WHERE " + where + " ", "ORDER BY Gyo "});
        q.Open();
        return column(q, "Gyo");
    };
    EXPECT_EQ(search(nested(32, "KubunNo = 120")), (std::vector<std::int64_t>{2}));
    EXPECT_EQ(search("NOT NOT ( KubunNo = 120 )"), (std::vector<std::int64_t>{2}));
    std::string nots;
    for (int i = 0; i < 100000; ++i)
        nots += "NOT ";
    for (const std::string& where : {nested(33, "KubunNo = 120"), nested(100000, "KubunNo = 120"), nots + "KubunNo = 120"}) {
        try {
            search(where);
            ADD_FAILURE() << where.substr(0, 20);
        } catch (const TableError& e) {
            EXPECT_EQ(std::string(e.what()), "SQL 文が正しくありません: 括弧の入れ子が深すぎます（32 段まで）");
        }
    }
}

TEST_F(TableEngine, dataSourceRebindsBetweenTableAndQuery)
{
    writeArticles();
    writeTexts();
    Table main("SMainTable");
    main.SetTableName("E1.db");
    DataSource source("SMainSource");
    source.setDataSet(&main);
    Table sub("SSubTable");
    sub.SetTableName("E2.db");
    sub.SetIndexFieldNames("Gyo");
    sub.SetMasterFields("Gyo");
    sub.SetMasterSource(&source);
    main.Open();
    sub.Open();
    std::vector<std::int64_t> shown;
    sub.AfterScroll = [&](DataSet& d) { shown.push_back(d.IntegerField("Gyo")); };

    Query q("JyobunSQL0");
    q.AddDataField("GYO", FieldType::Integer);
    q.AddDataField("KubunNO", FieldType::Integer);
    q.SetSQL({"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", cp932("WHERE ( Honbun LIKE '%消費税%') "), "ORDER BY Gyo "});
    q.Open();
    source.setDataSet(&q);
    EXPECT_EQ(shown, (std::vector<std::int64_t>{1}));
    q.Next();
    EXPECT_EQ(shown, (std::vector<std::int64_t>{1, 2}));
    source.setDataSet(&main);
    EXPECT_EQ(shown.back(), 3);
}

TEST_F(TableEngine, localSqlShapesOfTheSearches)
{
    writeTexts();
    using V = std::vector<std::int64_t>;
    EXPECT_EQ(run({"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", cp932("WHERE ( Honbun LIKE '%消費税%') "),
                   cp932("AND ( Honbun LIKE '%施行%') "), "ORDER BY Gyo "}),
              (V{2, 4}));
    EXPECT_EQ(run({"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", cp932("WHERE ( Honbun LIKE '%消費税%') "),
                   "AND ( ( ( KubunNo > 100) AND ( KubunNo < 115) ) OR ( ( KubunNo > 125) AND ( KubunNo < 760) ) )",
                   "ORDER BY Gyo "}),
              (V{1, 3, 4}));
    EXPECT_EQ(run({"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", cp932("WHERE ( Honbun LIKE '%法%') "),
                   "AND  ( ( KubunNo > 115) AND ( KubunNo < 125) ) ", "ORDER BY Gyo "}),
              (V{2}));
    // Literal % and a doubled quote: searched for as those characters.
    EXPECT_EQ(run({"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%100%%') "}), (V{2}));
    EXPECT_EQ(run({"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%it''s%') "}), (V{2}));
    EXPECT_EQ(run({"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%1_0%') "}), (V{}));
    // Column aliases are not part of the dialect.
    EXPECT_THROW(run({"SELECT DISTINCT KubunNo AS Gyo FROM E2.db"}), TableError);
}

TEST_F(TableEngine, answersComeInTheOrderAskedForWhateverTheFileOrderAndItsIndexes)
{
    writeArticles();  // file order 3, 1, 2, 4
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open("E1.db", &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE INDEX E1_by_Gyo ON E1 (Gyo)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    using V = std::vector<std::int64_t>;
    EXPECT_EQ(run({"SELECT DISTINCT Gyo,KubunNo ", "FROM E1.db ", cp932("WHERE ( Title LIKE '%条%') "), "ORDER BY Gyo "}),
              (V{1, 2, 3, 4}));
    EXPECT_EQ(run({"SELECT DISTINCT Gyo,KubunNo ", "FROM E1.db ", cp932("WHERE ( Title LIKE '%条%') "), "AND ( Gyo > 1) ",
                   "ORDER BY Gyo "}),
              (V{2, 3, 4}));
    EXPECT_EQ(run({"SELECT DISTINCT Gyo,KubunNo ", "FROM E1.db ", "WHERE ( KubunNo = 110) ", "ORDER BY Gyo "}), (V{1, 3}));
}

TEST_F(TableEngine, likeMatchesWholeCharactersOnly)
{
    // ソ is 83 5C and "\\" (5C) must not be found inside it; ア is 83 41 and "A" must not be.
    TableFile::create("E2.db", "E2", {{"Gyo", FieldType::Integer}, {"Honbun", FieldType::Memo}},
                      {{1, cp932("ソア")}, {2, cp932("A\\")}});
    auto count = [](const std::string& word) {
        Query q("q");
        q.SetSQL({"SELECT DISTINCT Gyo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%" + word + "%') "});
        q.Open();
        std::vector<std::int64_t> gyo;
        for (q.First(); !q.Eof(); q.Next())
            gyo.push_back(q.IntegerField("Gyo"));
        return gyo;
    };
    EXPECT_EQ(count("\\"), (std::vector<std::int64_t>{2}));
    EXPECT_EQ(count("A"), (std::vector<std::int64_t>{2}));
    EXPECT_EQ(count(cp932("ア")), (std::vector<std::int64_t>{1}));
}

TEST_F(TableEngine, engineErrorsComeBackWithTheEnginesMessage)
{
    writeTexts();
    struct Case { std::vector<std::string> sql; const char* words; } cases[] = {
        {{"SELECT DISTINCT Gyo ", "FROM E2.db ", "WHERE ( Nothing LIKE '%a%') "}, "no such column: Nothing"},
        {{"SELECT DISTINCT Gyo ", "FROM E9.db "}, "E9.db"},
        {{"SELECT DISTINCT Gyo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%a) "}, "引用符が閉じていません"},
        {{"SELECT DISTINCT Gyo ", "FROM E2.db ", "WHERE ( Honbun LIKE 'a%') "}, "%…%"},
        {{"DELETE FROM E2.db"}, "SELECT"},
    };
    for (const auto& c : cases) {
        Query q("q");
        q.SetSQL(c.sql);
        try {
            q.Open();
            ADD_FAILURE() << c.words;
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find(c.words), std::string::npos) << e.what();
        }
        EXPECT_FALSE(q.Active());
    }
}

TEST_F(TableEngine, answerSetReadsLikeATableWithLookups)
{
    writeArticles();
    writeTexts();
    Table main("SMainTable");
    main.SetTableName("E1.db");
    main.Open();
    Query q("JyobunSQL0");
    q.AddDataField("GYO", FieldType::Integer);
    q.AddDataField("KubunNO", FieldType::Integer);
    q.AddLookupField("Title", FieldType::Text, "GYO", "Gyo", "Title");
    q.SetLookupDataSet("Title", &main);
    q.SetSQL({"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", cp932("WHERE ( Honbun LIKE '%消費%') "), "ORDER BY Gyo "});
    q.Open();
    EXPECT_EQ(q.RecordCount(), 4);
    EXPECT_EQ(q.TextField("Title"), cp932("第１条"));
    EXPECT_EQ(q.IntegerField("Gyo"), 1);  // "Gyo" reaches GYO
    q.SetFilter("KubunNo = 120");
    q.SetFiltered(true);
    EXPECT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.TextField("title"), cp932("第２条"));
    q.SetFiltered(false);
    EXPECT_TRUE(q.Locate("Gyo", {std::string("4")}));
    EXPECT_EQ(q.TextField("Title"), cp932("第４条"));
    // Re-pointing the look-up at another table.
    TableFile::create("G1.db", "G1", {{"Gyo", FieldType::Integer}, {"Title", FieldType::Text}}, {{4, cp932("民法第４条")}});
    Table other("GMainTable");
    other.SetTableName("G1.db");
    other.Open();
    q.SetLookupDataSet("Title", &other);
    EXPECT_EQ(q.TextField("Title"), cp932("民法第４条"));
    EXPECT_EQ(q.ValueAt(0, q.FieldIndex("Title")).asText(), "");
}

TEST_F(TableEngine, openFailuresNameTheFile)
{
    dir.writeFile("E1.db", "this is not a database at all, just some text that is long enough");
    TableFile::create("E2.db", "E2", {{"Gyo", FieldType::Integer}}, {{1}});
    TableFile::create("E3.db", "E3", {{"Gyo", FieldType::Integer}}, {{1}});
    {
        // A second table makes the file one that is not ours.
        Table widen("w");
        widen.SetTableName("E3.db");
        widen.SetReadOnly(false);
        widen.Open();
    }
    sqlite3* db = nullptr;
    sqlite3_open("E3.db", &db);
    sqlite3_exec(db, "CREATE TABLE extra (x INTEGER)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    struct Case { const char* file; std::vector<std::string> required; const char* words; } cases[] = {
        {"E9.db", {}, "E9.db が開けません: ファイルがありません"},
        {"E1.db", {}, "E1.db はテーブルファイルではありません (file is not a database)"},
        {"E3.db", {}, "E3.db はテーブルファイルではありません (2 個の表)"},
        {"E2.db", {"Gyo", "Honbun"}, "E2.db に項目 Honbun がありません"},
    };
    for (const auto& c : cases) {
        Table t("t");
        t.SetTableName(c.file);
        t.SetRequiredFields(c.required);
        try {
            t.Open();
            ADD_FAILURE() << c.file;
        } catch (const TableError& e) {
            EXPECT_NE(std::string(e.what()).find(c.words), std::string::npos) << e.what();
        }
        EXPECT_FALSE(t.Active());
    }
}

TEST_F(TableEngine, aQueryReadsTheFileAsItIsNowWhateverHappenedToItSinceTheLastQuery)
{
    auto gyos = [] {
        Query q("q");
        q.SQL() = {"SELECT Gyo FROM \"E2.db\" ORDER BY Gyo"};
        q.Open();
        std::vector<std::int64_t> out;
        for (q.First(); !q.Eof(); q.Next())
            out.push_back(q.IntegerField("Gyo"));
        return out;
    };
    auto failure = [&gyos] {
        try {
            gyos();
        } catch (const TableError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    TableFile::create("E2.db", "E2", {{"Gyo", FieldType::Integer}}, {{1}, {2}});
    EXPECT_EQ(gyos(), (std::vector<std::int64_t>{1, 2}));
    // Written again under the same name.
    TableFile::create("E2.db", "E2", {{"Gyo", FieldType::Integer}}, {{3}});
    EXPECT_EQ(gyos(), (std::vector<std::int64_t>{3}));
    // Another file renamed over it, as the delivery build does, with another table name.
    TableFile::create("next.db", "X2", {{"Gyo", FieldType::Integer}}, {{4}, {5}});
    std::filesystem::rename("next.db", "E2.db");
    EXPECT_EQ(gyos(), (std::vector<std::int64_t>{4, 5}));
    // A row posted through an authoring table.
    {
        Table t("Table2");
        t.SetTableName("E2.db");
        t.SetReadOnly(false);
        t.Open();
        t.Append();
        t.SetFieldValue("Gyo", std::string("6"));
        t.Post();
    }
    EXPECT_EQ(gyos(), (std::vector<std::int64_t>{4, 5, 6}));
    // Gone, then overwritten in place with what is no table file, then back.
    std::filesystem::remove("E2.db");
    EXPECT_NE(failure().find("E2.db が開けません: ファイルがありません"), std::string::npos) << failure();
    TableFile::create("E2.db", "E2", {{"Gyo", FieldType::Integer}}, {{7}});
    EXPECT_EQ(gyos(), (std::vector<std::int64_t>{7}));
    dir.writeFile("E2.db", "this is not a database at all, just some text that is long enough");
    EXPECT_NE(failure().find("E2.db はテーブルファイルではありません"), std::string::npos) << failure();
    TableFile::create("E2.db", "E2", {{"Gyo", FieldType::Integer}}, {{8}});
    EXPECT_EQ(gyos(), (std::vector<std::int64_t>{8}));
}

TEST_F(TableEngine, browsingTablesAreReadOnly)
{
    writeArticles();
    Table t("HMainTable");
    t.SetTableName("E1.db");
    t.Open();
    EXPECT_THROW(t.Append(), TableError);
    EXPECT_THROW(t.Edit(), TableError);
    EXPECT_THROW(t.Delete(), TableError);
}

TEST_F(TableEngine, authoringWritesAreDurable)
{
    std::filesystem::create_directories("YpSyohi/Jyobun/Data");
    TableFile::create("YpSyohi/Jyobun/Data/リンク条文.DB", "リンク条文",
                      {{"行", FieldType::Integer}, {"条件", FieldType::Text}}, {{1, cp932("第３０条")}});
    auto open = [] {
        auto t = std::make_unique<Table>("Table2");
        t->SetDatabaseName("YpSyohi/Jyobun/Data");
        t->SetTableName("リンク条文.DB");
        t->SetReadOnly(false);
        t->Open();
        return t;
    };
    {
        auto t = open();
        t->Append();
        t->SetFieldValue("行", std::string("2"));
        t->SetFieldValue("条件", cp932("前条"));
        t->Post();
        EXPECT_EQ(t->IntegerField("行"), 2);
        t->First();
        t->Edit();
        t->SetFieldValue("条件", cp932("同条"));
        t->Post();
        EXPECT_THROW(t->SetFieldValue("条件", "x"), TableError);  // not editing
    }
    {
        auto t = open();
        ASSERT_EQ(t->RecordCount(), 2);
        EXPECT_EQ(t->TextField("条件"), cp932("同条"));
        t->Delete();
        EXPECT_EQ(t->TextField("条件"), cp932("前条"));
    }
    EXPECT_EQ(open()->RecordCount(), 1);
}

TEST_F(TableEngine, manyRowsRenumberedTogetherAreWrittenAtOnceAndTheCursorStays)
{
    std::vector<Row> rows;
    for (int k = 1; k <= 6; ++k)
        rows.push_back({k, static_cast<double>(k)});
    TableFile::create("a.db", "a", {{"ＫＥＹ", FieldType::Integer}, {"行", FieldType::Float}}, rows);
    Table t("Table1");
    t.SetTableName("a.db");
    t.SetReadOnly(false);
    t.SetIndexFieldNames("行");
    t.Open();
    DataSource source("DataSource1");
    source.setDataSet(&t);
    int changes = 0, scrolls = 0;
    source.subscribe([&](DataEvent e) { ++(e == DataEvent::DataSetChanged ? changes : scrolls); });
    int afterScrolls = 0;
    t.AfterScroll = [&](DataSet&) { ++afterScrolls; };
    t.MoveTo(1);
    changes = scrolls = afterScrolls = 0;

    t.SetFieldOfRows("行", {{5, Value(15.0)}, {4, Value(14.0)}, {3, Value(13.0)}, {2, Value(12.0)}});
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(afterScrolls, 1);
    EXPECT_EQ(t.IntegerField("ＫＥＹ"), 2);
    EXPECT_EQ(column(t, "ＫＥＹ"), (std::vector<std::int64_t>{1, 2, 3, 4, 5, 6}));
    std::vector<double> inFile;
    for (const Row& r : TableFile::open("a.db", true)->readAll().rows)
        inFile.push_back(r[1].asFloat());
    EXPECT_EQ(inFile, (std::vector<double>{1, 2, 12, 13, 14, 15}));

    // a position past the rows writes nothing
    EXPECT_THROW(t.SetFieldOfRows("行", {{0, Value(0.5)}, {6, Value(99.0)}}), TableError);
    EXPECT_EQ(TableFile::open("a.db", true)->readAll().rows[0][1].asFloat(), 1.0);
    t.First();
    EXPECT_EQ(t.FieldValue("行").asFloat(), 1.0);
}

TEST_F(TableEngine, killedWriterLeavesNoHalfWrittenRow)
{
    TableFile::create("t.db", "t", {{"n", FieldType::Integer}, {"body", FieldType::Memo}}, {});
    pid_t child = fork();
    if (child == 0) {
        Table t("t");
        t.SetTableName("t.db");
        t.SetReadOnly(false);
        t.Open();
        std::string body(200000, 'x');
        for (int i = 0;; ++i) {
            t.Append();
            t.SetFieldValue("n", i);
            t.SetFieldValue("body", body);
            t.Post();
        }
    }
    usleep(300000);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    // The writer's own program opens the table for writing again, which rolls the unfinished
    // transaction back (a browsing open never would: it writes nothing beside a table).
    Table t("t");
    t.SetTableName("t.db");
    t.SetReadOnly(false);
    t.Open();
    ASSERT_GT(t.RecordCount(), 0);
    int expected = 0;
    for (t.First(); !t.Eof(); t.Next()) {
        EXPECT_EQ(t.IntegerField("n"), expected++);
        EXPECT_EQ(t.TextField("body").size(), 200000u);
    }
}

}  // namespace
