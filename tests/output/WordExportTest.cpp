// The clipboard copies of the two popup menus and the Word button with its fallback file, driven
// through the real window: what lands on the clipboard, which file is written with which bytes,
// what the shell is asked to open, and the two messages.
#include <QAction>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "OutputFixture.h"
#include "output/WordExport.h"

using namespace outputtest;

namespace {

std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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
    dir.writeFile("Temp1.doc", "one");
    dir.writeFile("Temp2.doc", "two");

    window().BBtnWord->click();

    ASSERT_TRUE(std::filesystem::exists("Temp3.doc"));
    EXPECT_EQ(fileBytes("Temp3.doc"), article1);
    EXPECT_EQ(platform.shellTargets(), (std::vector<std::string>{"Temp3.doc"}));
    EXPECT_TRUE(platform.boxes().empty());
    // The clipboard holds the article: the word processor takes it from there.
    EXPECT_EQ(platform.clipboardText(), article1);
    // The files already there are left alone.
    EXPECT_EQ(fileBytes("Temp1.doc"), "one");
    EXPECT_EQ(fileBytes("Temp2.doc"), "two");

    window().WordAction1->trigger();
    ASSERT_TRUE(std::filesystem::exists("Temp4.doc"));
    EXPECT_EQ(fileBytes("Temp4.doc"), article1);
    EXPECT_EQ(platform.shellTargets(), (std::vector<std::string>{"Temp3.doc", "Temp4.doc"}));
}

TEST_F(WordAndCopy, WordButton_fileIsCodePage932WithCrLfAfterEveryLine)
{
    showArticle(2);
    window().WordAction2->trigger();
    const std::string bytes = fileBytes("Temp1.doc");
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.substr(0, 6), "\x91\xE6\x82\x51\x8F\xF0");  // 第２条 in code page 932
    EXPECT_EQ(bytes, syohi().RichEdit->plainText());
    // No line end but CR LF: every LF follows a CR, every CR comes before an LF.
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            EXPECT_TRUE(i > 0 && bytes[i - 1] == '\r') << i;
        }
        if (bytes[i] == '\r') {
            EXPECT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << i;
        }
    }
    EXPECT_EQ(text::splitLines(bytes).size(), 71u);
}

TEST_F(WordAndCopy, WordButton_goesToTheWordProcessorWhenThePlatformHasOne)
{
    FakeWordApplication word(platform, false);
    registry().WordApplication1 = &word;
    window().BBtnWord->click();
    EXPECT_EQ(word.pasted, (std::vector<std::string>{article1}));
    EXPECT_FALSE(std::filesystem::exists("Temp1.doc"));
    EXPECT_TRUE(platform.shellTargets().empty());

    FakeWordApplication failing(platform, true);
    registry().WordApplication1 = &failing;
    window().BBtnWord->click();
    EXPECT_TRUE(std::filesystem::exists("Temp1.doc"));
    EXPECT_EQ(platform.shellTargets(), (std::vector<std::string>{"Temp1.doc"}));
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
        EXPECT_FALSE(std::filesystem::exists("Temp1.doc")) << c.what;
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

    ExportToWord(platform, nullptr);
    std::filesystem::current_path(dir.path());

    EXPECT_EQ(platform.boxTexts(), (std::vector<std::string>{cp932("Microsoft Wordが起動できません")}));
    EXPECT_TRUE(platform.shellTargets().empty());
}

TEST_F(WordAndCopy, ExportToWord_aShellThatCannotOpenTheFileIsNotReported)
{
    platform.setShellOpenResult(false);
    platform.setClipboardText(cp932("一行目\r\n二行目"));
    ExportToWord(platform, nullptr);
    EXPECT_EQ(fileBytes("Temp1.doc"), cp932("一行目\r\n二行目\r\n"));
    EXPECT_EQ(platform.shellTargets(), (std::vector<std::string>{"Temp1.doc"}));
    EXPECT_TRUE(platform.boxes().empty());
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
    EXPECT_EQ(output::NextFallbackFileName(dir.path()), "Temp1.doc");
    dir.writeFile("Temp1.doc", "");
    dir.writeFile("Temp3.doc", "");
    EXPECT_EQ(output::NextFallbackFileName(dir.path()), "Temp2.doc");
    // A folder of that name is taken as well.
    std::filesystem::create_directory(dir.path() / "Temp2.doc");
    EXPECT_EQ(output::NextFallbackFileName(dir.path()), "Temp4.doc");
}

TEST(FallbackFile, EveryLineEndsWithCrLf)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"a", "a\r\n"},
        {"a\r\nb", "a\r\nb\r\n"},
        {"a\r\nb\r\n", "a\r\nb\r\n"},
        {"a\nb", "a\r\nb\r\n"},
        {"a\r\n\r\nb", "a\r\n\r\nb\r\n"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(output::FallbackFileText(in), out) << in;
}
