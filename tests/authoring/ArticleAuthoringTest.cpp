// Article authoring in the link editor, through the real window offscreen: adding rows with the
// renumbering walk, SpecialPaste, Paste, the paragraph jumps, the phrase search, the key rules
// of the fields, the category code, the jumps, the range filter, deleting and clearing rows,
// the amendment stamp, and the row's edits reaching the table file.
#include <QCheckBox>
#include <QComboBox>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QScrollBar>
#include <QTabWidget>

#include "EditorFixture.h"
#include "authoring/ArticleAuthoring.h"
#include "display/DataGrid.h"

using namespace authoringtest;

namespace {

class ArticleAuthoring : public EditorTest {
protected:
    void SetUp() override
    {
        writeStandardVolume();
        start();
    }
    // Starts the program again on other articles.
    void restartWith(const std::vector<ArticleRow>& articleRows)
    {
        if (editor())
            delete editor();
        program.reset();
        writeVolume(authoringVolume(articleRows));
        start();
    }
    RichTextView* articleText() { return editor()->DBRichEdit1; }
    // Commits the row being edited, as moving off it does.
    void commitRow() { editor()->Table1.CheckBrowseMode(); }
    std::string selected() { return u8(articleText()->selectedText()); }
};

std::vector<ArticleRow> rowsAt(const std::vector<double>& rows, int code)
{
    std::vector<ArticleRow> articleRows;
    static const char* const numbers[] = {"１条", "２条", "３条", "４条", "５条", "６条", "７条"};
    for (std::size_t i = 0; i < rows.size(); ++i)
        articleRows.push_back({static_cast<int>(i) + 1, code, rows[i], numbers[i], "見出し", "本文。"});
    return articleRows;
}

}  // namespace

TEST_F(ArticleAuthoring, addingARowPlacesItAfterTheCurrentOneAndMakesRoomWhenNeeded)
{
    struct Case {
        std::vector<double> rows;
        int code;
        double current;
        std::vector<double> after;  // 行 of keys 1, 2, … and then the new row's
    };
    const std::vector<Case> cases{
        {{100, 150}, 110, 100, {100, 150, 110}},
        {{100, 150}, 510, 100, {100, 150, 105}},
        {{100, 105}, 110, 100, {100, 105, 101}},
        {{90, 100}, 110, 100, {90, 100, 110}},
        {{90, 100}, 510, 100, {90, 100, 105}},
        {{100, 101, 102, 103, 110}, 110, 100, {100, 107, 108, 109, 110, 101}},
        {{100, 101, 102}, 110, 100, {100, 111, 112, 101}},
        {{100, 101, 103}, 110, 100, {100, 102, 103, 101}},
    };
    for (const Case& c : cases) {
        restartWith(rowsAt(c.rows, c.code));
        openOn(static_cast<int>(c.current));
        ASSERT_NE(editor(), nullptr);
        editor()->PageControl1->setCurrentWidget(editor()->TabSheet3);
        editor()->Button4->click();
        const int newKey = static_cast<int>(c.rows.size()) + 1;
        std::vector<double> after(c.after.size());
        for (const auto& [key, row] : rowOrder())
            after[static_cast<std::size_t>(key - 1)] = row;
        EXPECT_EQ(after, c.after) << "rows from " << c.rows.front() << ", " << c.rows.size() << " rows, code " << c.code;
        EXPECT_EQ(u8(articleField(newKey, "条文区分").asText()), c.code == 510 ? "民法" : "消法");
        EXPECT_EQ(articleField(newKey, "条文連番").asInteger(), c.code);
        // the new row is current, on the article list, with the focus in 改正
        EXPECT_EQ(editor()->KeyField->text(), QString::number(newKey));
        EXPECT_EQ(editor()->PageControl1->currentWidget(), editor()->TabSheet1);
        EXPECT_EQ(editor()->focusWidget(), editor()->KaiseiField);
        EXPECT_EQ(editor()->LastKey, newKey);
    }
}

TEST_F(ArticleAuthoring, specialPasteTakesTheTitleNumberAndTextOfACopiedArticle)
{
    struct Case {
        const char* clipboard;
        const char* title;
        const char* number;
        const char* content;
        bool stamped;
    };
    const std::vector<Case> cases{
        {"（定義）\r\n第二条\r\nこの法律において…", "定義", "二条", "この法律において…", true},
        {"第２条の２\r\n事業者は、納める。", "", "２条の２", "事業者は、納める。", true},
        {"\r\n\r\n　第５条　\r\n", "", "第５条", "", false},
        {"(趣旨)\n\n第1条\n\n本文1\n本文2\n\n", "趣旨", "１条", "本文１\r\n本文２", true},
        {"見出しだけ\r\n\r\n", "", "見出しだけ", "", false},
        {"３－１－２\r\n課税資産の譲渡等", "", "３－１－２", "課税資産の譲渡等", true},
        {"課税の対象\r\n\r\n", "", "課税の対象", "", false},
    };
    openOn(30);
    editor()->CheckBox1->setChecked(true);
    for (const Case& c : cases) {
        platform.queueAnswer(Answer::Yes);
        editor()->Button6->click();
        editor()->KaiseiField->setText(QString());
        editor()->Table1.SetFieldValue("改正", store::Value());
        platform.setClipboardText(cp932(c.clipboard));
        platform.clearBoxes();
        editor()->Button7->click();
        EXPECT_TRUE(platform.boxes().empty()) << c.clipboard;
        EXPECT_EQ(editor()->HyodaiField->text(), qs(c.title)) << c.clipboard;
        EXPECT_EQ(editor()->BangouField->text(), qs(c.number)) << c.clipboard;
        EXPECT_EQ(u8(articleText()->plainText()), c.content) << c.clipboard;
        EXPECT_EQ(editor()->KaiseiField->text(), c.stamped ? qs("230302") : QString()) << c.clipboard;
        EXPECT_EQ(u8(platform.clipboardWrites().back()), std::string(c.clipboard) + "\r\n");
        commitRow();
        EXPECT_EQ(u8(articleField(3, "表題").asText()), c.title);
        EXPECT_EQ(u8(articleField(3, "条文本文").asText()), c.number);
        EXPECT_EQ(u8(articleField(3, "条文内容").asText()), c.content);
        editor()->Table1.Edit();
    }
}

TEST_F(ArticleAuthoring, specialPasteNeedsARowWithoutANumber)
{
    openOn(30);
    platform.setClipboardText(cp932("（定義）\r\n第二条\r\n本文"));
    editor()->Button7->click();
    EXPECT_EQ(messages(), (std::vector<std::string>{"Clear又は追加して実行してください"}));
    EXPECT_EQ(editor()->HyodaiField->text(), qs("納税義務者"));
    EXPECT_EQ(platform.clipboardWrites().size(), 1u);

    // an empty clipboard changes nothing
    platform.queueAnswer(Answer::Yes);
    editor()->Button6->click();
    platform.clearClipboard();
    platform.clearBoxes();
    editor()->Button7->click();
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_TRUE(editor()->BangouField->text().isEmpty());
}

TEST_F(ArticleAuthoring, clearAsksAndEmptiesTitleNumberAndText)
{
    openOn(30);
    platform.queueAnswer(Answer::No);
    editor()->Button6->click();
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(u8(platform.lastBox().text), "表題、条文番号、本文をクリアーして良いですか");
    EXPECT_EQ(platform.lastBox().icon, MessageIcon::Question);
    EXPECT_EQ(platform.lastBox().buttons, QuestionButtons::YesNo);
    EXPECT_EQ(editor()->HyodaiField->text(), qs("納税義務者"));

    platform.queueAnswer(Answer::Yes);
    editor()->Button6->click();
    EXPECT_TRUE(editor()->HyodaiField->text().isEmpty());
    EXPECT_TRUE(editor()->BangouField->text().isEmpty());
    EXPECT_TRUE(articleText()->plainText().empty());
    editor()->NavNext->click();
    EXPECT_EQ(u8(articleField(3, "表題").asText()), "");
    EXPECT_EQ(u8(articleField(3, "条文本文").asText()), "");
    EXPECT_EQ(u8(articleField(3, "条文内容").asText()), "");
    EXPECT_EQ(u8(articleField(3, "条文区分").asText()), "消法");
}

TEST_F(ArticleAuthoring, pasteNormalisesTheClipboardAndInsertsItAtTheCaret)
{
    openOn(10);
    editor()->CheckBox1->setChecked(true);
    articleText()->setCaretPosition(0);
    platform.setClipboardText(cp932("(1) 1,000円"));
    editor()->Button92->click();
    EXPECT_EQ(u8(articleText()->plainText()), "（１）　１，０００円この法律は、消費税について定めるものとする。");
    EXPECT_EQ(u8(platform.clipboardWrites().back()), "（１）　１，０００円");
    EXPECT_EQ(editor()->KaiseiField->text(), qs("230302"));
    EXPECT_EQ(editor()->focusWidget(), articleText());

    // Ctrl+V in the article text and P do the same, replacing the selection
    platform.setClipboardText(cp932("[2]"));
    articleText()->select(0, 20);
    QTest::keyClick(articleText(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(u8(articleText()->plainText()), "〔２〕この法律は、消費税について定めるものとする。");
    platform.setClipboardText(cp932("-"));
    articleText()->setCaretPosition(0);
    editor()->Button91->click();
    EXPECT_EQ(u8(articleText()->plainText()), "－〔２〕この法律は、消費税について定めるものとする。");

    editor()->NavNext->click();
    EXPECT_EQ(u8(articleField(1, "条文内容").asText()), "－〔２〕この法律は、消費税について定めるものとする。");
    EXPECT_EQ(articleField(1, "改正").asInteger(), 230302);
}

TEST_F(ArticleAuthoring, paragraphButtonsFindTheLineOfTheirNumber)
{
    openOn(20);
    EnterButton* one = editor()->ParagraphButtons[0];
    EnterButton* two = editor()->ParagraphButtons[1];
    EXPECT_EQ(one->text(), qs("１"));
    EXPECT_EQ(editor()->ParagraphButtons[9]->text(), qs("１０"));

    articleText()->select(10, 4);
    one->click();
    EXPECT_EQ(articleText()->caretPosition(), 0);
    EXPECT_EQ(articleText()->selectionLength(), 0);
    EXPECT_EQ(editor()->focusWidget(), articleText());

    two->click();
    EXPECT_EQ(selected(), "２　");
    const std::string body = articleText()->plainText();
    EXPECT_EQ(articleText()->selectionStart(), static_cast<int>(body.find(cp932("２　第３条"))));
    EXPECT_TRUE(platform.boxes().empty());

    editor()->ParagraphButtons[2]->click();
    EXPECT_EQ(messages(), (std::vector<std::string>{"該当なし"}));

    // the paragraph field: Enter moves to Jump, Jump jumps, Clear empties it
    editor()->Edit8->setText(qs("２"));
    pressEnter(editor()->Edit8);
    EXPECT_EQ(editor()->focusWidget(), editor()->Button72);
    articleText()->select(0, 0);
    editor()->Button72->click();
    EXPECT_EQ(selected(), "２　");
    editor()->Button73->click();
    EXPECT_TRUE(editor()->Edit8->text().isEmpty());
    EXPECT_EQ(editor()->focusWidget(), editor()->Edit8);
    platform.clearBoxes();
    editor()->Button72->click();
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(ArticleAuthoring, findingAPhraseFromTheStartAndAfterTheSelection)
{
    openOn(20);
    QComboBox* combo = editor()->ComboBox2;
    ASSERT_EQ(combo->count(), 17);
    EXPECT_EQ(combo->itemText(0), qs("平成２４年３月３１日"));
    EXPECT_EQ(combo->itemText(16), qs("補てん"));
    EXPECT_EQ(combo->maxVisibleItems(), 17);

    // 「この法律」 starts the text and comes again in line 2
    combo->setEditText(qs("この法律"));
    editor()->Button63->click();
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(articleText()->selectionStart(), 0);
    EXPECT_EQ(selected(), "この法律");
    EXPECT_EQ(combo->count(), 17);

    editor()->Button64->click();
    const int second = static_cast<int>(articleText()->plainText().find(cp932("この法律の施行地")));
    EXPECT_EQ(articleText()->selectionStart(), second);
    EXPECT_EQ(selected(), "この法律");
    EXPECT_EQ(combo->count(), 18);
    EXPECT_EQ(combo->itemText(17), qs("この法律"));

    editor()->Button64->click();
    EXPECT_EQ(messages(), (std::vector<std::string>{"該当なし"}));
    EXPECT_EQ(combo->count(), 18);

    // a phrase found only at the very start
    platform.clearBoxes();
    combo->setEditText(qs("この法律において"));
    editor()->Button63->click();
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(articleText()->selectionStart(), 0);
    EXPECT_EQ(selected(), "この法律において");
    editor()->Button64->click();
    EXPECT_EQ(messages(), (std::vector<std::string>{"該当なし"}));
    EXPECT_EQ(selected(), "この法律において");
    EXPECT_EQ(combo->itemText(combo->count() - 1), qs("この法律において"));

    // typed half-width digits are searched as the tables keep them
    platform.clearBoxes();
    combo->setEditText(qs("第3条"));
    editor()->Button63->click();
    EXPECT_EQ(combo->currentText(), qs("第３条"));
    EXPECT_EQ(selected(), "第３条");

    // nothing to find
    platform.clearBoxes();
    combo->setEditText(qs("輸出免税"));
    editor()->Button63->click();
    combo->setEditText(QString());
    editor()->Button64->click();
    EXPECT_EQ(messages(), (std::vector<std::string>{"該当なし", "該当なし"}));
    EXPECT_EQ(articleText()->selectionLength(), 0);
}

TEST_F(ArticleAuthoring, selectionSearchesAndTheComboButtons)
{
    openOn(20);
    QComboBox* combo = editor()->ComboBox2;
    RichTextView* text = articleText();
    const std::string body = text->plainText();
    text->select(static_cast<int>(body.find(cp932("用語"))), 4);
    QTest::keyClick(text, Qt::Key_J, Qt::ControlModifier);
    EXPECT_EQ(combo->currentText(), qs("用語"));
    EXPECT_EQ(selected(), "用語");

    QTest::keyClick(text, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(text->selectionStart(), static_cast<int>(body.find(cp932("用語について"))));
    QTest::keyClick(text, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(text->selectionStart(), static_cast<int>(body.find(cp932("用語"))));
    EXPECT_TRUE(platform.boxes().empty());

    text->select(0, 0);
    for (Qt::Key key : {Qt::Key_K, Qt::Key_L, Qt::Key_J})
        QTest::keyClick(text, key, Qt::ControlModifier);
    EXPECT_EQ(messages(), (std::vector<std::string>{"選択文字がありません", "選択文字がありません", "選択文字がありません"}));

    // CS searches the clipboard's text after the selection; C empties the combo
    platform.clearBoxes();
    platform.setClipboardText(cp932("施行地"));
    editor()->Button88->click();
    EXPECT_EQ(combo->currentText(), qs("施行地"));
    EXPECT_EQ(selected(), "施行地");
    editor()->Button57->click();
    EXPECT_TRUE(combo->currentText().isEmpty());
    EXPECT_EQ(editor()->focusWidget(), combo);

    // Enter in the combo moves to 後半検索, so that Enter repeats the search
    combo->setEditText(qs("定める"));
    pressEnter(combo->lineEdit());
    EXPECT_EQ(editor()->focusWidget(), editor()->Button64);
    text->select(0, 0);
    pressEnter(editor()->Button64);
    EXPECT_EQ(selected(), "定める");
}

TEST_F(ArticleAuthoring, enterOnAFoundPhraseIsSwallowed)
{
    openOn(20);
    editor()->CheckBox1->setChecked(true);
    editor()->ComboBox2->setEditText(qs("国内"));
    editor()->Button63->click();
    ASSERT_EQ(selected(), "国内");
    const std::string before = articleText()->plainText();
    pressEnter(articleText());
    EXPECT_EQ(articleText()->plainText(), before);
    EXPECT_EQ(editor()->KaiseiField->text(), qs("0"));

    // any other selection takes the line break, and typing stamps the row
    articleText()->select(0, 0);
    pressEnter(articleText());
    EXPECT_EQ(articleText()->plainText(), "\r\n" + before);
    EXPECT_EQ(editor()->KaiseiField->text(), qs("230302"));
}

TEST_F(ArticleAuthoring, typingIntoTheArticleTextStampsOnlyWithAutoInput)
{
    openOn(10);
    articleText()->setCaretPosition(0);
    typeText(articleText(), qs("新"));
    EXPECT_EQ(editor()->KaiseiField->text(), qs("0"));
    editor()->CheckBox1->setChecked(true);
    QTest::keyClick(articleText(), Qt::Key_Escape);
    EXPECT_EQ(editor()->KaiseiField->text(), qs("0"));
    QTest::keyClick(articleText(), Qt::Key_Delete);
    EXPECT_EQ(editor()->KaiseiField->text(), qs("230302"));
    editor()->NavNext->click();
    EXPECT_EQ(u8(articleField(1, "条文内容").asText()), "新の法律は、消費税について定めるものとする。");
    EXPECT_EQ(articleField(1, "改正").asInteger(), 230302);
}

TEST_F(ArticleAuthoring, numericFieldsTakeHalfWidthDigitsOnly)
{
    openOn(10);
    for (QLineEdit* field : {editor()->GyoField, editor()->KaiseiField, editor()->BangouNomiField}) {
        platform.clearBoxes();
        field->setFocus();
        field->clear();
        typeText(field, qs("1a２"));
        QTest::keyClick(field, Qt::Key_Backspace);
        typeText(field, qs("05"));
        EXPECT_EQ(field->text(), qs("05")) << field->objectName().toStdString();
        EXPECT_EQ(messages(), (std::vector<std::string>{"半角数字しか入力出来ません", "半角数字しか入力出来ません"}))
            << field->objectName().toStdString();
    }
}

TEST_F(ArticleAuthoring, numericFieldsTakeNoOtherTextByInputMethodPasteOrDrop)
{
    // An input method composes text and commits it.
    auto compose = [](QLineEdit* field, const char* text) {
        QInputMethodEvent composing(qs(text), {});
        QApplication::sendEvent(field, &composing);
        QInputMethodEvent committing;
        committing.setCommitString(qs(text));
        QApplication::sendEvent(field, &committing);
    };
    // Text dragged from another program to be moved; whether the field took it (a refused drop
    // leaves the text where it was).
    auto drop = [](QLineEdit* field, const char* text) {
        QMimeData data;
        data.setText(qs(text));
        QDragEnterEvent entering(QPoint(2, 2), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &entering);
        QDropEvent dropping(QPointF(2, 2), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &dropping);
        QApplication::processEvents();
        return dropping.isAccepted();
    };
    // The field's own paste, as its context menu does it: from the desktop's clipboard.
    auto ownPaste = [](QLineEdit* field, const char* text) {
        QGuiApplication::clipboard()->setText(qs(text));
        field->paste();
        QGuiApplication::clipboard()->clear();
    };
    const std::string digitsOnly = "半角数字しか入力出来ません";

    openOn(10);
    for (QLineEdit* field : {editor()->GyoField, editor()->KaiseiField, editor()->BangouNomiField}) {
        SCOPED_TRACE(field->objectName().toStdString());
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        platform.clearBoxes();
        compose(field, "１２");
        compose(field, "かな");
        platform.setClipboardText(cp932("１"));
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        EXPECT_FALSE(drop(field, "3a"));
        ownPaste(field, "-5");
        EXPECT_TRUE(field->text().isEmpty()) << field->text().toStdString();
        EXPECT_EQ(messages(), std::vector<std::string>(5, digitsOnly));

        // half-width digits come in each way (the drop at the field's start)
        platform.clearBoxes();
        compose(field, "12");
        platform.setClipboardText(cp932("3"));
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        EXPECT_TRUE(drop(field, "4"));
        field->setCursorPosition(field->text().size());
        ownPaste(field, "5");
        EXPECT_TRUE(platform.boxes().empty());
        EXPECT_EQ(field->text(), qs("41235"));
    }
    editor()->NavNext->click();
    EXPECT_EQ(articleField(1, "改正").asInteger(), 41235);

    // the read-only ＫＥＹ takes nothing, and says so for what is not a digit
    platform.clearBoxes();
    QLineEdit* key = editor()->KeyField;
    compose(key, "１");
    platform.setClipboardText(cp932("12"));
    QTest::keyClick(key, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(key->text(), qs("1"));
    EXPECT_EQ(messages(), (std::vector<std::string>{digitsOnly}));
}

TEST_F(ArticleAuthoring, enterInTheAmendmentFieldMakesItTheNewStamp)
{
    openOn(10);
    editor()->KaiseiField->setFocus();
    editor()->KaiseiField->clear();
    typeText(editor()->KaiseiField, qs("240401"));
    pressEnter(editor()->KaiseiField);
    EXPECT_EQ(registry().AmendmentStamp, 240401);
    EXPECT_EQ(editor()->Button48->text(), qs("240401"));
    EXPECT_EQ(editor()->focusWidget(), editor()->BangouNomiField);

    // the button stamps another row with it; 番号のみ marks it
    editor()->NavNext->click();
    editor()->Button48->click();
    editor()->Button90->click();
    EXPECT_EQ(editor()->KaiseiField->text(), qs("240401"));
    editor()->NavNext->click();
    EXPECT_EQ(articleField(1, "改正").asInteger(), 240401);
    EXPECT_EQ(articleField(2, "改正").asInteger(), 240401);
    EXPECT_EQ(articleField(2, "番号のみ").asInteger(), 1);
    EXPECT_TRUE(articleField(1, "番号のみ").isNull() || articleField(1, "番号のみ").asInteger() == 0);

    // a row without a stamp leaves the stamp as it is
    editor()->GyoField->setFocus();
    pressEnter(editor()->GyoField);
    EXPECT_EQ(registry().AmendmentStamp, 240401);
}

TEST_F(ArticleAuthoring, theCategoryCodeOfARowIsCheckedAgainstTheMaster)
{
    openOn(30);
    QLineEdit* code = editor()->RenbanField;
    code->setFocus();
    code->selectAll();
    typeText(code, qs("999"));
    pressEnter(code);
    EXPECT_EQ(messages(), (std::vector<std::string>{"該当の条文区分がありませんので再入力してください"}));
    EXPECT_TRUE(editor()->KubunField->text().isEmpty());
    EXPECT_EQ(editor()->focusWidget(), code);
    EXPECT_EQ(code->selectedText(), qs("999"));

    platform.clearBoxes();
    typeText(code, qs("120"));
    pressEnter(code);
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(editor()->KubunField->text(), qs("消令"));
    EXPECT_NE(editor()->focusWidget(), code);
    editor()->NavNext->click();
    EXPECT_EQ(articleField(3, "条文連番").asInteger(), 120);
    EXPECT_EQ(u8(articleField(3, "条文区分").asText()), "消令");

    // leaving the field checks it too
    code->setFocus();
    code->setText(qs("7"));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(code, &out);
    EXPECT_EQ(messages(), (std::vector<std::string>{"該当の条文区分がありませんので再入力してください"}));
}

TEST_F(ArticleAuthoring, keyJumpAndGyoJumpLocateARow)
{
    openOn(10);
    editor()->Edit1->setText(qs("4"));
    pressEnter(editor()->Edit1);
    EXPECT_EQ(editor()->KeyField->text(), qs("4"));
    editor()->Edit2->setText(qs("30"));
    pressEnter(editor()->Edit2);
    EXPECT_EQ(editor()->KeyField->text(), qs("3"));
    for (const char* missing : {"", "77", "x"}) {
        editor()->Edit1->setText(qs(missing));
        pressEnter(editor()->Edit1);
        editor()->Edit2->setText(qs(missing));
        pressEnter(editor()->Edit2);
        EXPECT_EQ(editor()->KeyField->text(), qs("3")) << missing;
    }
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(ArticleAuthoring, theRangeComboFiltersTheRowsByCategory)
{
    openOn(10);
    QComboBox* range = editor()->ComboBox1;
    EXPECT_EQ(range->currentText(), qs("全範囲"));
    range->setEditText(qs("消令"));
    editor()->ComboBox1Change();
    DataGrid* grid = editor()->DBGrid1;
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_EQ(grid->model()->index(0, 0).data().toString(), qs("4"));
    EXPECT_EQ(grid->model()->index(1, 0).data().toString(), qs("5"));
    EXPECT_EQ(editor()->KeyField->text(), qs("4"));
    range->setEditText(qs("全範囲"));
    editor()->ComboBox1Change();
    EXPECT_EQ(grid->model()->rowCount(), 5);
}

TEST_F(ArticleAuthoring, deletingARowAsksAndStepsBack)
{
    openOn(30);
    platform.queueAnswer(Answer::No);
    editor()->Button3->click();
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(u8(platform.lastBox().caption), "MainTable Delete");
    EXPECT_EQ(u8(platform.lastBox().text), "データを削除して良いですか");
    EXPECT_EQ(platform.lastBox().icon, MessageIcon::Question);
    EXPECT_EQ(articles().rows.size(), 5u);

    platform.queueAnswer(Answer::Yes);
    editor()->Button3->click();
    EXPECT_EQ(articles().rows.size(), 4u);
    EXPECT_TRUE(articleField(3, "行").isNull());
    EXPECT_EQ(editor()->KeyField->text(), qs("2"));

    // the first row has nothing to step back to
    editor()->NavFirst->click();
    platform.queueAnswer(Answer::Yes);
    editor()->Button3->click();
    EXPECT_EQ(editor()->KeyField->text(), qs("2"));
}

TEST_F(ArticleAuthoring, aClickOnAPartlyVisibleRowHighlightsAndDeletesThatRow)
{
    std::vector<ArticleRow> many;
    static std::vector<std::string> numbers;
    numbers.clear();
    for (int i = 1; i <= 60; ++i)
        numbers.push_back(std::to_string(i) + "条");
    for (int i = 1; i <= 60; ++i)
        many.push_back({i, 110, i * 10.0, numbers[static_cast<std::size_t>(i - 1)].c_str(), "見出し", "本文。"});
    restartWith(many);
    openOn(10);
    DataGrid* grid = editor()->DBGrid1;
    QApplication::processEvents();
    // the bottom row the viewport cuts
    const int viewportHeight = grid->viewport()->height();
    int cut = -1;
    for (int r = 0; r < grid->model()->rowCount() && cut < 0; ++r) {
        const QRect rect = grid->visualRect(grid->model()->index(r, 0));
        if (rect.top() < viewportHeight && rect.bottom() >= viewportHeight)
            cut = r;
    }
    ASSERT_GE(cut, 0) << "no partly visible row in a viewport of " << viewportHeight;
    const QRect rect = grid->visualRect(grid->model()->index(cut, 1));
    const QPoint at(rect.center().x(), rect.top() + 2);
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
    const int clickedKey = cut + 1;
    EXPECT_EQ(editor()->KeyField->text(), QString::number(clickedKey));
    const QModelIndexList highlighted = grid->selectionModel()->selectedRows();
    ASSERT_EQ(highlighted.size(), 1);
    EXPECT_EQ(highlighted.front().data().toString(), QString::number(clickedKey));

    platform.queueAnswer(Answer::Yes);
    editor()->Button3->click();
    EXPECT_EQ(articles().rows.size(), 59u);
    EXPECT_TRUE(articleField(clickedKey, "行").isNull()) << "deleted another row than " << clickedKey;
    EXPECT_FALSE(articleField(clickedKey + 1, "行").isNull());

    // after the delete, scrolling and keys, the highlight is still the current row
    grid->verticalScrollBar()->setValue(0);
    QTest::keyClick(grid, Qt::Key_Down);
    QApplication::processEvents();
    const QModelIndexList now = grid->selectionModel()->selectedRows();
    ASSERT_EQ(now.size(), 1);
    EXPECT_EQ(now.front().data().toString(), editor()->KeyField->text());
}

TEST_F(ArticleAuthoring, theRowsEditsReachTheFileWhenTheCursorMovesAndCancelDropsThem)
{
    openOn(20);
    typeText(editor()->HyodaiField, qs("等"));
    editor()->GyoField->selectAll();
    typeText(editor()->GyoField, qs("25"));
    EXPECT_EQ(u8(articleField(2, "表題").asText()), "定義");
    editor()->NavNext->click();
    EXPECT_EQ(u8(articleField(2, "表題").asText()), "定義等");
    EXPECT_EQ(articleField(2, "行").asFloat(), 25.0);
    EXPECT_EQ(editor()->KeyField->text(), qs("3"));

    typeText(editor()->HyodaiField, qs("等"));
    editor()->NavCancel->click();
    EXPECT_EQ(editor()->HyodaiField->text(), qs("納税義務者"));
    editor()->NavPrior->click();
    EXPECT_EQ(u8(articleField(3, "表題").asText()), "納税義務者");

    // choosing a row in the grid is a move too
    typeText(editor()->HyodaiField, qs("等"));
    editor()->DBGrid1->selectRow(4);
    EXPECT_EQ(editor()->KeyField->text(), qs("5"));
    EXPECT_EQ(u8(articleField(2, "表題").asText()), "定義等等");
}

TEST_F(ArticleAuthoring, gridsGiveTheirLastColumnsTheRemainingWidth)
{
    openOn(10);
    editor()->resize(900, 600);
    QApplication::processEvents();
    DataGrid* articlesGrid = editor()->DBGrid1;
    int others = 0;
    for (int c = 0; c < 7; ++c)
        others += articlesGrid->columnWidth(c);
    EXPECT_EQ(articlesGrid->columnWidth(7), articlesGrid->width() - others - 41);

    editor()->PageControl1->setCurrentWidget(editor()->TabSheet2);
    QApplication::processEvents();
    DataGrid* linksGrid = editor()->DBGrid2;
    int besides = 0;
    for (int c : {0, 2, 3, 4})
        besides += linksGrid->columnWidth(c);
    EXPECT_EQ(linksGrid->columnWidth(1), linksGrid->width() - besides - 38);
}

// ---- the pure rules -------------------------------------------------------------------------

TEST(NormalizePastedText, replacesHalfWidthAndLookAlikeCharactersOnCharacterBoundaries)
{
    const std::vector<std::pair<const char*, const char*>> cases{
        {"(1) 1,000円", "（１）　１，０００円"},
        {"0123456789", "０１２３４５６７８９"},
        {"a-b.c", "a－b．c"},
        {"･─―┼", "・－－＋"},
        {"{x}[y]", "（x）〔y〕"},
        {"\\100", "￥１００"},
        {"ロ座振替", "口座振替"},
        {"ソ表", "ソ表"},  // trail bytes 0x5C and 0x5B are not brackets
        {"", ""},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(u8(authoring::NormalizePastedText(cp932(input))), expected) << input;
}

TEST(TrimFullWidthSpaces, removesFullWidthSpacesAtBothEndsOnly)
{
    const std::vector<std::pair<const char*, const char*>> cases{
        {"　　第二条　", "第二条"}, {"第二条", "第二条"}, {"　", ""}, {"第　二条", "第　二条"}, {" 第二条 ", " 第二条 "}};
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(u8(authoring::TrimFullWidthSpaces(cp932(input))), expected) << input;
}

TEST(LooksLikeArticleNumber, numberLinesAndTitleLines)
{
    const std::vector<std::pair<const char*, bool>> cases{
        {"第二条", true},     {"第２条の２", true},  {"第８４１条ノ２", true}, {"第２条の", false},
        {"２－１－３", true}, {"２－１－１３", true}, {"（定義）", false},      {"定義", false},
        {"条の規定", false},  {"第２条の二", true}, {"１－１", true},         {"", false},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(authoring::LooksLikeArticleNumber(cp932(line)), expected) << line;
}

TEST_F(ArticleAuthoring, enterMovesOnAndAClickSelectsTheJumpAndCodeFields)
{
    openOn(20);
    pressEnter(editor()->HyodaiField);
    EXPECT_EQ(editor()->focusWidget(), editor()->BangouField);
    pressEnter(editor()->BangouField);
    EXPECT_EQ(editor()->focusWidget(), editor()->ComboBox2);
    editor()->PageControl1->setCurrentWidget(editor()->TabSheet3);
    pressEnter(editor()->Edit4);
    EXPECT_EQ(editor()->focusWidget(), editor()->Edit5);
    pressEnter(editor()->Edit5);
    EXPECT_EQ(editor()->focusWidget(), editor()->Edit6);
    EXPECT_TRUE(platform.boxes().empty());

    editor()->Edit1->setText(qs("12"));
    editor()->Edit2->setText(qs("340"));
    for (QLineEdit* field : {editor()->RenbanField, editor()->Edit1, editor()->Edit2}) {
        QTest::mouseClick(field, Qt::LeftButton);
        EXPECT_EQ(field->selectedText(), field->text()) << field->objectName().toStdString();
    }
}
