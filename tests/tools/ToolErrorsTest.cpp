// What the commands of tools/ answer to a wrong command line and to a volume they cannot read:
// the reason on standard error, the usage text after a wrong command line, and the exit status.
#include <gtest/gtest.h>

#include "store/TableFile.h"
#include "support/TempDir.h"
#include "tools/ToolProcess.h"
#include "tools/ToolVolumes.h"

using testsupport::runTool;
using testsupport::ToolRun;

namespace {

class ToolErrors : public ::testing::Test {
protected:
    testsupport::TempWorkingDir capture;
    std::filesystem::path volumes = capture.path() / "volumes";

    void SetUp() override { store::writeLawVolume(volumes, testsupport::shohiVolume()); }
};

TEST_F(ToolErrors, aWrongCommandLineGivesTheReasonAndTheUsage)
{
    const std::string folder = volumes.string();
    const std::string eRange =
        "the range list of volume E has no item \"本法\"; its items are 全範囲, 本法関係, 地方税関係, 措置法関係, "
        "震災関係, 消法, 消令, 消規, 消基通, 消個通, 地方, 地方令, 地方規, 措法, 措令, 措規, 震災法, 震災令, 震災通";
    struct Case {
        const char* tool;
        std::vector<std::string> args;
        std::string reason;
    };
    const Case cases[] = {
        {"search-statement", {}, "expected a folder, a letter and one or two keywords"},
        {"search-statement", {folder, "E", "a", "b", "c"}, "expected a folder, a letter and one or two keywords"},
        {"search-statement", {folder, "Z", "課税"}, "the letter must be one of A E G H I K, not \"Z\""},
        {"search-statement", {folder, "EE", "課税"}, "the letter must be one of A E G H I K, not \"EE\""},
        {"search-statement", {folder, "E", "", ""}, "キーワードが入力されていません"},
        {"search-statement", {folder, "E", "課税", "--range", "本法"}, eRange},
        {"search-statement", {folder, "E", "課税", "--range"}, "--range needs a value"},
        {"search-statement", {folder, "E", "課税", "--rang", "本法関係"}, "unknown option --rang"},
        {"search-statement", {folder, "E", "課税", "--range", "消法", "--range=消令"}, "--range is given twice"},
        {"search-statement", {folder, "E", "課税\xF0\x9F\x98\x80"},
         "keyword 1 holds characters that code page 932 cannot represent"},
        {"search-statement", {folder, "E", "課税", "\xC3\xA9"},
         "keyword 2 holds characters that code page 932 cannot represent"},
        {"article-jump", {folder, "E"}, "expected a folder, a letter and an article number"},
        {"article-jump", {folder, "G", ""}, "条文番号を入力してください"},
        {"article-jump", {folder, "K", "30", "--range", "国税"},
         "the range list of volume K has no item \"国税\"; its items are 全範囲, 国通関係, 国徴関係, 印紙関係, 震災関係, "
         "国通, 国通令, 国通規, 国通通, 国徴, 国徴令, 国徴規, 国徴通, 印紙, 印紙令, 印紙規, 印紙通, 措法, 措令, 措規, "
         "震災法, 震災令, 震災規, 震災通"},
        {"article-jump", {folder, "E", "30", "--word1", "x"}, "unknown option --word1"},
        {"render-article", {folder, "E"}, "expected a folder, a letter and a Gyo"},
        {"render-article", {folder, "E", "x2"}, "the Gyo must be a whole number, not \"x2\""},
        {"render-article", {folder, "E", "2.5"}, "the Gyo must be a whole number, not \"2.5\""},
        {"render-article", {folder, "E", "2", "--word1"}, "--word1 needs a value"},
        {"render-article", {folder, "E", "2", "--range", "消法"}, "unknown option --range"},
    };
    for (const auto& c : cases) {
        ToolRun r = runTool(c.tool, c.args, capture.path());
        const std::string where = std::string(c.tool) + " " + c.reason;
        EXPECT_EQ(r.exitCode, 2) << where;
        EXPECT_EQ(r.out, "") << where;
        std::vector<std::string> err = r.errLines();
        ASSERT_GE(err.size(), 2u) << where;
        EXPECT_EQ(err[0], std::string(c.tool) + ": " + c.reason);
        EXPECT_EQ(err[1].rfind("usage: " + std::string(c.tool) + " FOLDER LETTER ", 0), 0u) << where;
    }
}

TEST_F(ToolErrors, aVolumeThatCannotBeReadIsNamedByEveryCommand)
{
    const std::filesystem::path missing = capture.path() / "nowhere";
    const std::filesystem::path withoutText = capture.path() / "without-text";
    store::writeLawVolume(withoutText, testsupport::shohiVolume());
    std::filesystem::remove(withoutText / "E2.db");
    const std::filesystem::path notATable = capture.path() / "not-a-table";
    store::writeLawVolume(notATable, testsupport::shohiVolume());
    capture.writeFile("not-a-table/E1.db", "this is not a table file, just some text long enough to be read");
    const std::filesystem::path wrongLinks = capture.path() / "wrong-links";
    store::writeLawVolume(wrongLinks, testsupport::shohiVolume());
    store::TableFile::create(wrongLinks / "E4.db", "E4",
                             {{"Gyo", store::FieldType::Integer}, {"GoGyo", store::FieldType::Integer},
                              {"Zeimoku", store::FieldType::Integer}},
                             {});

    struct Case {
        std::filesystem::path folder;
        std::string reason;
    };
    const Case cases[] = {
        {missing, "フォルダ " + missing.string() + " がありません"},
        {withoutText, "テーブル E2.db が開けません: ファイルがありません"},
        {notATable, "テーブル E1.db はテーブルファイルではありません (file is not a database)"},
        {wrongLinks, "テーブル E4.db に項目 Sel がありません"},
    };
    for (const auto& c : cases) {
        const std::vector<std::pair<const char*, std::vector<std::string>>> runs = {
            {"search-statement", {c.folder.string(), "E", "課税"}},
            {"article-jump", {c.folder.string(), "E", "30"}},
            {"render-article", {c.folder.string(), "E", "2"}},
        };
        for (const auto& [tool, args] : runs) {
            ToolRun r = runTool(tool, args, capture.path());
            EXPECT_EQ(r.exitCode, 3) << tool << " " << c.reason;
            EXPECT_EQ(r.out, "") << tool << " " << c.reason;
            EXPECT_EQ(r.errLines(), std::vector<std::string>{std::string(tool) + ": " + c.reason});
        }
    }
}

}  // namespace
