// The importer command as editors and the build run it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "TestVolume.h"
#include "store/TableFile.h"
#include "tools/importer/Command.h"

using importertest::TempDir;

namespace {

namespace fs = std::filesystem;

using importertest::CommandRun;

CommandRun run(const std::vector<std::string>& args)
{
    return importertest::runImporter(args);
}

TEST(Command, buildWritesTheVolumeAndPrintsASummaryPerLaw)
{
    TempDir dir;
    fs::path manifest = importertest::writeTestVolume(dir.path() / "pages");
    CommandRun r = run({"build", manifest.string(), (dir.path() / "auth").string(), "E", (dir.path() / "out").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("見本税法 を読んでいます"), std::string::npos);
    EXPECT_NE(r.out.find("見本税法 (110): 条文 12 (削除 1), 附則 6 行 (4 件)"), std::string::npos);
    EXPECT_NE(r.out.find("見本税法施行令 (120): 条文 4, リンク 10 (うち参照検索 1), 参照索引 7"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("配布データを書きました"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir.path() / "out" / "E6.dl_"));
    // -v lists the references that found no target
    CommandRun verbose = run({"import", manifest.string(), (dir.path() / "auth").string(), "1", "-v"});
    EXPECT_NE(verbose.out.find("  参照先なし: ８条 → 第９９条\n"), std::string::npos);
}

TEST(Command, missingPageStopsWithItsName)
{
    TempDir dir;
    fs::path manifest = importertest::writeTestVolume(dir.path());
    fs::remove(dir.path() / "order.html");
    CommandRun r = run({"import", manifest.string(), (dir.path() / "auth").string(), "E"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "importer: ページが読めません: " + (dir.path() / "order.html").string() + "\n");
    EXPECT_FALSE(fs::exists(dir.path() / "auth"));
}

TEST(Command, malformedPageIsImportedAsFarAsItReadsWithItsProblems)
{
    TempDir dir;
    fs::path manifest = importertest::writeTestVolume(dir.path());
    std::string page = importertest::testPage("act.html");
    {
        std::ofstream out(dir.path() / "act.html", std::ios::binary | std::ios::trunc);
        // tag soup from inside 第六条 on, and a bold the importer cannot place; the page itself
        // is whole (a page cut short is refused: DamagedInputTest)
        out << page.substr(0, page.find(importertest::cp("<B>第六条")) + 9) << "<B>" << importertest::cp("何か") << "</B>"
            << "</BODY></HTML>\n";
    }
    CommandRun r = run({"import", manifest.string(), (dir.path() / "auth").string(), "E"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("警告: 見本税法: 条文番号が読めません: 第六条何か"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("見本税法 (110): 条文 7 (削除 1), 附則 0 行 (0 件)"), std::string::npos) << r.out;
}

TEST(Command, wrongCommandLineShowsTheUsage)
{
    CommandRun none = run({});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.err.substr(0, none.err.find('\n')), "importer: コマンドがありません");
    EXPECT_NE(none.err.find("importer import  目録 作業フォルダ 巻"), std::string::npos);
    EXPECT_EQ(run({"deliver", "a", "X", "b"}).err.substr(0, 40), std::string("importer: 法令の巻がわかりません: X\n").substr(0, 40));
    EXPECT_EQ(run({"deliver", "a"}).status, 2);
    EXPECT_EQ(run({"book", "s", "E", "t"}).status, 2);  // E is a law volume
}

TEST(Command, withoutAnOutputFolderTheVolumeGoesToTheUsersDataFolder)
{
    TempDir dir;
    fs::path manifest = importertest::writeTestVolume(dir.path() / "pages");
    const char* was = std::getenv("XDG_DATA_HOME");
    const std::string previous = was ? was : "";
    setenv("XDG_DATA_HOME", (dir.path() / "data").c_str(), 1);
    CommandRun r = run({"build", manifest.string(), (dir.path() / "auth").string(), "E"});
    CommandRun deliver = run({"deliver", (dir.path() / "auth").string(), "E"});
    if (was)
        setenv("XDG_DATA_HOME", previous.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(deliver.status, 0) << deliver.err;
    EXPECT_NE(r.out.find("配布データを書きました: " + (dir.path() / "data" / "sorvane36lite").string()), std::string::npos)
        << r.out;
    for (const char* name : {"E1.db", "E2.db", "E4.db", "E5.db", "E6.dl_"})
        EXPECT_TRUE(fs::exists(dir.path() / "data" / "sorvane36lite" / name)) << name;
}

TEST(Command, deliverWithoutAnAuthoringCopyNamesTheMissingTable)
{
    TempDir dir;
    CommandRun r = run({"deliver", dir.path().string(), "G", (dir.path() / "out").string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "importer: テーブル 条文本文.db が開けません: ファイルがありません\n");
}

TEST(Command, checkReportsHowAPageReads)
{
    TempDir dir;
    importertest::writeTestVolume(dir.path());
    CommandRun r = run({"check", (dir.path() / "act.html").string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "見本税法 (平成二十年三月三十一日法律第二十三号): 見出し 5, 条文 12, 附則 4 件 6 行, 別表 2, リンク 2\n");
}

}  // namespace
