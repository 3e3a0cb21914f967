// Browsing tables read their rows from the file as moves need them. Each case walks a
// read-only cursor beside the same file opened for writing, which holds every row in memory,
// and expects the same rows in the same order: across the read-ahead and cache sizes, with
// filters, master links and Locate, on a file replaced under the cursor, and on a volume
// written before the delivery build added its indexes.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>
#include <vector>

#include "store/DataSource.h"
#include "store/Houjin.h"
#include "store/Query.h"
#include "store/Table.h"
#include "store/TableFile.h"
#include "store/VolumeWriter.h"
#include "store/Volumes.h"
#include "support/TempDir.h"
#include "text/Cp932.h"

using namespace store;
using text::cp932;

namespace {

// Link rows as the delivery writes them, but with equal Gyo values scattered through the file
// so that file order among equal keys is visible: 1,500 rows over 7 articles.
std::vector<Row> scatteredLinkRows()
{
    std::vector<Row> rows;
    for (int i = 0; i < 1500; ++i)
        rows.push_back({(i * 5) % 7 + 1, i, 100 + i % 13, i % 3});
    return rows;
}

void writeLinks(const char* file)
{
    TableFile::create(file, "E4",
                      {{"Gyo", FieldType::Integer}, {"Sel", FieldType::Integer}, {"GoGyo", FieldType::Integer},
                       {"Zeimoku", FieldType::Integer}},
                      scatteredLinkRows());
}

struct Walk {
    std::vector<std::int64_t> values;
    std::vector<int> recNos;
};

Walk forward(DataSet& d, const char* field)
{
    Walk w;
    for (d.First(); !d.Eof(); d.Next()) {
        w.values.push_back(d.IntegerField(field));
        w.recNos.push_back(d.RecNo());
    }
    return w;
}

std::vector<std::int64_t> backward(DataSet& d, const char* field)
{
    std::vector<std::int64_t> out;
    for (d.Last(); !d.Bof(); d.Prior())
        out.push_back(d.IntegerField(field));
    return out;
}

// The same file as a browsing table (read on demand) and as a writable table (held in memory).
struct TwoCursors {
    Table onDemand{"Browsing"};
    Table inMemory{"Authoring"};
    TwoCursors(const char* file, const std::string& order)
    {
        onDemand.SetTableName(file);
        onDemand.SetIndexFieldNames(order);
        inMemory.SetTableName(file);
        inMemory.SetIndexFieldNames(order);
        inMemory.SetReadOnly(false);
        onDemand.Open();
        inMemory.Open();
    }
};

int indexCount(const char* file)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file, &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master WHERE type='index'", -1, &st, nullptr);
    sqlite3_step(st);
    const int n = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return n;
}

class OnDemandCursor : public ::testing::Test {
protected:
    testsupport::TempWorkingDir dir;
};

TEST_F(OnDemandCursor, equalKeysKeepFileOrderInEveryWalk)
{
    writeLinks("E4.db");
    for (const std::string order : {"", "Gyo", "Zeimoku;Gyo", "GoGyo"}) {
        SCOPED_TRACE(order);
        TwoCursors c("E4.db", order);
        const Walk expected = forward(c.inMemory, "Sel");
        const Walk got = forward(c.onDemand, "Sel");
        EXPECT_EQ(got.values, expected.values);
        EXPECT_EQ(got.recNos, expected.recNos);
        EXPECT_EQ(backward(c.onDemand, "Sel"), backward(c.inMemory, "Sel"));
        EXPECT_EQ(c.onDemand.RecordCount(), 1500);
    }
}

TEST_F(OnDemandCursor, aTextOrderIsTheOrderOfCodePage932)
{
    // Code page 932 orders kanji by reading, "亜" (88 9F) before "一" (88 EA); their UTF-8 bytes
    // follow Unicode, where "一" (U+4E00) comes first.
    TableFile::create("B1.db", "B1", {{"BookSeq", FieldType::Integer}, {"Mokuji", FieldType::Text}},
                      {{1, cp932("亜")}, {2, cp932("一")}, {3, cp932("A")}, {4, cp932("亜")}, {5, Value()}});
    TwoCursors c("B1.db", "Mokuji");
    EXPECT_EQ(forward(c.onDemand, "BookSeq").values, (std::vector<std::int64_t>{5, 3, 1, 4, 2}));
    EXPECT_EQ(forward(c.onDemand, "BookSeq").values, forward(c.inMemory, "BookSeq").values);
}

TEST_F(OnDemandCursor, aFilteredDetailFollowsItsMaster)
{
    writeLinks("E4.db");
    TableFile::create("E1.db", "E1", {{"Gyo", FieldType::Integer}, {"Title", FieldType::Text}},
                      {{3, cp932("第３条")}, {9, cp932("第９条")}, {1, cp932("第１条")}, {7, cp932("第７条")}});
    Table master("HMainTable");
    master.SetTableName("E1.db");
    DataSource source("HMainSource");
    source.setDataSet(&master);
    master.Open();

    Table onDemand("Browsing"), inMemory("Authoring");
    inMemory.SetReadOnly(false);
    std::vector<std::int64_t> demandScrolls, memoryScrolls;
    for (Table* t : {&onDemand, &inMemory}) {
        t->SetTableName("E4.db");
        t->SetIndexFieldNames("Gyo");
        t->SetMasterFields("Gyo");
        t->SetMasterSource(&source);
        t->SetFilter("(Zeimoku = 1) or (Sel < 40)");
        t->SetFiltered(true);
    }
    onDemand.AfterScroll = [&](DataSet& d) { demandScrolls.push_back(d.IsEmpty() ? -1 : d.IntegerField("Sel")); };
    inMemory.AfterScroll = [&](DataSet& d) { memoryScrolls.push_back(d.IsEmpty() ? -1 : d.IntegerField("Sel")); };
    onDemand.Open();
    inMemory.Open();
    for (master.First(); !master.Eof(); master.Next()) {
        SCOPED_TRACE(master.IntegerField("Gyo"));
        EXPECT_EQ(onDemand.IsEmpty(), inMemory.IsEmpty());
        EXPECT_EQ(forward(onDemand, "Sel").values, forward(inMemory, "Sel").values);
        EXPECT_EQ(onDemand.RecordCount(), inMemory.RecordCount());
        EXPECT_EQ(onDemand.Locate("Zeimoku", {2}), inMemory.Locate("Zeimoku", {2}));
        EXPECT_EQ(onDemand.FieldValue("Sel"), inMemory.FieldValue("Sel"));
    }
    EXPECT_EQ(demandScrolls, memoryScrolls);

    // Filtering off and on again moves to the first row of the master's range each time.
    onDemand.SetFiltered(false);
    inMemory.SetFiltered(false);
    EXPECT_EQ(onDemand.RecordCount(), inMemory.RecordCount());
    EXPECT_EQ(onDemand.IntegerField("Sel"), inMemory.IntegerField("Sel"));
}

TEST_F(OnDemandCursor, positionsAndLocateAcrossTheReadAheadAndTheCache)
{
    writeLinks("E4.db");
    TwoCursors c("E4.db", "Gyo");
    // Locate lands in the middle of a long run of equal keys; walking on from there crosses
    // several read-ahead steps before the position is asked for.
    ASSERT_TRUE(c.onDemand.Locate("Gyo;Sel", {4, 1297}));
    ASSERT_TRUE(c.inMemory.Locate("Gyo;Sel", {4, 1297}));
    for (int i = 0; i < 300; ++i) {
        c.onDemand.Next();
        c.inMemory.Next();
    }
    EXPECT_EQ(c.onDemand.IntegerField("Sel"), c.inMemory.IntegerField("Sel"));
    EXPECT_EQ(c.onDemand.RecNo(), c.inMemory.RecNo());
    EXPECT_EQ(c.onDemand.Eof(), c.inMemory.Eof());

    // A grid reads rows far apart, more than the row cache holds, then goes back to a
    // position it remembered.
    const int remembered = c.onDemand.RecNo();
    const int sel = c.onDemand.FieldIndex("Sel");
    for (int p = 0; p < 1500; p += 7)
        ASSERT_EQ(c.onDemand.ValueAt(p, sel), c.inMemory.ValueAt(p, sel)) << p;
    c.onDemand.MoveTo(1499);
    c.onDemand.MoveTo(remembered);
    c.inMemory.MoveTo(remembered);
    EXPECT_EQ(c.onDemand.IntegerField("Sel"), c.inMemory.IntegerField("Sel"));
    c.onDemand.Prior();
    c.inMemory.Prior();
    EXPECT_EQ(c.onDemand.IntegerField("Sel"), c.inMemory.IntegerField("Sel"));

    // Locate after positions are known keeps them; a miss leaves the row where it was.
    ASSERT_TRUE(c.onDemand.Locate("Gyo", {"6"}));  // integer fields take values given as text
    ASSERT_TRUE(c.inMemory.Locate("Gyo", {"6"}));
    EXPECT_EQ(c.onDemand.RecNo(), c.inMemory.RecNo());
    EXPECT_FALSE(c.onDemand.Locate("Gyo;Sel", {6, 5000}));
    EXPECT_FALSE(c.onDemand.Locate("Gyo", {"６"}));
    EXPECT_EQ(c.onDemand.RecNo(), c.inMemory.RecNo());
    c.onDemand.Last();
    c.inMemory.Last();
    EXPECT_EQ(c.onDemand.IntegerField("Sel"), c.inMemory.IntegerField("Sel"));
    EXPECT_TRUE(c.onDemand.Eof());
}

TEST_F(OnDemandCursor, theRowsOfOneKeyAreTheRowsLocateAndAWalkFindAndTheCursorStays)
{
    writeLinks("E4.db");
    TwoCursors c("E4.db", "Gyo");
    // What the walk from Locate finds: the rows of article 4 in file order (214 of them, more
    // than any read-ahead step).
    std::vector<std::int64_t> walked;
    ASSERT_TRUE(c.inMemory.Locate("Gyo", {4}));
    for (; !c.inMemory.Eof() && c.inMemory.IntegerField("Gyo") == 4; c.inMemory.Next())
        walked.push_back(c.inMemory.IntegerField("Sel"));
    ASSERT_EQ(walked.size(), 214u);

    c.onDemand.MoveTo(17);
    c.inMemory.MoveTo(17);
    for (Table* t : {&c.onDemand, &c.inMemory}) {
        const std::size_t sel = static_cast<std::size_t>(t->FieldIndex("Sel"));
        std::vector<std::int64_t> found;
        for (const Row& r : t->RowsWith("Gyo", {"4"}))  // as Locate, a number given as text
            found.push_back(r[sel].asInteger());
        EXPECT_EQ(found, walked) << t->name();
        EXPECT_EQ(t->RecNo(), 17) << t->name();
        EXPECT_TRUE(t->RowsWith("Gyo", {99}).empty());
        EXPECT_TRUE(t->RowsWith("Gyo", {"四"}).empty());
        EXPECT_EQ(t->RowsWith("Gyo;Sel", {4, 1297}).size(), 1u);
    }
    // A filter narrows the rows as it narrows the cursor.
    c.onDemand.SetFilter("Zeimoku = 1");
    c.onDemand.SetFiltered(true);
    for (const Row& r : c.onDemand.RowsWith("Gyo", {4}))
        EXPECT_EQ(r[static_cast<std::size_t>(c.onDemand.FieldIndex("Zeimoku"))].asInteger(), 1);
    EXPECT_EQ(c.onDemand.RowsWith("Gyo", {4}).size(), 71u);
}

TEST_F(OnDemandCursor, lookupsOfAnAnswerSetReadTheTableThatReadsOnDemand)
{
    TableFile::create("E1.db", "E1", {{"Gyo", FieldType::Integer}, {"Title", FieldType::Text}},
                      {{3, cp932("第３条")}, {1, cp932("第１条")}, {3, cp932("重複")}});
    TableFile::create("E2.db", "E2", {{"Gyo", FieldType::Integer}, {"Honbun", FieldType::Memo}},
                      {{1, cp932("本文")}, {2, cp932("本文")}, {3, cp932("本文")}});
    Table main("SMainTable");
    main.SetTableName("E1.db");
    main.SetFilter("Gyo = 1");
    main.SetFiltered(true);  // look-ups see every row, whatever the filter
    main.Open();
    Query q("JyobunSQL0");
    q.AddDataField("GYO", FieldType::Integer);
    q.AddLookupField("Title", FieldType::Text, "GYO", "Gyo", "Title");
    q.SetLookupDataSet("Title", &main);
    q.SetSQL({"SELECT DISTINCT Gyo ", "FROM E2.db ", cp932("WHERE ( Honbun LIKE '%本文%') "), "ORDER BY Gyo "});
    q.Open();
    std::vector<std::string> titles;
    for (q.First(); !q.Eof(); q.Next())
        titles.push_back(q.TextField("Title"));
    EXPECT_EQ(titles, (std::vector<std::string>{cp932("第１条"), "", cp932("第３条")}));  // the first row wins
    EXPECT_EQ(main.IntegerField("Gyo"), 1);  // the look-ups did not move the table
}

TEST_F(OnDemandCursor, aFileReplacedBetweenTwoMovesIsReadAsItWasOpened)
{
    writeLinks("E4.db");
    Table t("HLinkTable");
    t.SetTableName("E4.db");
    t.SetIndexFieldNames("Gyo");
    t.Open();
    ASSERT_TRUE(t.Locate("Gyo", {2}));
    const std::int64_t first = t.IntegerField("Sel");
    // The delivery build writes a new file and renames it over the old one.
    TableFile::create("E4.new", "E4",
                      {{"Gyo", FieldType::Integer}, {"Sel", FieldType::Integer}, {"GoGyo", FieldType::Integer},
                       {"Zeimoku", FieldType::Integer}},
                      {{2, 9999, 1, 1}});
    std::filesystem::rename("E4.new", "E4.db");
    t.Next();
    EXPECT_EQ(t.IntegerField("Gyo"), 2);
    EXPECT_GT(t.IntegerField("Sel"), first);
    EXPECT_EQ(t.RecordCount(), 1500);
    // Opened again, the cursor reads the new file.
    t.Close();
    t.Open();
    EXPECT_EQ(t.RecordCount(), 1);
    EXPECT_EQ(t.IntegerField("Sel"), 9999);
}

TEST_F(OnDemandCursor, aVolumeWithoutTheDeliveryIndexesOpensAndReadsTheSame)
{
    LawVolumeContent v;
    v.letter = 'E';
    for (int g = 1; g <= 40; ++g) {
        v.articles.push_back({g * 10, 110, cp932("法"), std::to_string(g), cp932("第") + std::to_string(g) + cp932("条"),
                              cp932("本文") + std::to_string(g) + "\r\n"});
        v.treePositions.push_back({g * 10, g});
        v.links.push_back({g * 10, 0, 4, (g % 40 + 1) * 10, 1});
    }
    writeLawVolume(dir.path(), v);
    EXPECT_EQ(indexCount("E1.db"), 2);
    EXPECT_EQ(indexCount("E4.db"), 2);
    EXPECT_EQ(indexCount("E5.db"), 2);

    auto readVolume = [] {
        VolumeFiles files = VolumeFiles::productDefault();
        files.LawVolumeAbsent.fill(1);
        files.LawVolumeAbsent[1] = 0;
        files.assignFileNames();
        TableRegistry registry;
        THoujin houjin;
        std::vector<std::string> shown;
        houjin.onArticleScroll = [&](int volume) {
            const LawVolumeTables& t = registry.law[static_cast<std::size_t>(volume)];
            std::string links;
            if (t.linkTable->Locate("Gyo", {t.subTable->FieldValue("Gyo")}))
                links = t.linkTable->TextField("GoGyo") + "/" + t.linkTable->TextField("Sel");
            shown.push_back(t.subTable->TextField("Honbun") + links);
        };
        houjin.HoujinCreate(registry, files);
        const LawVolumeTables& t = registry.law[1];
        for (int i = 0; i < 5; ++i)
            t.mainTable->Next();
        t.treeTable->Locate("TreeID", {17});
        shown.push_back(t.treeTable->TextField("Gyo"));
        t.mainTable->Locate("Bangou", {"33"});
        return shown;
    };
    const std::vector<std::string> withIndexes = readVolume();
    ASSERT_EQ(withIndexes.size(), 8u);
    EXPECT_EQ(withIndexes.front(), cp932("本文1") + "\r\n" + "20/0");
    EXPECT_EQ(withIndexes[6], "170");
    EXPECT_EQ(withIndexes[7], cp932("本文33") + "\r\n" + "340/0");

    // The same volume as an older delivery wrote it, without the indexes.
    for (const char* file : {"E1.db", "E2.db", "E3.db", "E4.db", "E5.db"}) {
        sqlite3* db = nullptr;
        sqlite3_open(file, &db);
        sqlite3_stmt* st = nullptr;
        std::vector<std::string> names;
        sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type='index'", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        for (const auto& n : names)
            sqlite3_exec(db, ("DROP INDEX " + quoteIdentifier(n)).c_str(), nullptr, nullptr, nullptr);
        sqlite3_close(db);
        EXPECT_EQ(indexCount(file), 0) << file;
    }
    EXPECT_EQ(readVolume(), withIndexes);
}

}  // namespace

// Answer sets are read on demand too: an answer larger than the row cache walks, counts,
// filters and locates as the rows the statement answered, its look-ups read the table of the
// volume, and an answer shown while its file is replaced still reads the rows it answered.
TEST_F(OnDemandCursor, anAnswerSetLargerThanTheCacheReadsAsTheStatementAnswered)
{
    std::vector<Row> articles, texts;
    for (int g = 1; g <= 1400; ++g) {
        articles.push_back({g, cp932("第") + std::to_string(g) + cp932("条")});
        // Two rows for each article, so DISTINCT matters; every third article holds the word.
        texts.push_back({g, g % 70, cp932(g % 3 == 0 ? "控除の本文" : "本文")});
        texts.push_back({g, g % 70, cp932(g % 3 == 0 ? "控除" : "別")});
    }
    TableFile::create("E1.db", "E1", {{"Gyo", FieldType::Integer}, {"Title", FieldType::Text}}, articles);
    TableFile::create("E2.db", "E2",
                      {{"Gyo", FieldType::Integer}, {"KubunNo", FieldType::Integer}, {"Honbun", FieldType::Memo}}, texts);
    Table main("SMainTable");
    main.SetTableName("E1.db");
    main.Open();
    Query q("JyobunSQL0");
    q.AddDataField("GYO", FieldType::Integer);
    q.AddDataField("KubunNO", FieldType::Integer);
    q.AddLookupField("Title", FieldType::Text, "GYO", "Gyo", "Title");
    q.SetLookupDataSet("Title", &main);
    q.SetSQL({"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", cp932("WHERE ( Honbun LIKE '%控除%') "), "ORDER BY Gyo "});
    q.Open();

    std::vector<std::int64_t> expected;
    for (int g = 3; g <= 1400; g += 3)
        expected.push_back(g);
    ASSERT_EQ(q.RecordCount(), static_cast<int>(expected.size()));
    Walk w = forward(q, "Gyo");
    EXPECT_EQ(w.values, expected);
    for (std::size_t i = 0; i < w.recNos.size(); ++i)
        ASSERT_EQ(w.recNos[i], static_cast<int>(i));
    std::vector<std::int64_t> reversed(expected.rbegin(), expected.rend());
    EXPECT_EQ(backward(q, "GYO"), reversed);
    // A grid reads rows far apart without moving; the look-up follows each row.
    EXPECT_EQ(q.ValueAt(400, q.FieldIndex("Title")).asText(), cp932("第1203条"));
    EXPECT_EQ(q.ValueAt(0, q.FieldIndex("Title")).asText(), cp932("第3条"));

    // Locate across the cache's edges, then a step each way.
    ASSERT_TRUE(q.Locate("Gyo", {Value(1200)}));
    EXPECT_EQ(q.RecNo(), 399);
    q.Prior();
    EXPECT_EQ(q.IntegerField("Gyo"), 1197);
    ASSERT_TRUE(q.Locate("Gyo", {Value("3")}));  // a number given as text
    EXPECT_EQ(q.RecNo(), 0);
    EXPECT_FALSE(q.Locate("Gyo", {Value(4)}));
    EXPECT_EQ(q.IntegerField("Gyo"), 3);

    // The range list filters the answer's rows.
    q.SetFilter("KubunNO < 10");
    q.SetFiltered(true);
    std::vector<std::int64_t> narrowed;
    for (std::int64_t g : expected)
        if (g % 70 < 10)
            narrowed.push_back(g);
    EXPECT_EQ(forward(q, "Gyo").values, narrowed);
    q.SetFiltered(false);
    EXPECT_EQ(q.RecordCount(), static_cast<int>(expected.size()));

    // Replaced under the shown answer, the file's new rows do not show; a new search reads them.
    TableFile::create("E2.new", "E2",
                      {{"Gyo", FieldType::Integer}, {"KubunNo", FieldType::Integer}, {"Honbun", FieldType::Memo}},
                      {{5, 1, cp932("控除")}});
    std::filesystem::rename("E2.new", "E2.db");
    q.Last();
    EXPECT_EQ(q.IntegerField("Gyo"), 1398);
    Query again("JyobunSQL1");
    again.SetSQL(q.SQL());
    again.Open();
    EXPECT_EQ(forward(again, "Gyo").values, (std::vector<std::int64_t>{5}));
    EXPECT_EQ(q.RecordCount(), static_cast<int>(expected.size()));
    // Closed, the answer is gone; opened again, it reads the new file.
    q.Close();
    EXPECT_FALSE(q.Active());
    q.Open();
    EXPECT_EQ(forward(q, "Gyo").values, (std::vector<std::int64_t>{5}));
    EXPECT_EQ(q.TextField("Title"), cp932("第5条"));
}
