// The law and book data modules over volumes written by the volume writer.
#include <gtest/gtest.h>

#include <fstream>

#include "store/Hbooks.h"
#include "store/Houjin.h"
#include "store/VolumeWriter.h"
#include "support/TempDir.h"
#include "text/Cp932.h"

using namespace store;
using text::cp932;

namespace {

LawVolumeContent smallVolume(char letter, const std::string& lawName, int firstGyo)
{
    LawVolumeContent v;
    v.letter = letter;
    for (int i = 0; i < 3; ++i) {
        int gyo = firstGyo + i;
        std::string n = text::ToFullWidthDigits(std::to_string(i + 1));
        v.articles.push_back({gyo, 110 + 10 * (i % 2), cp932(i % 2 ? "消令" : "消法"), n + cp932("条"),
                              cp932("第") + n + cp932("条"),
                              cp932(lawName) + "\r\n" + cp932("第") + n + cp932("条\r\n　本文") + n + "\r\n"});
        v.treePositions.push_back({gyo, i + 1});
    }
    v.links.push_back({firstGyo, 4, 4, firstGyo + 1, 1});
    v.references.push_back({firstGyo + 1, 120, firstGyo});
    v.outline = {{0, cp932(lawName)}, {1, cp932("第１条")}, {1, cp932("第２条")}, {1, cp932("第３条")}};
    return v;
}

class DataModules : public ::testing::Test {
protected:
    testsupport::TempWorkingDir dir;
    std::vector<std::string> opened;

    void SetUp() override
    {
        setOpenObserver([this](const std::filesystem::path& p) { opened.push_back(p.filename().string()); });
    }
    void TearDown() override { setOpenObserver(nullptr); }
};

TEST_F(DataModules, lawVolumesOneAndTwoOpenExactlyTheirFilesInOrder)
{
    writeLawVolume(dir.path(), smallVolume('E', "消費税法", 1));
    writeLawVolume(dir.path(), smallVolume('G', "会社法", 101));
    VolumeFiles files = VolumeFiles::productDefault();
    TableRegistry registry;
    THoujin houjin;
    std::vector<std::pair<int, std::int64_t>> displayed;
    houjin.onArticleScroll = [&](int v) {
        displayed.emplace_back(v, registry.law[static_cast<std::size_t>(v)].subTable->IntegerField("Gyo"));
    };
    std::vector<std::string> errors;
    houjin.onOpenError = [&](const std::string& m) { errors.push_back(m); };
    houjin.HoujinCreate(registry, files);

    EXPECT_TRUE(errors.empty());
    // Each volume's files are first opened for their delivery stamps, then as tables.
    EXPECT_EQ(opened, (std::vector<std::string>{"E1.db", "E2.db", "E3.db", "E4.db", "E5.db",
                                                "E5.db", "E1.db", "E1.db", "E4.db", "E2.db",
                                                "G1.db", "G2.db", "G3.db", "G4.db", "G5.db",
                                                "G5.db", "G1.db", "G1.db", "G4.db", "G2.db"}));
    EXPECT_EQ(registry.law[2].subTable->TableName(), "G2.db");
    EXPECT_EQ(registry.law[0].mainTable, nullptr);
    EXPECT_EQ(registry.law[3].subTable, nullptr);
    EXPECT_EQ(registry.lawQueryPool[14]->name(), "JyobunSQL14");
    // The first article of each present volume reached the display while opening.
    EXPECT_EQ(displayed, (std::vector<std::pair<int, std::int64_t>>{{1, 1}, {2, 101}}));
    // The sub table follows the list.
    registry.law[1].mainTable->Next();
    EXPECT_EQ(displayed.back(), (std::pair<int, std::int64_t>{1, 2}));
    EXPECT_EQ(registry.law[1].subTable->TextField("Honbun"), cp932("消費税法\r\n第２条\r\n　本文２\r\n"));
}

TEST_F(DataModules, anOpenFailureIsReportedAndTheRestIsSkipped)
{
    writeLawVolume(dir.path(), smallVolume('E', "消費税法", 1));
    writeLawVolume(dir.path(), smallVolume('G', "会社法", 101));
    std::filesystem::remove("E4.db");
    VolumeFiles files = VolumeFiles::productDefault();
    TableRegistry registry;
    THoujin houjin;
    std::vector<std::string> errors;
    houjin.onOpenError = [&](const std::string& m) { errors.push_back(m); };
    houjin.HoujinCreate(registry, files);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "テーブル E4.db が開けません: ファイルがありません");
    EXPECT_EQ(opened, (std::vector<std::string>{"E1.db", "E2.db", "E3.db", "E5.db", "E5.db", "E1.db", "E1.db", "E4.db"}));
    EXPECT_TRUE(registry.law[1].mainTable->Active());
    EXPECT_FALSE(registry.law[1].subTable->Active());
    EXPECT_FALSE(registry.law[2].mainTable->Active());
}

TEST_F(DataModules, aFileOfAnotherShapeIsAClearError)
{
    writeLawVolume(dir.path(), smallVolume('E', "消費税法", 1));
    TableFile::create("E2.db", "E2", {{"Gyo", FieldType::Integer}, {"Text", FieldType::Memo}}, {{1, "x"}});
    VolumeFiles files;
    files.LawVolumeAbsent[1] = 0;
    files.assignFileNames();
    TableRegistry registry;
    THoujin houjin;
    std::vector<std::string> errors;
    houjin.onOpenError = [&](const std::string& m) { errors.push_back(m); };
    houjin.HoujinCreate(registry, files);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "テーブル E2.db に項目 KubunNo がありません");
}

// Runs one keyword search the way the searches do: take the next pool query, point its
// look-ups at the volume, open it.
Query* search(THoujin& houjin, TableRegistry& registry, int& poolPosition, int volume, const std::string& word,
              const VolumeFiles& files)
{
    // The rotation skips a query that a list shows.
    for (int tries = 0; tries < kLawQueryPoolSize; ++tries) {
        poolPosition = (poolPosition + 1) % kLawQueryPoolSize;
        Query* q = registry.lawQueryPool[static_cast<std::size_t>(poolPosition)];
        bool shown = false;
        for (int v = 0; v < kLawVolumeCount; ++v)
            if (registry.law[static_cast<std::size_t>(v)].mainSource &&
                registry.law[static_cast<std::size_t>(v)].mainSource->dataSet() == q)
                shown = true;
        if (shown)
            continue;
        q->Close();
        pointLawQueryLookups(*q, registry.law[static_cast<std::size_t>(volume)].mainTable);
        q->SetSQL({"SELECT DISTINCT Gyo,KubunNo ", "FROM " + files.LawFileNames[2][volume] + " ",
                   "WHERE ( Honbun LIKE '%" + word + "%') ", "ORDER BY Gyo "});
        q->Open();
        return q;
    }
    return nullptr;
}

TEST_F(DataModules, sixteenSearchesReuseThePoolWithoutDisturbingAShownList)
{
    writeLawVolume(dir.path(), smallVolume('E', "消費税法", 1));
    writeLawVolume(dir.path(), smallVolume('G', "会社法", 101));
    VolumeFiles files = VolumeFiles::productDefault();
    TableRegistry registry;
    THoujin houjin;
    houjin.HoujinCreate(registry, files);
    int pool = -1;

    Query* shownByE = search(houjin, registry, pool, 1, cp932("本文２"), files);
    registry.law[1].mainSource->setDataSet(shownByE);
    EXPECT_EQ(registry.law[1].subTable->IntegerField("Gyo"), 2);
    for (int i = 0; i < 16; ++i) {
        int volume = i % 2 ? 1 : 2;
        Query* q = search(houjin, registry, pool, volume, cp932("本文"), files);
        ASSERT_NE(q, nullptr);
        EXPECT_NE(q, shownByE);
        EXPECT_EQ(q->RecordCount(), 3);
        // A result carries the titles of the volume it was run for.
        EXPECT_EQ(q->TextField("Title"), cp932("第１条"));
        EXPECT_EQ(q->TextField("Kubun"), cp932("消法"));
        EXPECT_EQ(q->IntegerField("Gyo"), volume == 1 ? 1 : 101);
    }
    EXPECT_EQ(registry.law[1].mainSource->dataSet(), shownByE);
    EXPECT_EQ(shownByE->RecordCount(), 1);
    EXPECT_EQ(shownByE->TextField("Title"), cp932("第２条"));
    EXPECT_EQ(registry.law[1].subTable->IntegerField("Gyo"), 2);
}

TEST_F(DataModules, indexFlagColumnsOfVolumeZero)
{
    LawVolumeContent v = smallVolume('A', "法人税法", 1);
    v.articles[0].honbun = cp932("法人税法\r\n第１条\r\n　減価償却資産の償却費\r\n");
    writeLawVolume(dir.path(), v);
    Table t("HSubTable");
    t.SetTableName("A2.db");
    t.Open();
    EXPECT_EQ(t.IntegerField("KEY28"), 1);  // 償
    EXPECT_EQ(t.IntegerField("KEY42"), 1);  // 価
    EXPECT_EQ(t.IntegerField("KEY0"), 0);   // 慶
    EXPECT_EQ(t.Fields().size(), 3u + 51u);
    t.Next();
    EXPECT_EQ(t.IntegerField("KEY28"), 0);
}

TEST_F(DataModules, volumeWriterWritesOneLinkRowPerByteAndTheOutline)
{
    writeLawVolume(dir.path(), smallVolume('E', "消費税法", 1));
    Table links("SLinkTable");
    links.SetTableName("E4.db");
    links.SetIndexFieldNames("Gyo");
    links.Open();
    std::vector<std::int64_t> sel;
    for (links.First(); !links.Eof(); links.Next())
        sel.push_back(links.IntegerField("Sel"));
    EXPECT_EQ(sel, (std::vector<std::int64_t>{4, 5, 6, 7}));
    std::ifstream in("E6.dl_", std::ios::binary);
    std::string outline((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(outline, cp932("消費税法\r\n\t第１条\r\n\t第２条\r\n\t第３条\r\n"));
}

TEST_F(DataModules, bookVolumeZeroOpensInItsOrderAndResultsCarryItsLookups)
{
    BookVolumeContent b;
    b.letter = 'B';
    b.entries = {{10, 1, 1, cp932("基通"), "1", 12.5, cp932("　問１　寄附金")},
                 {11, 20, 2, cp932("税通"), "2", 30, cp932("問２　交際費")}};
    b.books = {{1, 1, cp932("法人税基本通達逐条解説"), cp932("十訂版"), cp932("税務研究会")}};
    b.jumps = {{10, 5, 0}};
    b.urls = {{11, "https://example.invalid/a.pdf"}};
    writeBookVolume(dir.path(), b);
    VolumeFiles files;
    files.BookVolumeAbsent[0] = 0;
    files.assignFileNames();
    TableRegistry registry;
    THbooks hbooks;
    std::vector<std::int64_t> shown;
    hbooks.onEntryScroll = [&](int v) { shown.push_back(registry.book[static_cast<std::size_t>(v)].subTable->IntegerField("BookSeq")); };
    hbooks.HbooksCreate(registry, files);
    EXPECT_EQ(opened, (std::vector<std::string>{"B1.db", "B3.db", "B4.db", "B5.db",  // their stamps
                                                "B1.db", "B3.db", "B4.db", "B5.db", "B1.db"}));
    EXPECT_EQ(shown, (std::vector<std::int64_t>{10}));

    Query* q = registry.bookQueryPool[0];
    pointBookQueryLookups(*q, registry.book[0].mainTable);
    q->SetSQL({"SELECT DISTINCT BookSeq,BookNo,BookRenban ", "FROM B1.db ", cp932("WHERE ( Mokuji LIKE '%交際費%') "),
               "ORDER BY BookSeq "});
    q->Open();
    registry.book[0].mainSource->setDataSet(q);
    EXPECT_EQ(shown.back(), 11);
    EXPECT_EQ(q->TextField("BookNameShort"), cp932("税通"));
    EXPECT_DOUBLE_EQ(q->FloatField("BookPage"), 30.0);
    EXPECT_EQ(q->TextField("Mokuji"), cp932("問２　交際費"));
}

}  // namespace
