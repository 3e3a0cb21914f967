// The program started on volumes written for the output tests, and the PDF a print produced
// read back with the poppler tools: its text, page count, title and page pictures.
#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ProgramFixture.h"
#include "display/RichTextView.h"
#include "store/Table.h"
#include "text/QtText.h"

namespace outputtest {

using text::cp932;

// The output of a poppler tool run on a file; empty when it failed.
inline QString popplerOutput(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

inline QString pdfText(const QString& pdf)
{
    // In drawing order: the layout analysis would take an indented run for a column of its own.
    return popplerOutput(QStringLiteral("pdftotext"),
                         {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
}

// A field of pdfinfo's answer ("Pages", "Title"), its value trimmed.
inline QString pdfInfo(const QString& pdf, const QString& field)
{
    for (const QString& line : popplerOutput(QStringLiteral("pdfinfo"), {pdf}).split(QLatin1Char('\n')))
        if (line.startsWith(field + QLatin1Char(':')))
            return line.mid(field.size() + 1).trimmed();
    return QString();
}

inline int pdfPageCount(const QString& pdf)
{
    return pdfInfo(pdf, QStringLiteral("Pages")).toInt();
}

// Page `page` (1-based) drawn at dpi dots per inch.
inline QImage pdfPage(const QString& pdf, int page, int dpi = 72)
{
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    popplerOutput(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                               QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                               QString::number(page), QStringLiteral("-singlefile"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// Text with every blank (line ends, form feeds, half- and full-width spaces) taken out: the PDF
// text and the view's text compared character for character, whatever the layout.
inline QString withoutBlanks(const QString& s)
{
    QString out;
    for (QChar c : s)
        if (!c.isSpace())
            out += c;
    return out;
}

// What a picture of printed text holds: pixels far from white, and the pixels in colour (their
// channels apart by more than anti-aliasing of black on white gives).
struct InkCount {
    int dark = 0;
    int coloured = 0;
};

inline InkCount inkOf(const QImage& page)
{
    InkCount ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            const int spread = std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()});
            if (spread > 40)
                ++ink.coloured;
            if (c.lightness() < 128)
                ++ink.dark;
        }
    return ink;
}

// The smallest rectangle holding every pixel that is not white.
inline QRect inkBounds(const QImage& page)
{
    QRect bounds;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixelColor(x, y).lightness() < 250)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// The 消費税 volume of the output tests: article 1 with coloured runs of every kind (a link,
// a bracketed passage), article 2 long enough to need a second page, article 3 without text.
inline store::LawVolumeContent syohiVolume()
{
    store::LawVolumeContent v;
    v.letter = 'E';
    v.outline = {{0, cp932("消費税法")}, {1, cp932("第一条")}, {1, cp932("第二条")}, {1, cp932("第三条")}};
    const std::string first = cp932("第１条　この法律は、消費税（国内取引に係るものに限る。）について定める。") + "\r\n" +
                              cp932("２　前項の規定は、第２条に規定する場合には、適用しない。") + "\r\n";
    std::string second = cp932("第２条　次に掲げる行為は、課税の対象とする。") + "\r\n";
    for (int line = 1; line <= 70; ++line)
        second += cp932("　第") + text::ToFullWidthDigits(std::to_string(line)) + cp932("号の行為　資産の譲渡等に該当するもの") + "\r\n";
    v.articles = {{1, 110, cp932("消法"), cp932("１条"), cp932("第１条（趣旨）"), first},
                  {2, 110, cp932("消法"), cp932("２条"), cp932("第２条（課税の対象）"), second},
                  {3, 110, cp932("消法"), cp932("３条"), cp932("第３条（削除）"), ""}};
    v.treePositions = {{1, 1}, {2, 2}, {3, 3}};
    // "第２条" in line 2 of article 1 links to article 2.
    const int linkAt = static_cast<int>(first.find(cp932("第２条")));
    v.links = {{1, linkAt, 6, 2, 1}};
    return v;
}

class OutputTest : public apptest::ProgramTest {
protected:
    // 消費税 with the 法人目次 book volume, the window shown on 消費税's first article.
    void startOnSyohi(const char* title = kStandardTitle)
    {
        store::writeLawVolume(dir.path(), syohiVolume());
        writeBookVolume('B');
        start(apptest::flags({1, 0, 1, 1, 1, 1}, {0, 1, 1}), title);
        showWindow();
    }
    LawVolumeEntry& syohi() { return registry().law[1]; }
    BookVolumeEntry& hbooks() { return registry().book[0]; }
    store::Table& syohiMain() { return *registry().tables.law[1].mainTable; }
    // Moves 消費税's list to article gyo; the display follows.
    void showArticle(int gyo)
    {
        ASSERT_TRUE(syohiMain().Locate("Gyo", {store::Value(static_cast<std::int64_t>(gyo))}));
    }
    // The view's text as the PDF should hold it, blanks taken out.
    QString shownText(const RichTextView& view) { return withoutBlanks(text::toQString(view.plainText())); }
};

}  // namespace outputtest
