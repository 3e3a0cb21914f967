// The clipboard copies of the two popup menus and the Word button with its fallback document,
// driven through the real window: what lands on the clipboard, which document is written with
// which paragraphs and formats, what the shell is asked to open, the two messages, and the
// document as LibreOffice reads it.
#include <QAction>
#include <QSet>
#include <QTextBlock>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "OutputFixture.h"
#include "display/ArticleDisplay.h"
#include "output/WordDocument.h"
#include "output/WordExport.h"
#include "support/OdtDocument.h"

using namespace outputtest;

namespace {

std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Code page 932 text as the paragraphs of a document hold it, one a line in UTF-8: a final
// CR LF leaves an empty last paragraph, as it leaves an empty last line in the view.
std::string paragraphsOf(const std::string& cp932Text)
{
    return text::toQString(cp932Text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toStdString();
}

// The paragraphs of a written document, one a line in UTF-8.
std::string documentParagraphs(const std::filesystem::path& odt)
{
    return testsupport::odtParagraphs(odt).join(QLatin1Char('\n')).toStdString();
}

// A word processor as a platform with automation would offer it: it records the text it was
// given, or fails at its first step.
class FakeWordApplication : public WordApplication {
public:
    explicit FakeWordApplication(RecordingPlatform& platform, bool fails) : m_platform(platform), m_fails(fails) {}
    void pasteClipboardIntoNewDocument() override
    {
        if (m_fails)
            throw std::runtime_error("no word processor");
        pasted.push_back(m_platform.clipboardText());
    }
    std::vector<std::string> pasted;

private:
    RecordingPlatform& m_platform;
    bool m_fails;
};

class WordAndCopy : public OutputTest {
protected:
    void SetUp() override
    {
        startOnSyohi();
        platform.setClipboardText(cp932("前のクリップボード"));
    }
    // Article 1 as its view shows it: CR LF after every line, the last one included.
    const std::string article1 = cp932("第１条　この法律は、消費税（国内取引に係るものに限る。）について定める。") + "\r\n" +
                                 cp932("２　前項の規定は、第２条に規定する場合には、適用しない。") + "\r\n";
};

}  // namespace

TEST_F(WordAndCopy, WordButton_writesTheNextFreeTempFileAndHandsItToTheShell)
{
    dir.writeFile("Temp1.odt", "one");
    dir.writeFile("Temp2.odt", "two");
    dir.writeFile("Temp3.doc", "an older export");

    window().BBtnWord->click();

    ASSERT_TRUE(std::filesystem::exists("Temp3.odt"));
    EXPECT_EQ(documentParagraphs("Temp3.odt"), paragraphsOf(article1));
    EXPECT_EQ(platform.shellTargets(), (std::vector<std::string>{"Temp3.odt"}));
    EXPECT_TRUE(platform.boxes().empty());
    // The clipboard holds the article: the word processor takes it from there.
    EXPECT_EQ(platform.clipboardText(), article1);
    // The files already there are left alone.
    EXPECT_EQ(fileBytes("Temp1.odt"), "one");
    EXPECT_EQ(fileBytes("Temp2.odt"), "two");
    EXPECT_EQ(fileBytes("Temp3.doc"), "an older export");

    window().WordAction1->trigger();
    ASSERT_TRUE(std::filesystem::exists("Temp4.odt"));
    EXPECT_EQ(documentParagraphs("Temp4.odt"), paragraphsOf(article1));
    EXPECT_EQ(platform.shellTargets(), (std::vector<std::string>{"Temp3.odt", "Temp4.odt"}));
}

TEST_F(WordAndCopy, WordButton_documentHoldsTheArticleFormattedAsTheViewShowsIt)
{
    // Article 2 is 71 lines; article 1, with both highlight words, shows every colour and the
    // link's underline.
    showArticle(2);
    window().WordAction2->trigger();
    ASSERT_TRUE(std::filesystem::exists("Temp1.odt"));
    EXPECT_EQ(testsupport::odtPart("Temp1.odt", QStringLiteral("mimetype")), "application/vnd.oasis.opendocument.text");
    const QStringList paragraphs = testsupport::odtParagraphs("Temp1.odt");
    EXPECT_EQ(paragraphs.size(), 72);  // 71 lines and the empty one after the last line end
    EXPECT_EQ(documentParagraphs("Temp1.odt"), paragraphsOf(syohi().RichEdit->plainText()));
    EXPECT_TRUE(paragraphs.first().startsWith(QStringLiteral("第２条")));

    syohi().HighlightWord1 = cp932("消費税");
    syohi().HighlightWord2 = cp932("適用");
    showArticle(1);
    DisplayArticle(registry(), 1);
    window().BBtnWord->click();
    ASSERT_TRUE(std::filesystem::exists("Temp2.odt"));
    EXPECT_EQ(documentParagraphs("Temp2.odt"), paragraphsOf(article1));

    // Every colour, indent and underline of the view is in the document's styles.
    const RichTextView& view = *syohi().RichEdit;
    const QString content = QString::fromUtf8(testsupport::odtPart("Temp2.odt", QStringLiteral("content.xml")));
    QSet<QString> colours;
    int underlined = 0;
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        if (format.leftMargin() > 0) {
            EXPECT_TRUE(content.contains(QStringLiteral("fo:margin-left=\"%1pt\"").arg(format.leftMargin())))
                << format.leftMargin();
        }
        if (format.textIndent() != 0) {
            EXPECT_TRUE(content.contains(QStringLiteral("fo:text-indent=\"%1pt\"").arg(format.textIndent())))
                << format.textIndent();
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat chars = it.fragment().charFormat();
            if (chars.foreground().style() != Qt::NoBrush && chars.foreground().color() != Qt::black)
                colours << chars.foreground().color().name();
            if (chars.fontUnderline())
                ++underlined;
        }
    }
    // The two highlight colours, the link's and the bracket's.
    EXPECT_GE(colours.size(), 3);
    for (const QString& colour : colours)
        EXPECT_TRUE(content.contains(QStringLiteral("fo:color=\"%1\"").arg(colour))) << colour.toStdString();
    EXPECT_EQ(underlined, 1);
    EXPECT_TRUE(content.contains(QStringLiteral("style:text-underline-style=\"solid\"")));
}

TEST_F(WordAndCopy, WordButton_goesToTheWordProcessorWhenThePlatformHasOne)
{
    FakeWordApplication word(platform, false);
    registry().WordApplication1 = &word;
    window().BBtnWord->click();
    EXPECT_EQ(word.pasted, (std::vector<std::string>{article1}));
    EXPECT_FALSE(std::filesystem::exists("Temp1.odt"));
    EXPECT_TRUE(platform.shellTargets().empty());

    FakeWordApplication failing(platform, true);
    registry().WordApplication1 = &failing;
    window().BBtnWord->click();
    EXPECT_TRUE(std::filesystem::exists("Temp1.odt"));
    EXPECT_EQ(platform.shellTargets(), (std::vector<std::string>{"Temp1.odt"}));
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(WordAndCopy, WordButton_messagesOnABookTabAndForAnEmptyArticle)
{
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* message;
    };
    const Case cases[] = {
        {"book tab", [this] { window().SetActivePage(window().HbooksTab); }, "条文を選択して下さい"},
        {"empty article", [this] { window().SetActivePage(window().SyohiTab); showArticle(3); }, "条文の選択して下さい"},
    };
    for (const Case& c : cases) {
        platform.clearBoxes();
        c.arrange();
        window().BBtnWord->click();
        EXPECT_EQ(platform.boxTexts(), (std::vector<std::string>{cp932(c.message)})) << c.what;
        EXPECT_FALSE(std::filesystem::exists("Temp1.odt")) << c.what;
        EXPECT_TRUE(platform.shellTargets().empty()) << c.what;
    }
}

TEST_F(WordAndCopy, ExportToWord_saysSoOnlyWhenTheFallbackFileCannotBeWritten)
{
    // The working folder is gone: nothing can be written there.
    const std::filesystem::path gone = dir.path() / "gone";
    std::filesystem::create_directory(gone);
    std::filesystem::current_path(gone);
    std::filesystem::remove(gone);
    platform.setClipboardText(article1);

    ExportToWord(platform, nullptr, *syohi().RichEdit);
    std::filesystem::current_path(dir.path());

    EXPECT_EQ(platform.boxTexts(), (std::vector<std::string>{cp932("Microsoft Wordが起動できません")}));
    EXPECT_TRUE(platform.shellTargets().empty());
}

TEST_F(WordAndCopy, ExportToWord_aShellThatCannotOpenTheFileIsNotReported)
{
    platform.setShellOpenResult(false);
    window().BBtnWord->click();
    EXPECT_EQ(documentParagraphs("Temp1.odt"), paragraphsOf(article1));
    EXPECT_EQ(platform.shellTargets(), (std::vector<std::string>{"Temp1.odt"}));
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(WordAndCopy, WordButton_libreOfficeReadsTheDocumentAsTheArticlesText)
{
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "soffice is not installed";
    showArticle(2);
    window().BBtnWord->click();
    const std::string converted = testsupport::libreOfficeText(dir.path() / "Temp1.odt", dir.path());
    ASSERT_FALSE(converted.empty()) << "LibreOffice did not convert the document";
    // The Japanese text intact, line for line (LibreOffice starts with a byte-order mark and
    // ends every paragraph with a line end).
    QString got = QString::fromUtf8(converted);
    got.remove(QChar(0xFEFF)).remove(QLatin1Char('\r'));
    EXPECT_EQ(got.toStdString(), paragraphsOf(syohi().RichEdit->plainText()) + "\n");
}

TEST_F(WordAndCopy, CopyCommands_putPlainTextOnTheClipboard)
{
    RichTextView* view = syohi().RichEdit;
    const int at = view->findText(cp932("消費税（国内取引"), 0, -1);
    ASSERT_GE(at, 0);
    view->select(at, static_cast<int>(cp932("消費税（国内取引").size()));

    // The text view's コピー: exactly the selected characters.
    window().CopyAction->trigger();
    EXPECT_EQ(platform.clipboardText(), cp932("消費税（国内取引"));

    // The list's コピー: the whole article shown below the list, not the list row.
    window().DBGridCopyAction->trigger();
    EXPECT_EQ(platform.clipboardText(), article1);

    // An empty selection still replaces what the clipboard held, with empty text.
    view->select(at, 0);
    window().CopyAction->trigger();
    EXPECT_TRUE(platform.clipboardHasText());
    EXPECT_EQ(platform.clipboardText(), "");

    // On a book tab the same commands copy from the entry's view.
    window().SetActivePage(window().HbooksTab);
    hbooks().RichEdit->loadPlainText(cp932("問１　寄附金の範囲\r\n基通"));
    window().DBGridCopyAction->trigger();
    EXPECT_EQ(platform.clipboardText(), cp932("問１　寄附金の範囲\r\n基通"));
    hbooks().RichEdit->select(0, 4);
    window().CopyAction->trigger();
    EXPECT_EQ(platform.clipboardText(), cp932("問１"));
}

TEST(FallbackFile, NextNameIsTheSmallestFreeNumber)
{
    testsupport::TempWorkingDir dir;
    EXPECT_EQ(output::NextFallbackFileName(dir.path()), "Temp1.odt");
    dir.writeFile("Temp1.odt", "");
    dir.writeFile("Temp3.odt", "");
    EXPECT_EQ(output::NextFallbackFileName(dir.path()), "Temp2.odt");
    // A folder of that name is taken as well.
    std::filesystem::create_directory(dir.path() / "Temp2.odt");
    EXPECT_EQ(output::NextFallbackFileName(dir.path()), "Temp4.odt");
}
