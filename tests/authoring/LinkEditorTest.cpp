// The link editor driven through the real windows offscreen: opening with and without a
// selection and its refusals, the proposal and the category label, the registration checks in
// order, 登　録 and 登録２, deleting a link, the link list, 変　換, and closing.
#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>

#include <fstream>

#include "EditorFixture.h"
#include "authoring/ReferenceResolver.h"
#include "display/DataGrid.h"

using namespace authoringtest;

namespace {

class LinkEditor : public EditorTest {
protected:
    void SetUp() override
    {
        writeStandardVolume();
        start();
    }
    // Fills the registration tab as an editor would type it.
    void fill(const char* condition, const char* targetNumber, const char* code)
    {
        editor()->Edit4->setText(qs(condition));
        editor()->Edit5->setText(qs(targetNumber));
        editor()->Edit6->setText(qs(code));
    }
    std::vector<std::string> conditionsInFile() const
    {
        std::vector<std::string> out;
        for (const store::Row& r : links().rows)
            out.push_back(u8(r[2].asText()));
        return out;
    }
};

}  // namespace

TEST_F(LinkEditor, openingWithoutASelectionShowsTheArticleListWithKeyJumpFocused)
{
    openOn(20);
    ASSERT_NE(editor(), nullptr);
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(editor()->windowTitle(), qs("HyperLink"));
    EXPECT_TRUE(editor()->windowState() & Qt::WindowMaximized);
    EXPECT_TRUE(editor()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(editor()->isModal());
    EXPECT_EQ(editor()->PageControl1->currentWidget(), editor()->TabSheet1);
    EXPECT_EQ(editor()->focusWidget(), editor()->Edit1);
    EXPECT_EQ(registry().LinkEditorOpen, 1);
    EXPECT_EQ(registry().AuthoringDrive, "C:");

    // the registration tab stays empty; the editor is on the displayed article
    for (QLineEdit* field : {editor()->Edit3, editor()->Edit4, editor()->Edit5, editor()->Edit6})
        EXPECT_TRUE(field->text().isEmpty()) << field->objectName().toStdString();
    EXPECT_EQ(editor()->ArticleKey, 2);
    EXPECT_EQ(editor()->LastKey, 5);
    EXPECT_EQ(editor()->KeyField->text(), qs("2"));
    EXPECT_EQ(editor()->BangouField->text(), qs("２条"));
    EXPECT_EQ(editor()->HyodaiField->text(), qs("定義"));
    EXPECT_EQ(u8(editor()->DBRichEdit1->plainText()), standardArticles()[1].content);
    EXPECT_EQ(editor()->Button48->text(), qs("230302"));
    EXPECT_EQ(editor()->ComboBox1->currentText(), qs("全範囲"));

    // the main window stays usable beside it
    EXPECT_TRUE(window().isEnabled());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(LinkEditor, theArticleGridListsEveryRowInRowOrder)
{
    openOn(10);
    DataGrid* grid = editor()->DBGrid1;
    ASSERT_EQ(grid->model()->rowCount(), 5);
    std::vector<std::string> keys, titles;
    for (int r = 0; r < 5; ++r) {
        keys.push_back(grid->model()->index(r, 0).data().toString().toStdString());
        titles.push_back(grid->model()->index(r, 6).data().toString().toStdString());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(titles, (std::vector<std::string>{"１条", "２条", "３条", "１条", "２条"}));
    std::vector<std::string> headers;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        headers.push_back(grid->model()->headerData(c, Qt::Horizontal).toString().toStdString());
    EXPECT_EQ(headers, (std::vector<std::string>{"ＫＥＹ", "行", "条文連番", "条文区分", "改正", "番号のみ", "条文番号", "表題"}));
}

TEST_F(LinkEditor, aSelectionOpensTheRegistrationTabWithAProposal)
{
    openOn(20, "第３条");
    ASSERT_NE(editor(), nullptr);
    EXPECT_TRUE(platform.boxes().empty()) << messages().front();
    EXPECT_EQ(editor()->PageControl1->currentWidget(), editor()->TabSheet3);
    EXPECT_EQ(editor()->focusWidget(), editor()->Edit5);
    EXPECT_EQ(editor()->Edit3->text(), qs("2"));
    EXPECT_EQ(editor()->Edit4->text(), qs("第３条"));
    EXPECT_EQ(editor()->Edit6->text(), qs("110"));
    EXPECT_EQ(editor()->Edit5->text(), qs("３条"));
    EXPECT_EQ(editor()->LinkLabel->text(), qs("消法"));
    EXPECT_EQ(u8(editor()->Phrase), "第３条");
}

TEST_F(LinkEditor, theArticleCaretFollowsTheTextViewCaretPastTheHeading)
{
    // The view's text is 消費税法 / 第２条（定義） / the article's lines; the caret lands at the
    // view caret less 表題 (4) + 条文本文 (4) + 8 + 正式名 (8) bytes.
    openOn(20, "次に掲げる");
    const int viewCaret = view()->selectionStart();
    const int expected = viewCaret - (4 + 4 + 8 + 8);
    EXPECT_EQ(editor()->DBRichEdit1->selectionStart(), expected);
    EXPECT_EQ(editor()->DBRichEdit1->selectionLength(), 6);
}

TEST_F(LinkEditor, openingWithTheSameLinkRegisteredRefusesAndLeavesNoWindow)
{
    openOn(20, "第３条");
    editor()->RegisterButton->click();
    flushDeletes();
    ASSERT_EQ(editor(), nullptr);
    platform.clearBoxes();

    openOn(20, "第３条");
    EXPECT_EQ(messages(), (std::vector<std::string>{"同一条件で既に登録されています"}));
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(registry().LinkEditorOpen, 0);
    EXPECT_TRUE(window().findChildren<THyperLink*>().isEmpty());
}

TEST_F(LinkEditor, aProposalPointingToItsOwnArticleIsRefused)
{
    // 「第２条」 in 第２条's own text: code 110, number ２条.
    auto articleRows = standardArticles();
    articleRows[1].content = "第２条の規定は、この法律の施行地について定める。";
    program.reset();
    writeVolume(authoringVolume(articleRows));
    start();
    openOn(20, "第２条");
    EXPECT_EQ(messages(), (std::vector<std::string>{"条文本文と同一です"}));
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(registry().LinkEditorOpen, 0);
}

TEST_F(LinkEditor, aSecondOpeningBringsTheOpenEditorBack)
{
    openOn(20);
    THyperLink* first = editor();
    first->showNormal();
    open();
    EXPECT_EQ(messages(), (std::vector<std::string>{"すでにフォームが起動されています"}));
    EXPECT_EQ(editor(), first);
    EXPECT_TRUE(first->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(window().findChildren<THyperLink*>().size(), 1);
}

TEST_F(LinkEditor, anOpenFlagWithoutItsWindowMakesANewEditor)
{
    registry().LinkEditorOpen = 1;
    openOn(20);
    EXPECT_EQ(messages(), (std::vector<std::string>{"すでにフォームが起動されています"}));
    ASSERT_NE(editor(), nullptr);
    EXPECT_TRUE(editor()->isVisible());
}

TEST_F(LinkEditor, anArticleMissingFromTheAuthoringCopyIsReportedDeleted)
{
    // The CD table no longer holds Gyo 20.
    auto cd = importer::readAuthoringVolume(root, 1).articles;
    cd.erase(cd.begin() + 1);
    importer::writeCdTable(root, 1, cd, 0);
    openOn(20);
    EXPECT_EQ(messages(), (std::vector<std::string>{"該当の条文は削除されています"}));
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(registry().LinkEditorOpen, 0);
    EXPECT_TRUE(window().findChildren<THyperLink*>().isEmpty());
}

TEST_F(LinkEditor, aVolumeDeliveredAgainSinceTheBrowserReadItIsRefusedNotOpenedOnAnotherArticle)
{
    // The browser shows ２条 at Gyo 20; the copy then gets an empty row at 行 20 and ２条 moves
    // to 25, and the CD table is written again, as a delivery does.
    importer::AuthoringVolume v = importer::readAuthoringVolume(root, 1);
    v.articles[1].row = 25;
    importer::AuthoringArticle added;
    added.key = 6;
    added.code = 110;
    added.row = 20;
    added.kubun = cp932("消法");
    v.articles.insert(v.articles.begin() + 1, added);
    importer::writeAuthoringVolume(root, 1, v);
    openOn(20);
    EXPECT_EQ(messages(), (std::vector<std::string>{"巻が変わっています: 表示中の条文「消法 ２条」は、条文データでは ＫＥＹ 6「消法」"
                                                    "の行です。配信後の巻を読むため、プログラムを起動し直してください"}));
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(registry().LinkEditorOpen, 0);
    EXPECT_EQ(links().rows.size(), 0u);

    // the same article under the 行 it had keeps opening
    platform.clearBoxes();
    openOn(30);
    EXPECT_TRUE(platform.boxes().empty());
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->KeyField->text(), qs("3"));
}

TEST_F(LinkEditor, aTableThatCannotBeOpenedIsAFailedStartNamingTheTableAndTheCause)
{
    fs::remove(root / "YpSyohi" / "Cd12" / "Data" / fs::u8path("条文本文.db"));
    openOn(20);
    EXPECT_EQ(messages(), (std::vector<std::string>{"リンクフォームの起動に失敗しました\r\n"
                                                    "C:\\YpSyohi\\Cd12\\Data\\条文本文.db: "
                                                    "テーブル 条文本文.db が開けません: ファイルがありません"}));
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(registry().LinkEditorOpen, 0);

    // a damaged article table of the copy: the engine's cause is shown
    writeStandardVolume();
    {
        std::ofstream damaged(jyobun() / fs::u8path("条文本文.db"), std::ios::binary | std::ios::trunc);
        damaged << std::string(4096, 'x');
    }
    platform.clearBoxes();
    open();
    EXPECT_EQ(messages(), (std::vector<std::string>{"リンクフォームの起動に失敗しました\r\n"
                                                    "C:\\YpSyohi\\Jyobun\\Data\\条文本文.db: "
                                                    "テーブル 条文本文.db: file is not a database"}));
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(registry().LinkEditorOpen, 0);
}

TEST_F(LinkEditor, theAuthoringCopyIsLookedForOnCThenOnD)
{
    fs::remove(dosdevices / "c:");
    openOn(20);
    const std::string c = (dosdevices / "c:").string(), d = (dosdevices / "d:").string();
    EXPECT_EQ(messages(), (std::vector<std::string>{"該当の条文データがセットされていません\r\n探した場所:\r\n"
                                                    "C:\\YpSyohi\\Jyobun\\Data\\条文本文.db → " + c +
                                                    "/YpSyohi/Jyobun/Data/条文本文.db\r\n"
                                                    "D:\\YpSyohi\\Jyobun\\Data\\条文本文.db → " + d +
                                                    "/YpSyohi/Jyobun/Data/条文本文.db"}));
    EXPECT_EQ(editor(), nullptr);

    platform.clearBoxes();
    fs::create_directory_symlink(root, dosdevices / "d:");
    open();
    EXPECT_TRUE(platform.boxes().empty());
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(registry().AuthoringDrive, "D:");
    EXPECT_EQ(editor()->Table1.FilePath(), dosdevices / "d:" / "YpSyohi" / "Jyobun" / "Data" / fs::u8path("条文本文.db"));
    EXPECT_TRUE(fs::equivalent(editor()->Table1.FilePath(), jyobun() / fs::u8path("条文本文.db")));
}

TEST_F(LinkEditor, registrationChecksRunInOrderAndTheFirstFailureIsShown)
{
    struct Case {
        const char* condition;
        const char* targetNumber;
        const char* code;
        const char* message;  // nullptr: stored
    };
    std::string fiftyChars, fiftyOneChars;
    for (int i = 0; i < 50; ++i)
        fiftyChars += "あ";
    fiftyOneChars = fiftyChars + "あ";
    const std::vector<Case> cases{
        {"３条", "３条", "110", "条文に、「第」がありません"},
        {"第一項", "３条", "110", "条文に、「条」がありません"},
        {fiftyOneChars.c_str(), "３条", "110", "条件は、全角５０文字以内です"},
        {"前項", (fiftyOneChars).c_str(), "110", "リンク条文本文は、全角５０文字以内です"},
        {"前項", "", "110", "データが正しく入力されていません"},
        {"前項", "３条", "", "データが正しく入力されていません"},
        {"前項", "２条", "110", "条文本文と同一です"},
        {"前項", "０条", "110", "リンク条文本文の最初のデータがおかしいです"},
        {"前項", "３条の", "110", "リンク条文本文の最終データがおかしいです"},
        {"前項", "２条", "240", "通達に「条」が含まれています"},
        {"前項", "２－第３", "240", "通達に「第」が含まれています"},
        {"第３条", "３条", "110", nullptr},
        {"別表第一", "別表第１", "110", nullptr},
        {fiftyChars.c_str(), "１条", "110", nullptr},
        {"前項", "２－１－３", "240", nullptr},
        {"第３条", "３条", "110", "同一条件で既に登録されています"},
    };
    openOn(20);
    editor()->Edit3->setText(qs("2"));
    std::size_t stored = links().rows.size();
    for (const Case& c : cases) {
        platform.clearBoxes();
        fill(c.condition, c.targetNumber, c.code);
        editor()->Register2Button->click();
        const std::size_t now = links().rows.size();
        if (c.message) {
            EXPECT_EQ(messages(), (std::vector<std::string>{c.message})) << c.condition << " " << c.targetNumber;
            EXPECT_EQ(now, stored) << c.condition;
            // the fields keep their text
            EXPECT_EQ(editor()->Edit4->text(), qs(c.condition));
        } else {
            EXPECT_EQ(messages(), (std::vector<std::string>{std::string("「") + c.condition + "」をリンク登録しました"}));
            EXPECT_EQ(now, stored + 1) << c.condition;
        }
        stored = now;
    }
    EXPECT_TRUE(editor()->isVisible());
}

TEST_F(LinkEditor, theKeyFieldMustNameTheEditorsRow)
{
    openOn(20);
    fill("第３条", "３条", "110");
    editor()->Edit3->setText(qs("3"));
    editor()->Register2Button->click();
    editor()->Edit3->clear();
    editor()->Register2Button->click();
    EXPECT_EQ(messages(), (std::vector<std::string>{"ＫＥＹデータが正しく入力されていません",
                                                    "ＫＥＹデータが正しく入力されていません"}));
    EXPECT_TRUE(links().rows.empty());
}

TEST_F(LinkEditor, registerStoresTheLinkAndClosesTheEditor)
{
    openOn(20, "第３条");
    editor()->RegisterButton->click();
    flushDeletes();
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(registry().LinkEditorOpen, 0);
    EXPECT_EQ(registry().LastLinkCode, "110");

    const store::TableContents c = links();
    ASSERT_EQ(c.rows.size(), 1u);
    const store::Row& r = c.rows[0];
    EXPECT_EQ(r[0].asInteger(), 2);
    EXPECT_EQ(r[1].asInteger(), 110);
    EXPECT_EQ(u8(r[2].asText()), "第３条");
    EXPECT_EQ(u8(r[7].asText()), "３条");
    // what the editor does not write stays empty
    for (int f : {3, 4, 5, 6, 8, 9, 10, 11})
        EXPECT_TRUE(r[static_cast<std::size_t>(f)].isNull()) << c.fields[static_cast<std::size_t>(f)].name;
}

TEST_F(LinkEditor, registerTwoThenSameProposesTheSameCodeAgain)
{
    openOn(30, "第５条");
    editor()->Edit6->setText(qs("120"));
    editor()->Register2Button->click();
    EXPECT_EQ(messages(), (std::vector<std::string>{"「第５条」をリンク登録しました"}));
    EXPECT_TRUE(editor()->isVisible());
    EXPECT_EQ(registry().LastLinkCode, "120");

    editor()->Edit6->setText(qs("999"));
    editor()->SameButton->click();
    EXPECT_EQ(editor()->Edit6->text(), qs("120"));
    EXPECT_EQ(editor()->LinkLabel->text(), qs("消令"));
}

TEST_F(LinkEditor, codeButtonsWriteTheirCaptionAndTheLabelNamesTheCategory)
{
    openOn(20);
    std::vector<std::string> captions;
    for (QAbstractButton* b : editor()->CodeButtons)
        captions.push_back(b->text().toStdString());
    const std::vector<std::string> expected{
        "10",  "20",  "30",  "40",  "50",  "70",  "80",  "110", "120", "130", "140", "160", "170", "180", "190", "210", "220",
        "230", "240", "260", "270", "280", "290", "310", "320", "330", "340", "350", "360", "370", "380", "390", "410", "420",
        "430", "440", "450", "460", "470", "480", "490", "510", "610", "620", "630", "710", "720", "730", "740", "750", "810",
        "820", "830", "840", "840", "860", "870", "873", "880", "883", "910", "920", "930", "940", "950", "960"};
    EXPECT_EQ(captions, expected);

    auto press = [&](const char* caption) {
        for (QAbstractButton* b : editor()->CodeButtons)
            if (b->text() == qs(caption)) {
                b->click();
                return;
            }
        FAIL() << caption;
    };
    press("240");
    EXPECT_EQ(editor()->Edit6->text(), qs("240"));
    EXPECT_EQ(editor()->LinkLabel->text(), qs("消基通"));
    press("910");
    EXPECT_EQ(editor()->LinkLabel->text(), qs("未登録"));

    // typing a code: Enter, or leaving the field, names it
    editor()->Edit6->setText(qs("120"));
    pressEnter(editor()->Edit6);
    EXPECT_EQ(editor()->LinkLabel->text(), qs("消令"));
    editor()->Edit6->setText(qs("12"));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(editor()->Edit6, &out);
    EXPECT_EQ(editor()->LinkLabel->text(), qs("未登録"));
}

TEST_F(LinkEditor, convertProposesTheArticleTextsSelection)
{
    openOn(40);
    RichTextView* text = editor()->DBRichEdit1;
    const std::string phrase = cp932("法第２条");
    text->select(text->findText(phrase, 0, -1), static_cast<int>(phrase.size()));
    editor()->ConvertButton->click();
    EXPECT_EQ(editor()->BrowseRow, 40);
    EXPECT_EQ(editor()->CurrentCode, 120);
    EXPECT_EQ(editor()->Edit3->text(), qs("4"));
    EXPECT_EQ(editor()->Edit4->text(), qs("法第２条"));
    EXPECT_EQ(editor()->Edit6->text(), qs("110"));
    EXPECT_EQ(editor()->Edit5->text(), qs("２条"));

    // with nothing selected nothing changes
    text->select(0, 0);
    editor()->Edit4->clear();
    editor()->ConvertButton->click();
    EXPECT_TRUE(editor()->Edit4->text().isEmpty());
}

TEST_F(LinkEditor, theLinkListShowsTheCurrentArticlesLinksAndDeletesOnYes)
{
    importer::AuthoringVolume volume = authoringVolume(standardArticles());
    importer::AuthoringLink l;
    l.key = 2;
    l.targetCode = 110;
    l.condition = cp932("第３条");
    l.targetNumber = cp932("３条");
    volume.links.push_back(l);
    l.condition = cp932("前項");
    l.targetNumber = cp932("２条");
    volume.links.push_back(l);
    l.key = 4;
    l.condition = cp932("法第２条第１項");
    volume.links.push_back(l);
    program.reset();
    writeVolume(volume);
    start();
    openOn(20);

    DataGrid* grid = editor()->DBGrid2;
    auto rows = [&] {
        std::vector<std::string> out;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            out.push_back(grid->model()->index(r, 1).data().toString().toStdString() + "/" +
                          grid->model()->index(r, 4).data().toString().toStdString());
        return out;
    };
    EXPECT_EQ(rows(), (std::vector<std::string>{"前項/消法", "第３条/消法"}));

    grid->dataSet()->Last();
    platform.queueAnswer(Answer::No);
    editor()->LinkDeleteButton->click();
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(u8(platform.lastBox().caption), "LinkTable Delete");
    EXPECT_EQ(u8(platform.lastBox().text), "データを削除して良いですか");
    EXPECT_EQ(platform.lastBox().icon, MessageIcon::Question);
    EXPECT_EQ(links().rows.size(), 3u);

    platform.queueAnswer(Answer::Yes);
    editor()->LinkDeleteButton->click();
    EXPECT_EQ(rows(), (std::vector<std::string>{"前項/消法"}));
    std::vector<std::string> left;
    for (const store::Row& r : links().rows)
        left.push_back(u8(r[2].asText()));
    EXPECT_EQ(left, (std::vector<std::string>{"前項", "法第２条第１項"}));

    // a cell edited in place is stored
    QModelIndex target = grid->model()->index(0, 2);
    ASSERT_TRUE(grid->model()->flags(target) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid->model()->flags(grid->model()->index(0, 0)) & Qt::ItemIsEditable);
    ASSERT_TRUE(grid->model()->setData(target, qs("１条")));
    bool found = false;
    for (const store::Row& r : links().rows)
        found = found || (u8(r[2].asText()) == "前項" && u8(r[7].asText()) == "１条");
    EXPECT_TRUE(found);

    // the list follows the article
    editor()->NavNext->click();
    EXPECT_TRUE(rows().empty());
}

TEST_F(LinkEditor, closingCommitsThePendingEditAndKeepsTheAutoStampSetting)
{
    openOn(30);
    typeText(editor()->HyodaiField, qs("義務"));
    editor()->CheckBox1->setChecked(true);
    QPointer<THyperLink> closing = editor();
    editor()->Button5->click();
    QApplication::processEvents(QEventLoop::AllEvents);
    flushDeletes();
    EXPECT_TRUE(closing.isNull());
    EXPECT_EQ(registry().LinkEditorOpen, 0);
    EXPECT_EQ(registry().AutoStampSetting, 1);
    EXPECT_EQ(u8(articleField(3, "表題").asText()), "納税義務者義務");

    // the last row too, and the close box does the same
    openOn(50);
    EXPECT_TRUE(editor()->CheckBox1->isChecked());
    typeText(editor()->BangouField, qs("の２"));
    editor()->close();
    flushDeletes();
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(u8(articleField(5, "条文本文").asText()), "２条の２");
}

TEST_F(LinkEditor, theHyperLinkItemsOpenTheEditorOnlyInTheAuthoringBuild)
{
    EXPECT_TRUE(window().HyperLinkAction2->isVisible());
    EXPECT_TRUE(window().ToolAction->isVisible());
    showArticle(20);
    window().HyperLinkAction->trigger();
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->ArticleKey, 2);
    editor()->close();
    flushDeletes();

    program.reset();
    start(kStandardTitle);
    EXPECT_FALSE(window().HyperLinkAction2->isEnabled());
    EXPECT_FALSE(window().HyperLinkAction->isEnabled());
    EXPECT_FALSE(window().ToolAction->isEnabled());
    EXPECT_FALSE(window().ColorSetButton->isVisibleTo(&window()));
}

TEST_F(LinkEditor, theProgramEndingWithTheEditorOpenKeepsTheRowsEdit)
{
    openOn(30);
    typeText(editor()->HyodaiField, qs("等"));
    window().close();
    program.reset();
    EXPECT_EQ(u8(articleField(3, "表題").asText()), "納税義務者等");
}
