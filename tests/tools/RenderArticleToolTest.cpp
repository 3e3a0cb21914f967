// render-article run as a command over a volume on disk: the bytes it writes are the renderer's
// document of the article as the tables hold it, highlight words included.
#include <gtest/gtest.h>

#include "store/TableFile.h"
#include "support/TempDir.h"
#include "tools/ToolProcess.h"
#include "tools/ToolVolumes.h"

using testsupport::runTool;
using testsupport::ToolRun;
using text::cp932;

namespace {

class RenderArticleTool : public ::testing::Test {
protected:
    testsupport::TempWorkingDir capture;
    std::filesystem::path volumes = capture.path() / "volumes";

    void SetUp() override { store::writeLawVolume(volumes, testsupport::shohiVolume()); }
    ToolRun run(const std::vector<std::string>& args) { return runTool("render-article", args, capture.path()); }
};

TEST_F(RenderArticleTool, writesTheDocumentOfTheArticleWithItsLinksAndWords)
{
    ToolRun r = run({volumes.string(), "E", "2", "--word1", "課税", "--word2=仕入"});
    display::ArticleRenderInput input = testsupport::shohiRenderInput(2);
    input.highlightWord1 = cp932("課税");
    input.highlightWord2 = cp932("仕入");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, display::RenderArticle(input));
    EXPECT_EQ(r.out.rfind("{\\rtf1\\ansi\r\n", 0), 0u);
    // The links that touch ("前項", "の課税仕入れに係る") are one underlined run, cut by the words.
    EXPECT_NE(r.out.find(cp932("\\sl-264\\li0\\fi0{\\cf0 ２　}\\sl-264\\li0\\fi0{\\cf3\\ul 前項の}"
                               "\\sl-264\\li0\\fi0{\\cf1 課税}\\sl-264\\li0\\fi0{\\cf2 仕入}"
                               "\\sl-264\\li0\\fi0{\\cf3\\ul れに係る}\\sl-264\\li0\\fi0{\\cf0 リ－ス取引")),
              std::string::npos);
}

TEST_F(RenderArticleTool, writesCodePage932BytesAsTheyAre)
{
    // Gyo 3 holds "十" (8F 5C) in its link and "表" (95 5C) in brackets, each written with its
    // second byte escaped.
    ToolRun r = run({volumes.string(), "E", "3"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, display::RenderArticle(testsupport::shohiRenderInput(3)));
    const std::string lines = cp932("\\sl-264\\li0\\fi0{\\cf3\\ul 第三") + "\x8F\x5C\x5C" +
                              cp932("条の二}\\sl-264\\li0\\fi0{\\cf0 　甲'乙の課税仕入れは、その１００%を控除する。}\r\n"
                                    "\\par\r\n\\sl-264\\li0\\fi0{\\cf4 （") +
                              "\x95\x5C\x5C" + cp932("に掲げるもの）}\r\n\\par\r\n\\par}");
    ASSERT_GE(r.out.size(), lines.size());
    EXPECT_EQ(r.out.substr(r.out.size() - lines.size()), lines);
}

TEST_F(RenderArticleTool, anArticleWithoutLinksHasNoUnderline)
{
    ToolRun r = run({volumes.string(), "E", "6"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, display::RenderArticle(testsupport::shohiRenderInput(6)));
    EXPECT_EQ(r.out.find("\\ul"), std::string::npos);
}

TEST_F(RenderArticleTool, aGyoTheVolumeLacksIsReported)
{
    ToolRun r = run({volumes.string(), "E", "99"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.errLines(), std::vector<std::string>{"render-article: E1.db has no article with Gyo 99"});
}

TEST_F(RenderArticleTool, anArticleWithoutTextIsReported)
{
    store::LawVolumeContent v = testsupport::shohiVolume();
    v.articles.push_back({7, 110, cp932("消法"), cp932("９条"), cp932("第九条"), ""});
    store::writeLawVolume(volumes, v);
    // Gyo 7 in the list but not in the text table.
    store::LawVolumeContent textless = v;
    textless.articles.pop_back();
    store::writeLawVolume(capture.path() / "textless", textless);
    std::filesystem::copy_file(capture.path() / "textless" / "E2.db", volumes / "E2.db",
                               std::filesystem::copy_options::overwrite_existing);
    // Of another delivery, the copied file would be refused before its text is looked for.
    store::TableFile::writeDeliveryStamp(volumes / "E2.db", 0);
    ToolRun r = run({volumes.string(), "E", "7"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.errLines(), std::vector<std::string>{"render-article: E2.db has no text for Gyo 7"});
}

}  // namespace
