// The program over files that change or are not what they should be: a volume delivered under
// the running window, table files of two deliveries, a journal left beside a browsing table, and
// side files that are folders, FIFOs, huge or unreadable. Driven through the real window
// offscreen on real volume files.
#include <QApplication>
#include <QLineEdit>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ProgramFixture.h"
#include "authoring/PositionFile.h"
#include "display/DataGrid.h"
#include "display/OutlineTree.h"
#include "display/RichTextView.h"
#include "store/DataSet.h"
#include "store/DataSource.h"
#include "store/TableFile.h"

using namespace apptest;
namespace fs = std::filesystem;

namespace {

// Leaves beside table a rollback journal of a write that never finished, as a writer killed in
// the middle of its transaction leaves it: the table is copied with its journal while the
// transaction is open (its pages already spilled into the file).
void leaveHotJournal(const fs::path& table)
{
    const fs::path work = table.parent_path() / "journal-work.db";
    fs::copy_file(table, work, fs::copy_options::overwrite_existing);
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(work.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "PRAGMA cache_size=1; BEGIN; CREATE TABLE spill(x);"
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<2000) "
                           "INSERT INTO spill SELECT randomblob(1000) FROM n;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    fs::path journal = work;
    journal += "-journal";
    ASSERT_TRUE(fs::exists(journal));
    fs::copy_file(work, table, fs::copy_options::overwrite_existing);
    fs::path leftover = table;
    leftover += "-journal";
    fs::copy_file(journal, leftover, fs::copy_options::overwrite_existing);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    fs::remove(work);
}

// The Gyo and Title of every row the volume's list shows, in list order.
std::vector<std::pair<std::int64_t, std::string>> listedRows(store::DataSource& source)
{
    std::vector<std::pair<std::int64_t, std::string>> rows;
    store::DataSet* d = source.dataSet();
    if (!d || !d->Active())
        return rows;
    for (d->First(); !d->Eof(); d->Next())
        rows.emplace_back(d->IntegerField("Gyo"), text::toUtf8(d->TextField("Title")).text);
    return rows;
}

// A start-up or close that would block on a side file fails the test instead of hanging it.
class AlarmGuard {
public:
    AlarmGuard() { alarm(60); }
    ~AlarmGuard() { alarm(0); }
};

}  // namespace

using ChangedFiles = ProgramTest;

TEST_F(ChangedFiles, aVolumeDeliveredUnderTheRunningWindowIsOpenedAgainWholeAtTheNextCommand)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    LawVolumeEntry& syohi = registry().law[1];
    ASSERT_EQ(syohi.RichEdit->plainText(), cp932("第１条　消費税法の本文１\r\n２　前項の規定は適用しない。\r\n"));

    // A new delivery of 消費税 over the open one: other articles, other texts.
    store::LawVolumeContent sample = lawVolume('E', "見本法", 1, 2);
    sample.articles[1].honbun = cp932("第２条　別の見本の本文\r\n");
    sample.articles[1].title = cp932("第２条（見本）");
    store::writeLawVolume(dir.path(), sample);

    syohi.EditKey1->setText(QStringLiteral("見本"));
    window().BBtnKensaku->click();
    // The search did not run on what the window showed before: the volume was opened again.
    ASSERT_EQ(messages().size(), 1u);
    const std::string told = messages()[0];
    EXPECT_EQ(told.rfind("消費税 のファイル (E1.db, E2.db", 0), 0u) << told;
    EXPECT_NE(told.find(") が更新されました。巻を開き直して最初の条文を表示しています。もう一度操作してください"),
              std::string::npos)
        << told;
    EXPECT_EQ(syohi.RichEdit->plainText(), cp932("第１条　見本法の本文１\r\n２　前項の規定は適用しない。\r\n"));
    EXPECT_EQ(syohi.TreeView->nodeAt(0)->text(0), QStringLiteral("見本法"));
    EXPECT_EQ(listedRows(*registry().tables.law[1].mainSource),
              (std::vector<std::pair<std::int64_t, std::string>>{{1, "第１条（趣旨）"}, {2, "第２条（見本）"}}));

    // The search given again runs on the new delivery: rows and titles of the same files.
    syohi.EditKey1->setText(QStringLiteral("見本"));
    window().BBtnKensaku->click();
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_EQ(syohi.RichEdit->plainText(), cp932("第１条　見本法の本文１\r\n２　前項の規定は適用しない。\r\n"));
    EXPECT_EQ(listedRows(*registry().tables.law[1].mainSource),
              (std::vector<std::pair<std::int64_t, std::string>>{{1, "第１条（趣旨）"}, {2, "第２条（見本）"}}));

    // Nothing changed since: commands run without a word.
    window().BBtnHome->click();
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(ChangedFiles, backAfterAVolumeWasOpenedAgainBringsBackNothingOfTheOldDelivery)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    LawVolumeEntry& syohi = registry().law[1];
    // The user reads 第２条, then goes Home: the history holds 第２条 by its row key.
    registry().tables.law[1].mainSource->dataSet()->Next();
    window().BBtnHome->click();
    ASSERT_EQ(syohi.RichEdit->plainText(), cp932("第１条　消費税法の本文１\r\n２　前項の規定は適用しない。\r\n"));

    // A new delivery where the same row key is another article.
    store::LawVolumeContent sample = lawVolume('E', "見本法", 1, 2);
    sample.articles[1].honbun = cp932("第５条　別の見本の本文\r\n");
    sample.articles[1].title = cp932("第５条（見本）");
    store::writeLawVolume(dir.path(), sample);
    window().BBtnHome->click();
    ASSERT_EQ(messages().size(), 1u);

    // Back does not show the new delivery's article under the old entry's key.
    window().BBtnBack->click();
    EXPECT_EQ(messages().size(), 1u);
    EXPECT_EQ(syohi.RichEdit->plainText(), cp932("第１条　見本法の本文１\r\n２　前項の規定は適用しない。\r\n"));
}

TEST_F(ChangedFiles, aVolumeCopiedOverInPlaceIsPaintedWithoutACrashAndOpenedAgain)
{
    writeProductVolumes();
    fs::create_directory("new");
    store::writeLawVolume(dir.path() / "new", lawVolume('E', "見本法", 1, 30));
    start(store::VolumeFiles::productDefault());
    showWindow();
    // A plain copy over the open files: the same files, truncated and written again.
    for (const char* f : {"E1.db", "E2.db", "E3.db", "E4.db", "E5.db", "E6.dl_"})
        fs::copy_file(fs::path("new") / f, f, fs::copy_options::overwrite_existing);
    // The list repaints from the rewritten file before any command comes.
    registry().law[1].DBGrid->viewport()->repaint();
    QApplication::processEvents();
    window().BBtnOpenAll->click();
    ASSERT_EQ(messages().size(), 1u) << (messages().empty() ? "" : messages()[0]);
    EXPECT_NE(messages()[0].find("巻を開き直して最初の条文を表示しています"), std::string::npos) << messages()[0];
    EXPECT_EQ(registry().law[1].RichEdit->plainText(), cp932("第１条　見本法の本文１\r\n２　前項の規定は適用しない。\r\n"));
    EXPECT_EQ(listedRows(*registry().tables.law[1].mainSource).size(), 30u);
}

TEST_F(ChangedFiles, aVolumeLeftWithTwoDeliveriesIsClosedAndNamed)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    // Half of a delivery arrived: two files carry the new stamp, the rest the old one.
    for (const char* f : {"E1.db", "E2.db", "E3.db"})
        store::TableFile::writeDeliveryStamp(f, 1111);
    for (const char* f : {"E4.db", "E5.db"})
        store::TableFile::writeDeliveryStamp(f, 2222);
    window().BBtnHome->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].rfind("消費税 のファイル (E1.db, E2.db, E3.db, E4.db, E5.db) が更新されました。巻を開き直せないので閉じました: "
                                  "テーブル E1.db, E2.db, E3.db と E4.db, E5.db は別々の配信のものです。",
                                  0),
              0u)
        << messages()[0];
    EXPECT_TRUE(listedRows(*registry().tables.law[1].mainSource).empty());
    EXPECT_EQ(registry().law[1].RichEdit->plainText(), "");
    EXPECT_EQ(registry().law[1].TreeView->nodeCount(), 0);

    // The rest of the delivery arrives: the volume opens again. (File times move in steps of a
    // few milliseconds; the stamps are written in a later step than the one the volume was
    // looked at in, as any real delivery is.)
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    for (const char* f : {"E1.db", "E2.db", "E3.db"})
        store::TableFile::writeDeliveryStamp(f, 2222);
    window().BBtnHome->click();
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_NE(messages()[1].find("巻を開き直して最初の条文を表示しています"), std::string::npos) << messages()[1];
    EXPECT_EQ(listedRows(*registry().tables.law[1].mainSource).size(), 4u);
}

TEST_F(ChangedFiles, stampsOfTwoDeliveriesAtStartUpOpenNothingOfThatVolume)
{
    writeProductVolumes();
    // An unstamped file is of an older delivery and agrees with any.
    for (const char* f : {"E3.db", "E4.db", "E5.db"})
        store::TableFile::writeDeliveryStamp(f, 0);
    store::TableFile::writeDeliveryStamp("E1.db", 7);
    store::TableFile::writeDeliveryStamp("E2.db", 9);
    start(store::VolumeFiles::productDefault());
    showWindow();
    EXPECT_EQ(messages(), (std::vector<std::string>{"テーブル E1.db と E2.db は別々の配信のものです。"
                                                    "二つの配信が混ざった巻は開きません: 配信し直してください"}));
    EXPECT_EQ(registry().law[1].RichEdit->plainText(), "");
}

TEST_F(ChangedFiles, oneDeliveryOrUnstampedFilesOpenWithoutAWord)
{
    writeProductVolumes();
    for (const char* f : {"E3.db", "E5.db"})
        store::TableFile::writeDeliveryStamp(f, 0);
    for (const char* f : {"E1.db", "E2.db", "E4.db"})
        store::TableFile::writeDeliveryStamp(f, 5);
    start(store::VolumeFiles::productDefault());
    showWindow();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(listedRows(*registry().tables.law[1].mainSource).size(), 4u);
}

TEST_F(ChangedFiles, aJournalLeftBesideABrowsingTableIsNamedAndLeftUntouched)
{
    writeProductVolumes();
    leaveHotJournal(dir.path() / "E1.db");
    const std::string table = testsupport::fileBytes("E1.db");
    const std::string journal = testsupport::fileBytes("E1.db-journal");
    start(store::VolumeFiles::productDefault());
    showWindow();
    EXPECT_EQ(messages(), (std::vector<std::string>{"テーブル E1.db は書き込みが途中で止まったままです (E1.db-journal が残っています)。"
                                                    "このプログラムはどちらにも書き込まないので、配信し直してください"}));
    closeWindow();
    program.reset();
    EXPECT_EQ(testsupport::fileBytes("E1.db"), table);
    ASSERT_TRUE(fs::exists("E1.db-journal"));
    EXPECT_EQ(testsupport::fileBytes("E1.db-journal"), journal);
}

TEST_F(ChangedFiles, aWindowStateThatIsAFolderOrAFifoLeavesTheDesignedSizeAndIsNotWritten)
{
    AlarmGuard guard;
    writeProductVolumes();
    for (bool fifo : {false, true}) {
        fs::remove_all("C3.dl_");
        if (fifo)
            ASSERT_EQ(mkfifo("C3.dl_", 0600), 0);
        else
            fs::create_directory("C3.dl_");
        start(store::VolumeFiles::productDefault());
        showWindow();
        EXPECT_FALSE(window().isMaximized()) << fifo;
        EXPECT_TRUE(messages().empty()) << fifo;
        window().showMaximized();
        closeWindow();
        program.reset();
        EXPECT_EQ(fifo ? fs::is_fifo("C3.dl_") : fs::is_directory("C3.dl_"), true) << fifo;
    }
}

TEST_F(ChangedFiles, aHugeWindowStateIsReadOnlyAsFarAsItsFirstLine)
{
    writeProductVolumes();
    dir.writeFile("C3.dl_", "1\r\n");
    fs::resize_file("C3.dl_", std::uintmax_t{1} << 30);  // sparse: a gigabyte without the disk
    start(store::VolumeFiles::productDefault());
    showWindow();
    EXPECT_TRUE(window().isMaximized());
}

TEST_F(ChangedFiles, anOutlineThatCannotBeReadIsNamedInJapaneseAndTheTreeLeftEmpty)
{
    AlarmGuard guard;
    writeProductVolumes();
    fs::remove("E6.dl_");
    fs::create_directory("E6.dl_");
    fs::remove("G6.dl_");
    ASSERT_EQ(mkfifo("G6.dl_", 0600), 0);
    start(store::VolumeFiles::productDefault());
    showWindow();
    EXPECT_EQ(messages(), (std::vector<std::string>{"アウトライン E6.dl_ はファイルではありません (フォルダ)。読まずに進めます",
                                                    "アウトライン G6.dl_ はファイルではありません (名前付きパイプ)。読まずに進めます"}));
    EXPECT_EQ(registry().law[1].TreeView->nodeCount(), 0);
    EXPECT_EQ(registry().law[1].RichEdit->plainText(), cp932("第１条　消費税法の本文１\r\n２　前項の規定は適用しない。\r\n"));
    EXPECT_FALSE(window().StatusPanelText(1).isEmpty());
}

TEST(SavedPosition, aPositionFileThatIsNoFileIsNoPositionAndIsNeverWrittenInto)
{
    AlarmGuard guard;
    testsupport::TempWorkingDir dir;
    const store::VolumeFiles files = store::VolumeFiles::productDefault();
    fs::create_directory("C4.dl_");
    EXPECT_EQ(authoring::ReadSavedPosition("C4.dl_", files), std::nullopt);
    fs::remove("C4.dl_");
    ASSERT_EQ(mkfifo("C4.dl_", 0600), 0);
    EXPECT_EQ(authoring::ReadSavedPosition("C4.dl_", files), std::nullopt);
    try {
        authoring::WriteSavedPosition("C4.dl_", {1, 5});
        ADD_FAILURE() << "written into a FIFO";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "位置を保存できません: C4.dl_ はファイルではないので書きません");
    }
    fs::remove("C4.dl_");
    authoring::WriteSavedPosition("C4.dl_", {1, 5});
    const auto saved = authoring::ReadSavedPosition("C4.dl_", files);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->gyo, 5);
}
