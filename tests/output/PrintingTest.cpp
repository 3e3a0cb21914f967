// Printing through the real print path into PDF, read back with the poppler tools: the article's
// whole text in black at 11 points on as many pages as it needs, nothing left behind, the
// clipboard untouched, the recoveries when the rendered buffer is no good, and the book print of
// the whole window.
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <filesystem>
#include <functional>
#include <map>

#include "OutputFixture.h"
#include "display/ArticleDisplay.h"
#include "output/Printing.h"
#include "output/RichTextCopy.h"
#include "platform/Platform.h"
#include "store/Table.h"

using namespace outputtest;

namespace {

class Printing : public OutputTest {
protected:
    void SetUp() override
    {
        startOnSyohi();
        platform.setClipboardText(cp932("利用者のクリップボード"));
    }
    QString printed() { return platform.printOutputFile(); }
    void expectClipboardUntouched()
    {
        EXPECT_EQ(platform.clipboardText(), cp932("利用者のクリップボード"));
        EXPECT_EQ(platform.clipboardWrites().size(), 1u);
    }
    bool scratchFileLeft() { return std::filesystem::exists(output::kScratchFile); }
};

// Records, each time a widget is painted, what the test asks about the window at that moment.
class PaintWatcher : public QObject {
public:
    using State = std::pair<QString, bool>;
    PaintWatcher(QWidget* watched, std::function<State()> look) : m_look(std::move(look))
    {
        watched->installEventFilter(this);
    }
    std::vector<State> seen;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            seen.push_back(m_look());
        return false;
    }

private:
    std::function<State()> m_look;
};

}  // namespace

TEST_F(Printing, PrintButton_printsTheWholeArticleInBlackUnderTheJobTitle)
{
    // Both highlight colours, the link's blue and the bracket's green are in the view.
    syohi().HighlightWord1 = cp932("消費税");
    syohi().HighlightWord2 = cp932("適用");
    DisplayArticle(registry(), 1);
    ASSERT_NE(syohi().ArticleRtf.find("\\cf1 "), std::string::npos);
    ASSERT_NE(syohi().ArticleRtf.find("\\cf4 "), std::string::npos);
    const std::string viewRtfBefore = syohi().RichEdit->saveRtf();

    window().BBtnPrint->click();

    EXPECT_EQ(platform.printerSetupCount(), 1);
    EXPECT_TRUE(platform.boxes().empty());
    ASSERT_TRUE(QFileInfo::exists(printed()));
    EXPECT_EQ(withoutBlanks(pdfText(printed())).toStdString(), shownText(*syohi().RichEdit).toStdString());
    EXPECT_EQ(pdfInfo(printed(), QStringLiteral("Title")), QStringLiteral("Sorvane 条文印刷"));
    EXPECT_EQ(pdfPageCount(printed()), 1);

    const InkCount ink = inkOf(pdfPage(printed(), 1, 100));
    EXPECT_GT(ink.dark, 500);
    EXPECT_EQ(ink.coloured, 0);

    EXPECT_FALSE(scratchFileLeft());
    expectClipboardUntouched();
    // The view the user reads keeps its colours.
    EXPECT_EQ(syohi().RichEdit->saveRtf(), viewRtfBefore);
}

TEST_F(Printing, PrintRichText_printsBoldAndColouredTextAsPlainBlackElevenPointText)
{
    // The same words once bold, large and red, once as plain as they come: the pages are the same.
    const std::string styled =
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset128 MS Mincho;}}{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}"
        "\\f0\\fs48{\\b\\cf1 " + cp932("（課税の対象）") + "}\\par{\\fs20 " + cp932("第４条　国内において事業者が行つた資産の譲渡等") + "}\\par}";
    const std::string plain =
        "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset128 MS Mincho;}}\\f0 " + cp932("（課税の対象）") + "\\par " +
        cp932("第４条　国内において事業者が行つた資産の譲渡等") + "\\par}";
    RichTextView styledView, plainView;
    ASSERT_TRUE(styledView.loadRtf(styled));
    ASSERT_TRUE(plainView.loadRtf(plain));

    const QString styledPdf = QDir(QString::fromStdString(dir.path().string())).filePath(QStringLiteral("styled.pdf"));
    const QString plainPdf = QDir(QString::fromStdString(dir.path().string())).filePath(QStringLiteral("plain.pdf"));
    platform.setPrintOutputFile(styledPdf);
    PrintRichText(platform, styled, styledView);
    platform.setPrintOutputFile(plainPdf);
    PrintRichText(platform, plain, plainView);

    const QImage styledPage = pdfPage(styledPdf, 1, 100);
    ASSERT_FALSE(styledPage.isNull());
    EXPECT_EQ(styledPage, pdfPage(plainPdf, 1, 100));
    EXPECT_EQ(inkOf(styledPage).coloured, 0);

    // 11 points: the seven full-width characters of the heading are 77 points wide.
    const QString bbox = popplerOutput(QStringLiteral("pdftotext"),
                                       {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), styledPdf,
                                        QStringLiteral("-")});
    const QRegularExpression heading(QStringLiteral("xMin=\"([0-9.]+)\"[^>]*xMax=\"([0-9.]+)\"[^>]*>（課税の対象）<"));
    const QRegularExpressionMatch m = heading.match(bbox);
    ASSERT_TRUE(m.hasMatch()) << bbox.toStdString();
    EXPECT_NEAR(m.captured(2).toDouble() - m.captured(1).toDouble(), 77.0, 1.5);
}

TEST_F(Printing, PrintRichText_keepsTheHangingIndentInTwipsOnThePage)
{
    // A numbered item whose text wraps: its continuation lines start 960 twips (48 points) in.
    std::string item;
    for (int i = 0; i < 12; ++i)
        item += cp932("資産の譲渡等に該当するもの、");
    const std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset128 MS Mincho;}}\\f0\\sl-264\\li960\\fi-960 " +
                            cp932("（１）　") + item + "\\par}";
    RichTextView view;
    ASSERT_TRUE(view.loadRtf(rtf));
    PrintRichText(platform, rtf, view);

    const QString layout = popplerOutput(QStringLiteral("pdftotext"),
                                         {QStringLiteral("-bbox-layout"), printed(), QStringLiteral("-")});
    // The tool splits a printed line at a wide blank; the pieces of one line share its top.
    const QRegularExpression lineStart(QStringLiteral("<line xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\""));
    std::map<double, double> startOfLine;
    for (auto it = lineStart.globalMatch(layout); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const double top = m.captured(2).toDouble();
        if (!startOfLine.count(top))
            startOfLine[top] = m.captured(1).toDouble();
    }
    std::vector<double> starts;
    for (const auto& [top, left] : startOfLine)
        starts.push_back(left);
    ASSERT_GE(starts.size(), 3u) << layout.toStdString();
    EXPECT_NEAR(starts[1] - starts[0], 48.0, 1.0);
    EXPECT_NEAR(starts[2] - starts[0], 48.0, 1.0);
}

TEST_F(Printing, PrintButton_startsANewPageWhileTextRemainsAndLosesNoLine)
{
    showArticle(2);
    window().BBtnPrint->click();

    ASSERT_TRUE(QFileInfo::exists(printed()));
    EXPECT_EQ(pdfPageCount(printed()), 2);
    const QString text = pdfText(printed());
    for (int line = 1; line <= 70; ++line)
        EXPECT_TRUE(text.contains(QStringLiteral("第%1号の行為").arg(QString::fromStdString(
            text::toUtf8(text::ToFullWidthDigits(std::to_string(line))).text))))
            << line;
    EXPECT_EQ(withoutBlanks(text).toStdString(), shownText(*syohi().RichEdit).toStdString());
    // The text lies in the designed rectangle: nothing in the first half centimetre of the page.
    const QRect ink = inkBounds(pdfPage(printed(), 1, 100));
    EXPECT_GE(ink.left(), 100 * 60 / 300 - 1);
    EXPECT_GE(ink.top(), 100 * 70 / 300 - 1);
}

namespace {

// 消費税 with a fourth article of 150 numbered lines, three printed pages.
class PrintingPages : public OutputTest {
protected:
    void SetUp() override
    {
        store::LawVolumeContent v = syohiVolume();
        std::string text = cp932("第４条　次に掲げる資産の譲渡等は、非課税とする。") + "\r\n";
        for (int line = 1; line <= 150; ++line)
            text += cp932("　第") + text::ToFullWidthDigits(std::to_string(line)) + cp932("号の譲渡　土地の貸付けに該当するもの") + "\r\n";
        v.articles.push_back({4, 110, cp932("消法"), cp932("４条"), cp932("第４条（非課税）"), text});
        v.treePositions.push_back({4, 4});
        v.outline.push_back({1, cp932("第四条")});
        store::writeLawVolume(dir.path(), v);
        start(apptest::flags({1, 0, 1, 1, 1, 1}));
        showWindow();
        showArticle(4);
    }
    QString printed() { return platform.printOutputFile(); }
    QString printAll()
    {
        const QString all = QDir(QString::fromStdString(dir.path().string())).filePath(QStringLiteral("all.pdf"));
        platform.setPrintOutputFile(all);
        platform.setPrintPageRange(0, 0);
        window().BBtnPrint->click();
        platform.setPrintOutputFile(QDir(QString::fromStdString(dir.path().string())).filePath(QStringLiteral("range.pdf")));
        return all;
    }
    QString pageText(const QString& pdf, int page)
    {
        return popplerOutput(QStringLiteral("pdftotext"),
                             {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-f"),
                              QString::number(page), QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
    }
};

}  // namespace

// The pages chosen in the print dialog are the pages printed: 2-2 of three prints the second
// page alone, a range past the end stops at the last page, and one wholly beyond it prints
// nothing and says so. The next print starts again from all pages.
TEST_F(PrintingPages, PrintButton_printsOnlyThePagesChosenInTheDialog)
{
    const QString all = printAll();
    ASSERT_EQ(pdfPageCount(all), 3);
    EXPECT_TRUE(platform.printerSetupOfferedRange());
    const QString second = pageText(all, 2);
    ASSERT_FALSE(second.trimmed().isEmpty());

    platform.setPrintPageRange(2, 2);
    window().BBtnPrint->click();
    ASSERT_TRUE(QFileInfo::exists(printed()));
    EXPECT_EQ(pdfPageCount(printed()), 1);
    EXPECT_EQ(pdfText(printed()), second);
    EXPECT_FALSE(pdfText(printed()).contains(QStringLiteral("第１号の譲渡")));
    EXPECT_FALSE(pdfText(printed()).contains(QStringLiteral("第１５０号の譲渡")));

    platform.setPrintPageRange(2, 9);
    window().BBtnPrint->click();
    EXPECT_EQ(pdfPageCount(printed()), 2);
    EXPECT_EQ(withoutBlanks(pdfText(printed())), withoutBlanks(second + pageText(all, 3)));

    std::filesystem::remove(printed().toStdString());
    platform.setPrintPageRange(4, 5);
    window().BBtnPrint->click();
    EXPECT_FALSE(QFileInfo::exists(printed()));
    EXPECT_EQ(messages(), std::vector<std::string>{"指定されたページはありません"});

    // The choice was the dialog's for one print: a dialog left on all pages prints all three.
    platform.setPrintPageRange(0, 0);
    window().BBtnPrint->click();
    EXPECT_EQ(pdfPageCount(printed()), 3);
}

TEST_F(Printing, PrintButton_onABookTabOffersNoPageRange)
{
    window().SetActivePage(window().HbooksTab);
    platform.setPrintPageRange(2, 2);
    window().BBtnPrint->click();
    EXPECT_FALSE(platform.printerSetupOfferedRange());
    EXPECT_EQ(pdfPageCount(printed()), 1);
}

TEST_F(Printing, PrintRichText_takesTheViewThroughTheScratchFileWhenTheBufferIsRefused)
{
    // The buffer no longer holds what the view shows.
    syohi().ArticleRtf = "not a document";
    window().BBtnPrint->click();

    ASSERT_TRUE(QFileInfo::exists(printed()));
    EXPECT_EQ(withoutBlanks(pdfText(printed())).toStdString(), shownText(*syohi().RichEdit).toStdString());
    EXPECT_FALSE(scratchFileLeft());
    EXPECT_TRUE(platform.boxes().empty());
    expectClipboardUntouched();
}

TEST_F(Printing, PrintRichText_copiesTheViewDirectlyWhenNoScratchFileCanBeWritten)
{
    // A folder stands where the scratch file would go, and the buffer shows another article.
    std::filesystem::create_directory(output::kScratchFile);
    showArticle(1);
    const std::string otherArticle = syohi().ArticleRtf;
    showArticle(2);
    syohi().ArticleRtf = otherArticle;

    window().BBtnPrint->click();

    ASSERT_TRUE(QFileInfo::exists(printed()));
    EXPECT_EQ(withoutBlanks(pdfText(printed())).toStdString(), shownText(*syohi().RichEdit).toStdString());
    EXPECT_TRUE(std::filesystem::is_directory(output::kScratchFile));
    EXPECT_TRUE(platform.boxes().empty());
    expectClipboardUntouched();
}

TEST_F(Printing, PrintRichText_printsNothingWhenTheDialogIsCancelled)
{
    platform.setPrinterSetupAccepted(false);
    window().PrintAction->trigger();
    EXPECT_EQ(platform.printerSetupCount(), 1);
    EXPECT_FALSE(QFileInfo::exists(printed()));
    EXPECT_FALSE(scratchFileLeft());
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(Printing, PrintButton_reportsAPrinterThatCannotStartTheJob)
{
    platform.setPrintOutputFile(QDir(QString::fromStdString(dir.path().string())).filePath(QStringLiteral("no/such/folder/out.pdf")));
    window().BBtnPrint->click();
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.lastBox().kind, BoxKind::Error);
    EXPECT_EQ(platform.lastBox().text, cp932("プリンタへ印刷できません"));
    EXPECT_FALSE(scratchFileLeft());
}

TEST_F(Printing, PrintButton_onABookTabPrintsTheWholeWindowOnOnePageAndRestoresTheView)
{
    window().SetActivePage(window().HbooksTab);
    hbooks().RichEdit->loadPlainText(cp932("法人税基本通達逐条解説\r\n十訂版　税務研究会"));
    QCoreApplication::processEvents();
    // What the picture shows where the detail is: the memo is drawn into it, holding the entry's
    // text, with the view hidden.
    PaintWatcher memoPainted(hbooks().Memo->viewport(), [this] {
        return std::make_pair(hbooks().Memo->toPlainText(), hbooks().RichEdit->isVisible());
    });

    window().BBtnPrint->click();

    ASSERT_FALSE(memoPainted.seen.empty());
    EXPECT_EQ(memoPainted.seen.front().first, QStringLiteral("法人税基本通達逐条解説\n十訂版　税務研究会"));
    EXPECT_FALSE(memoPainted.seen.front().second);
    ASSERT_TRUE(QFileInfo::exists(printed()));
    EXPECT_EQ(pdfPageCount(printed()), 1);
    // The picture is the client area below the menu bar, at the top-left corner of the part of
    // the page the printer prints on, as wide as that part (the window is wider than a page is,
    // for its height). At 72 dots per inch the page's pixels are points.
    const QImage page = pdfPage(printed(), 1, 72);
    const QRect ink = inkBounds(page);
    const QRectF printable = ApplicationPrinter().pageRect(QPrinter::Point);
    const QSize client(window().width(), window().height() - window().menuWidget()->height());
    EXPECT_NEAR(ink.left(), printable.left(), 2);
    EXPECT_NEAR(ink.top(), printable.top(), 2);
    EXPECT_NEAR(ink.width(), printable.width(), 3);
    EXPECT_NEAR(double(ink.width()) / ink.height(), double(client.width()) / client.height(), 0.03);

    EXPECT_TRUE(hbooks().RichEdit->isVisible());
    EXPECT_FALSE(hbooks().Memo->isVisible());
    EXPECT_TRUE(hbooks().Memo->toPlainText().isEmpty());
    expectClipboardUntouched();
}

TEST_F(Printing, PrintButton_onABookTabWithTheDialogCancelledLeavesTheViewShownAndTheMemoEmpty)
{
    window().SetActivePage(window().HbooksTab);
    hbooks().RichEdit->loadPlainText(cp932("問１　寄附金の範囲"));
    platform.setPrinterSetupAccepted(false);

    window().BBtnPrint->click();

    EXPECT_EQ(platform.printerSetupCount(), 1);
    EXPECT_FALSE(QFileInfo::exists(printed()));
    EXPECT_TRUE(hbooks().RichEdit->isVisible());
    EXPECT_FALSE(hbooks().Memo->isVisible());
    EXPECT_TRUE(hbooks().Memo->toPlainText().isEmpty());
}

TEST(PrintLayout, ArticlePageRectIsTheDesignedRectangleKeptOnThePage)
{
    struct Case {
        QRect paintArea;
        QRect expected;
    };
    const Case cases[] = {
        {QRect(0, 0, 2400, 3400), QRect(QPoint(60, 70), QPoint(2249, 3249))},    // A4 at 300 dots
        {QRect(0, 0, 1200, 1700), QRect(QPoint(60, 70), QPoint(1199, 1699))},    // a coarse printer
        {QRect(0, 0, 50, 50), QRect(0, 0, 50, 50)},                              // nothing of it fits
    };
    for (const Case& c : cases)
        EXPECT_EQ(output::ArticlePageRect(c.paintArea), c.expected) << c.paintArea.width();
}

TEST(PrintLayout, WindowImageScaleFitsTheHeightUnlessTheWidthThenOverflows)
{
    struct Case {
        QSize image, page;
        double scale;
    };
    const Case cases[] = {
        {QSize(100, 200), QSize(1000, 1000), 5.0},   // tall picture: the height decides
        {QSize(618, 512), QSize(2400, 3400), 2400.0 / 618},  // the main window on A4: the width decides
        {QSize(200, 100), QSize(400, 400), 2.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(output::WindowImageScale(c.image, c.page), c.scale);
}
