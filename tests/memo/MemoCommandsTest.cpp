// The memo window's commands on its own article, driven through the real windows offscreen with
// the recording platform: copy, Word, print to PDF read back with pdftotext, the selected-text
// search, the referring-articles search with its dialog, and a pane link that starts that search.
#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "display/DisplayFlowFixture.h"
#include "memo/TMemoWindow.h"
#include "nav/Navigation.h"
#include "output/OutputFixture.h"
#include "output/RichTextCopy.h"
#include "output/WordExport.h"
#include "support/OdtDocument.h"
#include "search/ReferenceScope.h"
#include "search/ReferenceSearch.h"
#include "search/SearchWindowFixture.h"

using namespace displaytest;

namespace {

std::string fileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The display flows' 消費税 with two cabinet-order articles that refer to article 1 (the second
// spells データセンター with the prolonged-sound mark, which the keyword edits turn into "－").
store::LawVolumeContent syohiWithOrders()
{
    store::LawVolumeContent v = syohiVolume();
    v.articles.push_back({39, 120, cp932("消令"), cp932("１条"), cp932("第１条（趣旨）"),
                          cp932("第１条　法第１条に規定する政令で定める事項は、この政令の定めるところによる。") + "\r\n"});
    v.articles.push_back({40, 120, cp932("消令"), cp932("２条"), cp932("第２条（書類）"),
                          cp932("第２条　法第１条の政令で定める書類は、データセンターの記録とする。") + "\r\n"});
    v.references = {{39, 120, 1}, {40, 120, 1}};
    return v;
}

class MemoCommands : public DisplayFlowTest {
protected:
    void SetUp() override
    {
        DisplayFlowTest::SetUp();
        store::writeLawVolume(dir.path(), syohiWithOrders());
        start();
        registry().LatestMemoWindow = nullptr;
        registry().Sansyo.PresetScope = 0;
        platform.setClipboardText(cp932("利用者のクリップボード"));
    }
    RichTextView* view() { return law(1).RichEdit; }
    // A memo window on article gyo of 消費税's whole list, opened maximised by the memo command
    // on its tab; no box recorded so far.
    TMemoWindow* memoOn(int gyo)
    {
        window().SetActivePage(window().SyohiTab);
        ShowWholeLawVolume(window(), 1);
        moveTo(1, gyo);
        platform.queueAnswer(Answer::Yes);
        window().BBtnMemo->click();
        TMemoWindow* memo = registry().LatestMemoWindow.data();
        EXPECT_NE(memo, nullptr);
        platform.clearBoxes();
        return memo;
    }
    // Selects text (UTF-8) in the pane, found by the pane itself.
    static void selectInPane(TMemoWindow& memo, const char* utf8)
    {
        const int at = memo.MemoRichEdit->findText(cp932(utf8), 0, -1);
        ASSERT_GE(at, 0) << utf8;
        memo.MemoRichEdit->select(at, static_cast<int>(cp932(utf8).size()));
    }
    // The Gyo of every row the list shows, in list order.
    std::vector<std::int64_t> listedGyo(int v)
    {
        store::DataSet* shown = lawShown(v);
        std::vector<std::int64_t> keys;
        const int column = shown->FieldIndex("Gyo");
        for (int row = 0; row < shown->RecordCount(); ++row)
            keys.push_back(shown->ValueAt(row, column).asInteger());
        return keys;
    }
    int historyHead() { return registry().History.HistoryHead(); }
    static bool minimised(const QWidget& w) { return w.windowState().testFlag(Qt::WindowMinimized); }
    static bool maximised(const QWidget& w) { return w.windowState().testFlag(Qt::WindowMaximized); }

    // What the reference dialog showed when it came up.
    struct Seen {
        bool shown = false;
        bool scopeGroupEnabled = false;
        int selectedScope = -1;
        int currentArticleItem = -1;
        bool currentArticleEnabled = true;
        bool memoSizeEnabled = false;
    };
    Seen seen;
    // Answers the next reference dialog: scope (-1 keeps what it offers), the size option, then
    // 検　索, or キャンセル when ok is false.
    void answerDialog(int scope, int memoSize, bool ok = true)
    {
        seen = Seen{};
        searchtest::answerSansyo(&window(), [this, scope, memoSize, ok](TSansyo& d) {
            seen.shown = true;
            seen.scopeGroupEnabled = d.SansyoGroupBox1->isEnabled();
            QRadioButton* scopes[] = {d.SansyoRadioButtonSeirei, d.SansyoRadioButtonKisoku, d.SansyoRadioButtonKai,
                                      d.SansyoRadioButtonAll};
            for (int i = 0; i < 4; ++i)
                if (scopes[i]->isChecked())
                    seen.selectedScope = i;
            seen.currentArticleItem = d.SansyoRadioGroup2->itemIndex();
            seen.currentArticleEnabled = d.SansyoRadioGroup2->isEnabled();
            seen.memoSizeEnabled = d.SansyoRadioGroup3->isEnabled();
            if (scope >= 0)
                scopes[scope]->setChecked(true);
            d.SansyoRadioGroup3->setItemIndex(memoSize);
            (ok ? d.SansyoOkButton : d.SansyoCancelButton)->click();
        });
    }
};

}  // namespace

// ---- copy --------------------------------------------------------------------------------------

TEST_F(MemoCommands, Copy_putsExactlyTheSelectedPlainTextOnTheClipboard)
{
    TMemoWindow* memo = memoOn(1);
    ASSERT_NE(memo, nullptr);
    // The main window moves on: the copy is the pane's.
    moveTo(1, 7);
    struct Case {
        const char* selected;  // UTF-8; empty: nothing selected
        std::string clipboard;
    };
    const Case cases[] = {
        {"会社法第１条", cp932("会社法第１条")},  // link text, drawn in colour, copied as plain text
        {"による。\r\n２　会社", cp932("による。") + "\r\n" + cp932("２　会社")},
        {"", ""},  // an empty selection still replaces what the clipboard held
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        platform.setClipboardText(cp932("前のテキスト"));
        if (*c.selected)
            selectInPane(*memo, c.selected);
        else
            memo->MemoRichEdit->setCaretPosition(3 * 2);
        memo->MemoCopyAction->trigger();
        EXPECT_EQ(platform.clipboardText(), c.clipboard);
    }
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(MemoCommands, Copy_ctrlCInThePaneCopiesTheSelection)
{
    TMemoWindow* memo = memoOn(1);
    ASSERT_NE(memo, nullptr);
    memo->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(memo));
    memo->MemoRichEdit->setFocus();
    selectInPane(*memo, "政令で定める");
    QTest::keyClick(memo->MemoRichEdit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform.clipboardText(), cp932("政令で定める"));
}

// ---- Word --------------------------------------------------------------------------------------

TEST_F(MemoCommands, Word_sendsTheWholePaneTextNotTheSelection)
{
    TMemoWindow* memo = memoOn(1);
    ASSERT_NE(memo, nullptr);
    moveTo(1, 5);
    dir.writeFile("Temp1.odt", "one");
    selectInPane(*memo, "第２条");

    memo->MemoWord->click();

    const std::string article1 = cp932("第１条　この法律は、第２条による。") + "\r\n" + cp932("２　会社法第１条を準用する。") +
                                 "\r\n" + cp932("３　政令で定める。") + "\r\n" + cp932("４　第９９９条による。") + "\r\n" +
                                 cp932("５　法人税法第１条による。") + "\r\n";
    // The document holds the whole pane, a paragraph a line.
    EXPECT_EQ(testsupport::odtParagraphs("Temp2.odt").join(QLatin1Char('\n')).toUtf8().toStdString(),
              "第１条　この法律は、第２条による。\n２　会社法第１条を準用する。\n３　政令で定める。\n"
              "４　第９９９条による。\n５　法人税法第１条による。\n");
    EXPECT_EQ(fileBytes("Temp1.odt"), "one");
    EXPECT_EQ(platform.shellTargets(), (std::vector<std::string>{"Temp2.odt"}));
    // The word processor takes the text from the clipboard: the whole article, as the pane shows it.
    EXPECT_EQ(platform.clipboardText(), memo->MemoRichEdit->plainText());
    EXPECT_EQ(platform.clipboardText(), article1);
    EXPECT_TRUE(platform.boxes().empty());

    memo->MemoWordAction->trigger();
    EXPECT_EQ(testsupport::odtParagraphs("Temp3.odt").join(QLatin1Char('\n')).toStdString(),
              testsupport::odtParagraphs("Temp2.odt").join(QLatin1Char('\n')).toStdString());
    EXPECT_EQ(platform.shellTargets(), (std::vector<std::string>{"Temp2.odt", "Temp3.odt"}));
}

// ---- print -------------------------------------------------------------------------------------

TEST_F(MemoCommands, Print_printsTheWindowsOwnArticleAfterTheMainWindowMovedOn)
{
    TMemoWindow* memo = memoOn(3);
    ASSERT_NE(memo, nullptr);
    const std::string ownRtf = memo->CopiedRtf;
    moveTo(1, 4);
    const std::string otherArticleRtf = law(1).ArticleRtf;
    window().SetActivePage(window().GenTab);
    ASSERT_EQ(firstLine(view()), firstLineOfArticle(4));

    // The window's copy, and two copies it cannot use, for which the pane stands in: one the
    // rich-text control refuses, one holding another article's text.
    struct Case {
        const char* name;
        std::string copiedRtf;
    };
    const Case cases[] = {
        {"own copy", ownRtf},
        {"refused copy", "not rich text"},
        {"another article", otherArticleRtf},
    };
    int prints = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        memo->CopiedRtf = c.copiedRtf;
        const QString pdf = QString::fromStdString((dir.path() / (std::to_string(prints) + ".pdf")).string());
        platform.setPrintOutputFile(pdf);
        (prints % 2 == 0 ? memo->MemoPrint->click() : memo->MemoPrintAction->trigger());
        ++prints;
        EXPECT_EQ(platform.printerSetupCount(), prints);
        EXPECT_EQ(outputtest::withoutBlanks(outputtest::pdfText(pdf)), QStringLiteral("第３条消費税の本文３２前項の規定は、法律に定める。"));
        EXPECT_EQ(outputtest::pdfInfo(pdf, QStringLiteral("Title")), QStringLiteral("Sorvane 条文印刷"));
        EXPECT_FALSE(std::filesystem::exists(output::kScratchFile));
    }
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(platform.clipboardText(), cp932("利用者のクリップボード"));
    EXPECT_EQ(platform.clipboardWrites().size(), 1u);
    // Neither the pane nor the main window's view changed.
    EXPECT_EQ(firstLine(memo->MemoRichEdit), firstLineOfArticle(3));
    EXPECT_EQ(firstLine(view()), firstLineOfArticle(4));
}

TEST_F(MemoCommands, Print_cancelledPrinterDialogPrintsNothing)
{
    TMemoWindow* memo = memoOn(3);
    ASSERT_NE(memo, nullptr);
    platform.setPrinterSetupAccepted(false);
    memo->MemoPrint->click();
    EXPECT_EQ(platform.printerSetupCount(), 1);
    EXPECT_FALSE(QFileInfo::exists(platform.printOutputFile()));
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_FALSE(std::filesystem::exists(output::kScratchFile));
}

// ---- selected-text search ----------------------------------------------------------------------

TEST_F(MemoCommands, SelectedTextSearch_searchesTheWindowsVolumeAndMinimisesTheWindow)
{
    TMemoWindow* memo = memoOn(12);
    ASSERT_NE(memo, nullptr);
    // The main window is elsewhere, with conditions of its own on 消費税.
    law(1).EditKey2->setText(QStringLiteral("法律"));
    law(1).EditBangou->setText(QStringLiteral("５"));
    window().SetActivePage(window().GenTab);
    const int head = historyHead();
    selectInPane(*memo, "本文１２");

    memo->MemoKensaku->click();

    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(window().ActivePage(), window().SyohiTab);
    EXPECT_EQ(law(1).EditKey1->text(), QStringLiteral("本文１２"));
    EXPECT_TRUE(law(1).EditKey2->text().isEmpty());
    EXPECT_TRUE(law(1).EditBangou->text().isEmpty());
    EXPECT_EQ(listedGyo(1), (std::vector<std::int64_t>{12}));
    EXPECT_EQ(law(1).HighlightWord1, cp932("本文１２"));
    EXPECT_EQ(historyHead(), head + 1);
    EXPECT_TRUE(minimised(*memo));
    EXPECT_EQ(memo->focusWidget(), memo->MemoRichEdit);
    EXPECT_EQ(registry().LatestMemoWindow.data(), memo);
}

TEST_F(MemoCommands, SelectedTextSearch_ctrlKAndTheMenuRunTheSameSearch)
{
    TMemoWindow* memo = memoOn(1);
    ASSERT_NE(memo, nullptr);
    selectInPane(*memo, "準用");
    memo->MemoSentakuAction->trigger();
    EXPECT_EQ(listedGyo(1), (std::vector<std::int64_t>{1}));
    EXPECT_TRUE(minimised(*memo));
    EXPECT_EQ(memo->MemoSentakuAction->shortcut(), QKeySequence(QStringLiteral("Ctrl+K")));
}

TEST_F(MemoCommands, SelectedTextSearch_failuresShowTheirMessageAndKeepTheWindow)
{
    struct Case {
        const char* name;
        int gyo;
        const char* selected;  // UTF-8; empty: nothing selected
        std::string message;
        bool searched;  // the main window went to the volume's tab
    };
    const Case cases[] = {
        {"nothing selected", 3, "", "条文本文でキーワードを選択して下さい。", false},
        // The key edit writes "ー" as "－", as the texts spell it: this spelling is in no article.
        {"nothing found", 40, "データセンター", "該当の条文はありません", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoWindow* memo = memoOn(c.gyo);
        ASSERT_NE(memo, nullptr);
        window().SetActivePage(window().GenTab);
        const std::vector<std::int64_t> listBefore = listedGyo(1);
        const int head = historyHead();
        if (*c.selected)
            selectInPane(*memo, c.selected);

        memo->MemoKensaku->click();

        EXPECT_EQ(messages(), std::vector<std::string>{c.message});
        EXPECT_TRUE(maximised(*memo));
        EXPECT_EQ(window().ActivePage(), c.searched ? window().SyohiTab : window().GenTab);
        EXPECT_EQ(listedGyo(1), listBefore);
        EXPECT_EQ(historyHead(), head);
        memo->close();
    }
}

// ---- referring-articles search -----------------------------------------------------------------

TEST_F(MemoCommands, ReferringArticles_listsTheArticlesReferringToTheWindowsArticle)
{
    struct Case {
        const char* name;
        int memoSize;  // 0 最小サイズ, 1 通常サイズ
        bool fromMenu;
    };
    const Case cases[] = {{"normal size, button", 1, false}, {"minimum size, menu", 0, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoWindow* memo = memoOn(1);
        ASSERT_NE(memo, nullptr);
        moveTo(1, 5);
        window().SetActivePage(window().GenTab);
        const int head = historyHead();

        answerDialog(search::kScopeSeirei, c.memoSize);
        (c.fromMenu ? memo->MemoSansyo->trigger() : memo->MemoKanren->click());

        ASSERT_TRUE(seen.shown);
        // Code 110 offers every scope and starts on 下位; the window already holds the article.
        EXPECT_TRUE(seen.scopeGroupEnabled);
        EXPECT_EQ(seen.selectedScope, search::kScopeKai);
        EXPECT_EQ(seen.currentArticleItem, 1);
        EXPECT_FALSE(seen.currentArticleEnabled);
        EXPECT_TRUE(seen.memoSizeEnabled);

        EXPECT_TRUE(platform.boxes().empty());
        EXPECT_EQ(window().ActivePage(), window().SyohiTab);
        EXPECT_EQ(listedGyo(1), (std::vector<std::int64_t>{39, 40}));
        EXPECT_EQ(law(1).EditKey1->text(), QStringLiteral("第１条"));
        EXPECT_EQ(law(1).EditKey2->text(), QStringLiteral("政令で定める"));
        EXPECT_EQ(law(1).HighlightWord1, cp932("第１条"));
        EXPECT_EQ(law(1).HighlightWord2, cp932("政令で定める"));
        EXPECT_EQ(law(1).ComboBox->currentText(), QStringLiteral("全範囲"));
        EXPECT_EQ(firstLine(view()), "第１条　法第１条に規定する政令で定める事項は、この政令の定めるところによる。");
        EXPECT_EQ(historyHead(), head + 1);
        // No other memo window; this one as the size option says, its pane focused.
        EXPECT_EQ(registry().LatestMemoWindow.data(), memo);
        EXPECT_EQ(minimised(*memo), c.memoSize == 0);
        if (c.memoSize == 1) {
            EXPECT_EQ(memo->windowState(), Qt::WindowNoState);
        }
        EXPECT_EQ(memo->focusWidget(), memo->MemoRichEdit);
        EXPECT_EQ(memo->ArticleGyo, 1);
        memo->close();
    }
}

TEST_F(MemoCommands, ReferringArticles_cancelAndNoReferringArticle)
{
    struct Case {
        const char* name;
        int gyo;
        bool ok;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"cancelled", 1, false, {}},
        {"nothing refers to it", 2, true, {"この条文を参照している条文はありません"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoWindow* memo = memoOn(c.gyo);
        ASSERT_NE(memo, nullptr);
        window().SetActivePage(window().GenTab);
        const std::vector<std::int64_t> listBefore = listedGyo(1);
        const int head = historyHead();

        answerDialog(-1, 0, c.ok);
        memo->MemoKanren->click();

        ASSERT_TRUE(seen.shown);
        EXPECT_EQ(messages(), c.messages);
        EXPECT_EQ(window().ActivePage(), window().GenTab);
        EXPECT_EQ(listedGyo(1), listBefore);
        EXPECT_EQ(historyHead(), head);
        EXPECT_TRUE(maximised(*memo));
        memo->close();
    }
}

// ---- a pane link that starts the referring-articles search -------------------------------------

TEST_F(MemoCommands, NegativeVolumeLink_startsTheSearchFixedToCabinetOrders)
{
    struct Case {
        const char* name;
        Qt::KeyboardModifiers modifiers;
    };
    // A plain click would open a memo window for any other link, a Ctrl+click move the main
    // window: this link does neither.
    const Case cases[] = {{"plain click", Qt::NoModifier}, {"ctrl click", Qt::ControlModifier}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoWindow* memo = memoOn(1);
        ASSERT_NE(memo, nullptr);
        window().SetActivePage(window().GenTab);

        answerDialog(-1, 1);
        press(memo->MemoRichEdit, "政令", Qt::LeftButton, c.modifiers);

        ASSERT_TRUE(seen.shown);
        EXPECT_FALSE(seen.scopeGroupEnabled);
        EXPECT_EQ(seen.selectedScope, search::kScopeSeirei);
        EXPECT_EQ(seen.currentArticleItem, 1);
        EXPECT_FALSE(seen.currentArticleEnabled);
        EXPECT_TRUE(platform.boxes().empty());
        EXPECT_EQ(window().ActivePage(), window().SyohiTab);
        EXPECT_EQ(listedGyo(1), (std::vector<std::int64_t>{39, 40}));
        EXPECT_EQ(law(1).EditKey2->text(), QStringLiteral("政令で定める"));
        EXPECT_EQ(registry().LatestMemoWindow.data(), memo);
        EXPECT_EQ(registry().LinkToMemoMode, 0);
        EXPECT_EQ(registry().RenderSuspended, 0);
        // The display still follows the list.
        ASSERT_TRUE(lawShown(1)->Locate("Gyo", {store::Value(std::int64_t{40})}));
        EXPECT_EQ(firstLine(view()), "第２条　法第１条の政令で定める書類は、データセンターの記録とする。");
        memo->close();
    }
}
