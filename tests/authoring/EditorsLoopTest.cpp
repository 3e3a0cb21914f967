// The editors' loop closes: a page imported into an authoring copy, a link registered on it
// with 登　録 in the link editor of the authoring build, the delivery build run on the copy, and
// the browsing volume it gives carrying the phrase as a link to its target, in the link table
// and in the rendered article.
#include <QProcess>

#include <fstream>
#include <sstream>

#include "EditorFixture.h"
#include "display/ArticleDisplay.h"
#include "display/ArticleRenderer.h"

using namespace authoringtest;

namespace {

// Runs the importer command; its exit status, with its output for failure messages.
int runImporter(const QStringList& arguments, std::string& output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(SORVANE_BINARY_DIR "/tools/importer"), arguments);
    if (!process.waitForFinished(120000))
        return -1;
    output = process.readAll().toStdString();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString path(const fs::path& p)
{
    return QString::fromStdString(p.string());
}

class EditorsLoop : public EditorTest {};

}  // namespace

TEST_F(EditorsLoop, aLinkRegisteredInTheEditorIsUnderlinedInTheDeliveredVolume)
{
    // The page, in code page 932 as the government serves it, and its manifest.
    const fs::path pages = dir.path() / "pages";
    fs::create_directories(pages);
    {
        std::ifstream in(fs::path(SORVANE_SOURCE_DIR) / "tests" / "authoring" / "pages" / "loop.html", std::ios::binary);
        std::stringstream page;
        page << in.rdbuf();
        std::ofstream(pages / "loop.html", std::ios::binary) << text::fromUtf8(page.str()).text;
        std::ofstream(pages / "manifest.tsv", std::ios::binary)
            << "file\tlaw_title\tpromulgation\tcategory_code\tabbreviation\n"
               "loop.html\t見本消費法\t平成二十年三月三十一日法律第九十九号\t110\t見法\n";
    }
    std::string output;
    ASSERT_EQ(runImporter({"build", path(pages / "manifest.tsv"), path(root), "E", path(dir.path())}, output), 0) << output;
    fs::create_directories(dosdevices);
    fs::create_directory_symlink(root, dosdevices / "c:");

    // 第二条 in the browser, 「課税取引」 selected in its first paragraph, and the editor.
    start();
    store::Table& list = *registry().tables.law[1].mainTable;
    ASSERT_TRUE(list.Locate("KubunNo;Bangou", {110, cp932("１条")}));
    const std::int64_t firstGyo = list.IntegerField("Gyo");
    ASSERT_TRUE(list.Locate("KubunNo;Bangou", {110, cp932("３条")}));
    const std::int64_t thirdGyo = list.IntegerField("Gyo");
    ASSERT_TRUE(list.Locate("KubunNo;Bangou", {110, cp932("２条")}));
    const std::int64_t secondGyo = list.IntegerField("Gyo");
    const int at = view()->findText(cp932("課税取引"), 0, -1);
    ASSERT_GT(at, static_cast<int>(view()->plainText().find(cp932("国内において"))));
    view()->select(at, 8);
    open();
    ASSERT_NE(editor(), nullptr) << (messages().empty() ? "" : messages().front());
    EXPECT_EQ(editor()->Edit4->text(), qs("課税取引"));
    EXPECT_EQ(editor()->Edit6->text(), qs("110"));

    // The phrase names no article: the editor types the target and registers.
    editor()->Edit5->setFocus();
    editor()->Edit5->clear();
    typeText(editor()->Edit5, qs("１条"));
    editor()->RegisterButton->click();
    flushDeletes();
    EXPECT_TRUE(platform.boxes().empty()) << messages().front();
    ASSERT_EQ(editor(), nullptr);
    program.reset();

    // The delivery build on the copy.
    ASSERT_EQ(runImporter({"deliver", path(root), "E", path(dir.path())}, output), 0) << output;

    // Every occurrence in 第二条's own lines is a link to 第一条, byte by byte; 第三条's is not.
    store::Table texts("SSubTable");
    texts.SetTableName("E2.db");
    texts.Open();
    ASSERT_TRUE(texts.Locate("Gyo", {secondGyo}));
    const std::string honbun = texts.TextField("Honbun");
    const int kubunNo = static_cast<int>(texts.IntegerField("KubunNo"));
    const std::string article = display::ArticleTextOf(honbun);
    std::vector<int> phraseStarts;
    for (std::size_t p = text::find(article, cp932("課税取引")); p != std::string::npos;
         p = text::find(article, cp932("課税取引"), p + 1))
        phraseStarts.push_back(static_cast<int>(p));
    ASSERT_EQ(phraseStarts.size(), 2u);

    store::Table links("SLinkTable");
    links.SetTableName("E4.db");
    links.SetIndexFieldNames("Gyo");
    links.Open();
    const std::vector<display::ArticleLinkRow> rows = display::linkRowsOfArticle(links, secondGyo);
    std::vector<int> expectedSels;
    for (int start : phraseStarts)
        for (int k = 0; k < 8; ++k)
            expectedSels.push_back(start + k);
    std::vector<int> sels;
    for (const auto& r : rows) {
        sels.push_back(r.sel);
        EXPECT_EQ(r.goGyo, firstGyo);
        EXPECT_EQ(r.zeimoku, 1);
    }
    std::sort(sels.begin(), sels.end());
    EXPECT_EQ(sels, expectedSels);

    // The text view draws each occurrence as one underlined run in the link colour.
    const std::string rtf = display::RenderArticle({honbun, kubunNo, rows, "", ""});
    const std::string linkRun = "{\\cf3\\ul " + cp932("課税取引") + "}";
    std::size_t runs = 0;
    for (std::size_t p = rtf.find(linkRun); p != std::string::npos; p = rtf.find(linkRun, p + 1))
        ++runs;
    EXPECT_EQ(runs, 2u);

    // 第三条 keeps its phrase as plain text.
    ASSERT_TRUE(texts.Locate("Gyo", {thirdGyo}));
    EXPECT_TRUE(display::linkRowsOfArticle(links, thirdGyo).empty());
    const std::string third = display::RenderArticle({texts.TextField("Honbun"), kubunNo, {}, "", ""});
    EXPECT_EQ(third.find(linkRun), std::string::npos);
    EXPECT_NE(third.find(cp932("課税取引")), std::string::npos);
}
