// article-jump run as a command over a volume on disk: the rewritten number and the article the
// jump finds for the typed forms, under the whole range and under a preset.
#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "tools/ToolProcess.h"
#include "tools/ToolVolumes.h"

using testsupport::runTool;
using testsupport::ToolRun;

namespace {

TEST(ArticleJumpTool, printsTheRewrittenNumberAndTheArticleFound)
{
    testsupport::TempWorkingDir capture;
    const std::filesystem::path volumes = capture.path() / "volumes";
    store::writeLawVolume(volumes, testsupport::shohiVolume());

    struct Case {
        std::vector<std::string> args;  // after the folder and the letter
        std::vector<std::string> lines;
        int exitCode;
    };
    const Case cases[] = {
        // ３０条 is both 消法 (Gyo 2) and 消令 (Gyo 4): the whole list finds the first in table order.
        {{"30"}, {"３０条", "2\t第三十条（仕入れに係る消費税額の控除）"}, 0},
        {{"第30条"}, {"３０条", "2\t第三十条（仕入れに係る消費税額の控除）"}, 0},
        {{"３０条"}, {"３０条", "2\t第三十条（仕入れに係る消費税額の控除）"}, 0},
        {{"30", "--range", "消令"}, {"３０条", "4\t第三十条（控除の特例）"}, 0},
        {{"30", "--range", "本法関係"}, {"３０条", "2\t第三十条（仕入れに係る消費税額の控除）"}, 0},
        {{"30の2"}, {"３０条の２", "3\t第三十条の二（特例）"}, 0},
        {{"30ノ2"}, {"３０条の２", "3\t第三十条の二（特例）"}, 0},
        {{"３０条の２"}, {"３０条の２", "3\t第三十条の二（特例）"}, 0},
        {{"附則3"}, {"附則３条", "6\t附則第三条（経過措置）"}, 0},
        // "附則" keeps the "第", so the rewritten form finds nothing; the stored form 附則３条 does.
        {{"附則第3条"}, {"附則第３条", "6\t附則第三条（経過措置）"}, 0},
        {{"86"}, {"８６条", "5\t第八十六条（消費税の課税仕入れ）"}, 0},
        // The list shows 本法関係 (KubunNo < 200): the 措法 article is outside it.
        {{"86", "--range", "本法関係"}, {"８６条", "該当の条文はありません"}, 1},
        {{"2ー1"}, {"２－１", "該当の条文はありません"}, 1},
        {{"30の2の3"}, {"３０条の２の３", "該当の条文はありません"}, 1},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{volumes.string(), "E"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ToolRun r = runTool("article-jump", args, capture.path());
        EXPECT_EQ(r.outLines(), c.lines) << c.args[0];
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0];
        EXPECT_EQ(r.err, "") << c.args[0];
    }
}

TEST(ArticleJumpTool, theSelectedRangeDecidesTheBranchMarkAndTheArticleMark)
{
    testsupport::TempWorkingDir capture;
    const std::filesystem::path volumes = capture.path() / "volumes";
    using text::cp932;
    store::LawVolumeContent g;
    g.letter = 'G';
    g.articles = {{1, 410, cp932("会社法"), cp932("２０４条の２"), cp932("第二百四条の二"), cp932("本文")},
                  {2, 910, cp932("旧商法"), cp932("２０４条ノ２"), cp932("第二百四条ノ二"), cp932("本文")}};
    store::writeLawVolume(volumes, g);
    store::LawVolumeContent i;
    i.letter = 'I';
    i.articles = {{1, 350, cp932("財基通"), cp932("１２"), cp932("評価の原則"), cp932("本文")}};
    store::writeLawVolume(volumes, i);

    struct Case {
        std::vector<std::string> args;  // after the folder
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {{"G", "204の2"}, {"２０４条の２", "1\t第二百四条の二"}},
        {{"G", "204ﾉ2", "--range", "旧商法"}, {"２０４条ノ２", "2\t第二百四条ノ二"}},
        {{"G", "204の2", "--range", "旧商法"}, {"２０４条ノ２", "2\t第二百四条ノ二"}},
        {{"I", "12", "--range", "財基通"}, {"１２", "1\t評価の原則"}},
        {{"I", "12"}, {"１２条", "該当の条文はありません"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{volumes.string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ToolRun r = runTool("article-jump", args, capture.path());
        EXPECT_EQ(r.outLines(), c.lines) << c.args[1];
    }
}

}  // namespace
