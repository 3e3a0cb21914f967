// A reader of RTF that is not ours: where LibreOffice is installed, a rendered article converted
// to text by it reads as the article's own text. Skipped where soffice is not on the path.
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "display/ArticleRenderer.h"
#include "support/TempDir.h"
#include "text/Cp932.h"

using text::cp932;

namespace {

std::vector<std::string> linesOf(std::string utf8)
{
    if (utf8.starts_with("\xEF\xBB\xBF"))
        utf8.erase(0, 3);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= utf8.size()) {
        std::size_t end = utf8.find('\n', start);
        if (end == std::string::npos)
            end = utf8.size();
        std::string line = utf8.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}

}  // namespace

TEST(IndependentReader, libreOfficeReadsARenderedArticleAsTheArticlesText)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice is not installed";

    const std::vector<std::string> utf8Lines = {
        "第３０条　事業者（免税事業者を除く。）が「課税仕入れ」を行う場合には、次に掲げる金額を控除する。",
        "２　前項の規定は、別表第一（表の{中括弧}と\\記号を含む。）に掲げるものに適用する。",
        "　一　法第２条第１項第(1)号に掲げる資産",
        "（注）１　ｱｲｳ半角カナと①ⅰ髙を含む行",
    };
    display::ArticleRenderInput input;
    for (const std::string& line : utf8Lines)
        input.honbun += cp932(line) + "\r\n";
    input.kubunNo = 110;
    const std::size_t linkAt = text::find(display::ArticleTextOf(input.honbun), cp932("法第２条"));
    for (int k = 0; k < 8; ++k)
        input.links.push_back({static_cast<int>(linkAt) + k, 2, 1});
    input.highlightWord1 = cp932("控除");
    input.highlightWord2 = cp932("表");

    testsupport::TempWorkingDir dir;
    {
        std::ofstream out(dir.path() / "article.rtf", std::ios::binary);
        out << display::RenderArticle(input);
    }
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(dir.path().string()));
    process.start(soffice, {QStringLiteral("-env:UserInstallation=file://") + QString::fromStdString((dir.path() / "profile").string()),
                            QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                            QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"),
                            QString::fromStdString(dir.path().string()), QStringLiteral("article.rtf")});
    ASSERT_TRUE(process.waitForFinished(180'000)) << "soffice did not finish";
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();

    std::ifstream in(dir.path() / "article.txt", std::ios::binary);
    ASSERT_TRUE(in) << "no text written";
    const std::string converted((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(linesOf(converted), utf8Lines);
}
