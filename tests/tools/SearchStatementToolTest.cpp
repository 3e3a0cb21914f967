// search-statement run as a command over volumes on disk: the statement lines it prints for each
// keyword shape and range, and the articles the engine finds with them.
#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "tools/ToolProcess.h"
#include "tools/ToolVolumes.h"

using testsupport::runTool;
using testsupport::ToolRun;

namespace {

class SearchStatementTool : public ::testing::Test {
protected:
    testsupport::TempWorkingDir capture;
    std::filesystem::path volumes = capture.path() / "volumes";

    void SetUp() override
    {
        store::writeLawVolume(volumes, testsupport::shohiVolume());
        store::writeLawVolume(volumes, testsupport::houjinVolume());
    }
    ToolRun run(const std::vector<std::string>& args) { return runTool("search-statement", args, capture.path()); }
};

TEST_F(SearchStatementTool, printsTheStatementThenTheArticlesFound)
{
    struct Case {
        const char* what;
        std::vector<std::string> args;  // after the folder
        std::vector<std::string> lines;
        int exitCode;
    };
    const Case cases[] = {
        {"two keywords over the whole volume",
         {"E", "課税", "仕入"},
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%課税%') ", "AND ( Honbun LIKE '%仕入%') ",
          "ORDER BY Gyo ", "", "2\t第三十条（仕入れに係る消費税額の控除）", "3\t第三十条の二（特例）",
          "4\t第三十条（控除の特例）", "5\t第八十六条（消費税の課税仕入れ）", "6\t附則第三条（経過措置）"},
         0},
        {"a range preset's clause follows the LIKE lines and narrows the articles",
         {"E", "課税", "仕入", "--range", "本法関係"},
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%課税%') ", "AND ( Honbun LIKE '%仕入%') ",
          "AND ( KubunNo < 200) ", "ORDER BY Gyo ", "", "2\t第三十条（仕入れに係る消費税額の控除）",
          "3\t第三十条の二（特例）", "4\t第三十条（控除の特例）", "6\t附則第三条（経過措置）"},
         0},
        {"a single-code preset written with =",
         {"E", "課税", "--range=措法"},
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%課税%') ", "AND ( KubunNo = 710) ",
          "ORDER BY Gyo ", "", "5\t第八十六条（消費税の課税仕入れ）"},
         0},
        {"only the second keyword",
         {"E", "", "控除"},
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%控除%') ", "ORDER BY Gyo ", "",
          "2\t第三十条（仕入れに係る消費税額の控除）", "3\t第三十条の二（特例）"},
         0},
        {"digits become full width",
         {"E", "35"},
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%３５%') ", "ORDER BY Gyo ", "",
          "2\t第三十条（仕入れに係る消費税額の控除）"},
         0},
        {"the prolonged-sound mark becomes the full-width hyphen",
         {"E", "リース"},
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%リ－ス%') ", "ORDER BY Gyo ", "",
          "2\t第三十条（仕入れに係る消費税額の控除）"},
         0},
        {"a quote is doubled in the line and found as itself",
         {"E", "甲'乙"},
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%甲''乙%') ", "ORDER BY Gyo ", "",
          "3\t第三十条の二（特例）"},
         0},
        {"a percent sign is no wildcard: １００円 is not found",
         {"E", "100%"},
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%１００%%') ", "ORDER BY Gyo ", "",
          "3\t第三十条の二（特例）"},
         0},
        {"both keywords starting with the asterisk search for the asterisk alone",
         {"E", "＊－", "＊条"},
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%＊%') ", "ORDER BY Gyo ", "",
          "該当の条文はありません"},
         1},
        {"nothing found",
         {"E", "還付"},
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%還付%') ", "ORDER BY Gyo ", "",
          "該当の条文はありません"},
         1},
        {"volume A adds the index-flag line of its first index character",
         {"A", "金利"},
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM A2.db ", "WHERE ( Honbun LIKE '%金利%') ", "AND ( KEY33 = 1 ) ",
          "ORDER BY Gyo ", "", "1\t第二十二条（金利）"},
         0},
        {"a lower-case letter names the same volume",
         {"a", "配当"},
         {"SELECT DISTINCT Gyo,KubunNo ", "FROM A2.db ", "WHERE ( Honbun LIKE '%配当%') ", "AND ( KEY12 = 1 ) ",
          "ORDER BY Gyo ", "",
          "2\t第二十三条（受取配当）"},
         0},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{volumes.string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ToolRun r = run(args);
        EXPECT_EQ(r.outLines(), c.lines) << c.what;
        EXPECT_EQ(r.exitCode, c.exitCode) << c.what;
        EXPECT_EQ(r.err, "") << c.what;
    }
}

TEST_F(SearchStatementTool, keepsTheTrailingBlanksOfEveryLine)
{
    ToolRun r = run({volumes.string(), "E", "消費税"});
    EXPECT_EQ(r.out, "SELECT DISTINCT Gyo,KubunNo \nFROM E2.db \nWHERE ( Honbun LIKE '%消費税%') \nORDER BY Gyo \n\n"
                     "1\t第一条（趣旨）\n");
}

}  // namespace
