// Book volumes from their tab-separated source.
#include <gtest/gtest.h>

#include <fstream>

#include "TestVolume.h"
#include "store/TableFile.h"
#include "tools/importer/BookSource.h"
#include "tools/importer/Command.h"

#include <sstream>

using importer::BookSourceError;
using importer::readBookSource;
using importertest::cp;
using importertest::TempDir;
using importertest::u8;

namespace {

namespace fs = std::filesystem;

void write(const fs::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary);
    out << text;
}

TEST(BookSource, entriesBooksJumpsAndUrlsWithJumpsResolvedInTheLawVolume)
{
    TempDir dir;
    store::writeLawVolume(dir.path(), importertest::testVolume().delivery.content);
    write(dir.path() / "book.tsv",
          "# 見本の目次\n"
          "book\t1\t1\t見本税法逐条解説\t第２版\t見本出版\n"
          "entry\t10\t1\t1\t逐条\t1\t12.5\t　第８条　仕入れの控除\n"
          "entry\t11\t1\t1\t逐条\t2\t30\t問　還付の時期\r\n"
          "jump\t10\t1\t110\t８条\n"
          "url\t11\thttps://example.invalid/kanpu.html\n");
    auto c = readBookSource(dir.path() / "book.tsv", 'F', dir.path());
    EXPECT_EQ(c.letter, 'F');
    ASSERT_EQ(c.entries.size(), 2u);
    EXPECT_EQ(c.entries[0].bookSeq, 10);
    EXPECT_EQ(c.entries[0].bookPage, 12.5);
    EXPECT_EQ(u8(c.entries[0].mokuji), "　第８条　仕入れの控除");
    EXPECT_EQ(u8(c.entries[1].mokuji), "問　還付の時期");
    ASSERT_EQ(c.books.size(), 1u);
    EXPECT_EQ(u8(c.books[0].bookSyupan), "見本出版");
    ASSERT_EQ(c.jumps.size(), 1u);
    EXPECT_EQ(c.jumps[0].gyo, importertest::testVolume().article(110, "８条").gyo);
    EXPECT_EQ(c.jumps[0].zeimoku, 1);
    ASSERT_EQ(c.urls.size(), 1u);
    EXPECT_EQ(c.urls[0].url, "https://example.invalid/kanpu.html");
}

TEST(BookSource, mistakesNameTheirLine)
{
    TempDir dir;
    store::writeLawVolume(dir.path(), importertest::testVolume().delivery.content);
    struct Case {
        const char* source;
        std::string message;
    } cases[] = {
        {"entry\t1\t1\t1\ta\tb\tx\tc\n", " の 1 行目: ページが数字ではありません: x"},
        {"entry\t1\t1\t1\ta\tb\n", " の 1 行目: entry の項目は 7 個です"},
        {"entry\t1\t1\t1\ta\tb\t1\tc\nentry\t1\t1\t1\ta\tb\t2\tc\n", " の 2 行目: BookSeq が重複しています: 1"},
        {"entry\t1\t1\t1\ta\tb\t1\tc\njump\t1\t1\t110\t９９条\n", " の 2 行目: 条文がありません: 110 ９９条"},
        {"entry\t1\t1\t1\ta\tb\t1\tc\njump\t1\t2\t410\t１条\n", " の 2 行目: テーブル G1.db が開けません: ファイルがありません"},
        {"jump\t5\t1\t110\t８条\n", ": jump の BookSeq 5 の項目がありません"},
        {"chapter\t1\n", " の 1 行目: 知らない行の種類です: chapter"},
    };
    for (const auto& c : cases) {
        write(dir.path() / "bad.tsv", c.source);
        try {
            readBookSource(dir.path() / "bad.tsv", 'B', dir.path());
            ADD_FAILURE() << c.source;
        } catch (const BookSourceError& e) {
            EXPECT_EQ(std::string(e.what()), (dir.path() / "bad.tsv").string() + c.message) << c.source;
        }
    }
}

TEST(BookSource, commandWritesTheBookFiles)
{
    TempDir dir;
    write(dir.path() / "book.tsv", "book\t20\t1\t見本通信\t\t見本社\nentry\t1\t20\t1\t通信\t\t3\t見本の話\n");
    std::ostringstream out, err;
    ASSERT_EQ(importer::runCommand({"book", (dir.path() / "book.tsv").string(), "J", dir.path().string()}, out, err), 0)
        << err.str();
    auto entries = store::TableFile::open(dir.path() / "J1.db", true)->readAll();
    ASSERT_EQ(entries.rows.size(), 1u);
    EXPECT_EQ(u8(entries.rows[0][6].asText()), "見本の話");
    EXPECT_TRUE(fs::exists(dir.path() / "J5.db"));
}

}  // namespace
