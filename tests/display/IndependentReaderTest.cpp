// A reader of RTF that is not ours: where LibreOffice is installed, a rendered article converted
// to text by it reads as the article's own text. Skipped where soffice is not on the path.
//
// The document says only \ansi and leaves the code page of its raw bytes to the reader's system,
// which for the program's readers is code page 932. LibreOffice takes \ansi as code page 1252
// whatever the system, and told \ansicpg932 it pairs a lead byte with an escaping backslash that
// follows it, so it cannot be given the code page. Read as 1252 it still takes every byte and
// every escape one by one: undoing that code page character by character gives back the bytes
// it read, and those must be the article's text in code page 932.
#include <QProcess>
#include <QString>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <algorithm>
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

// LibreOffice's text output read back into the bytes it took from the document as code page
// 1252: U+0000 to U+00FF and the 1252 characters of 80 to 9F give their byte, and a byte 1252
// leaves undefined comes out as U+F100 plus the byte.
std::string bytesReadAsCodePage1252(const QString& converted)
{
    static const char16_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    std::string bytes;
    for (QChar c : converted) {
        const char16_t u = c.unicode();
        if (u == 0xFEFF)
            continue;
        if (u >= 0xF100 && u <= 0xF1FF) {
            bytes.push_back(static_cast<char>(u - 0xF100));
            continue;
        }
        const char16_t* found = std::find(std::begin(high), std::end(high), u);
        if (u != 0 && found != std::end(high))
            bytes.push_back(static_cast<char>(0x80 + (found - std::begin(high))));
        else if (u < 0x100 && (u < 0x80 || u >= 0xA0))
            bytes.push_back(static_cast<char>(u));
        else
            ADD_FAILURE() << "LibreOffice wrote U+" << std::hex << static_cast<int>(u) << ", no byte of code page 1252";
    }
    return bytes;
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
    const std::string bytes = bytesReadAsCodePage1252(QString::fromUtf8(converted));
    const text::Conversion asUtf8 = text::toUtf8(bytes);
    EXPECT_EQ(asUtf8.invalid, 0u);
    EXPECT_EQ(linesOf(asUtf8.text), utf8Lines);
}
