// The article text field's limit of 100000 characters, through the real window offscreen: keys,
// input-method commits, the pastes, drops and SpecialPaste that would take the text past it are
// refused whole with a message, and a row already longer opens and stays whole.
#include <QCheckBox>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

#include "EditorFixture.h"
#include "authoring/ArticleAuthoring.h"

using namespace authoringtest;

namespace {

constexpr char kTooLong[] = "条文内容は、１０００００文字以内です";

// A text of n characters (UTF-8): lines of 49 「あ」, a line break counting one character.
std::string textOfCharacters(int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += (i % 50 == 49 && i + 1 < n) ? "\r\n" : "あ";
    return out;
}

class ArticleTextLimit : public EditorTest {
protected:
    // 第２条 (Gyo 20, ＫＥＹ 2) holds a text of `characters` characters; the editor is opened on
    // 第１条 and moved to it, so that the browser never renders the long text.
    void openOnLongRow(int characters)
    {
        m_long = textOfCharacters(characters);
        auto articleRows = standardArticles();
        articleRows[1].content = m_long.c_str();
        writeVolume(authoringVolume(articleRows));
        start();
        openOn(10);
        ASSERT_NE(editor(), nullptr);
        editor()->NavNext->click();
        ASSERT_EQ(editor()->KeyField->text(), qs("2"));
        ASSERT_EQ(field()->characterCount(), characters);
        field()->setFocus();
        field()->setCaretPosition(field()->textLength());
        platform.clearBoxes();
    }
    ArticleTextField* field() { return editor()->DBRichEdit1; }
    // The row's 条文内容 as the file holds it once the cursor has moved off the row and back is
    // expected (UTF-8); a difference is told by its place, not by printing both texts.
    void expectStored(const std::string& expected)
    {
        editor()->NavPrior->click();
        editor()->NavNext->click();
        const std::string stored = u8(articleField(2, "条文内容").asText());
        const auto differ = std::mismatch(stored.begin(), stored.end(), expected.begin(), expected.end());
        EXPECT_TRUE(stored == expected) << "stored " << stored.size() << " bytes, expected " << expected.size()
                                        << ", first difference at byte " << (differ.first - stored.begin());
    }
    // An input method composes text (shown, not yet in the text) and then commits it.
    void compose(QWidget* target, const QString& text)
    {
        QInputMethodEvent composing(text, {});
        QApplication::sendEvent(target, &composing);
        QInputMethodEvent committing;
        committing.setCommitString(text);
        QApplication::sendEvent(target, &committing);
    }
    QString composition() { return field()->textCursor().block().layout()->preeditAreaText(); }
    // Drops text from another program into the field; whether the drop was taken (a refused one
    // leaves the text with the program it came from, even when it was dragged to be moved).
    bool drop(const QString& text)
    {
        QMimeData data;
        data.setText(text);
        QDragEnterEvent entering(QPoint(5, 5), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field()->viewport(), &entering);
        QDropEvent event(QPointF(5, 5), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field()->viewport(), &event);
        QApplication::processEvents();
        return event.isAccepted();
    }
    std::string m_long;
};

}  // namespace

TEST_F(ArticleTextLimit, typingStopsAtTheLimitAndDeletingMakesRoomAgain)
{
    openOnLongRow(99999);
    editor()->CheckBox1->setChecked(true);
    typeText(field(), qs("い"));
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(field()->characterCount(), 100000);
    EXPECT_EQ(editor()->KaiseiField->text(), qs("230302"));

    // neither a character nor a line break gets in, and the refused key stamps nothing
    editor()->KaiseiField->setText(QString());
    editor()->Table1.SetFieldValue("改正", store::Value());
    typeText(field(), qs("う"));
    QTest::keyClick(field(), Qt::Key_Return);
    EXPECT_EQ(messages(), (std::vector<std::string>{kTooLong, kTooLong}));
    EXPECT_EQ(field()->characterCount(), 100000);
    EXPECT_TRUE(editor()->KaiseiField->text().isEmpty());

    // a character replacing a selected one keeps the length and is taken
    platform.clearBoxes();
    field()->select(field()->textLength() - 2, 2);
    typeText(field(), qs("え"));
    QTest::keyClick(field(), Qt::Key_Backspace);
    typeText(field(), qs("お"));
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(field()->characterCount(), 100000);
    expectStored(textOfCharacters(99999) + "お");
}

TEST_F(ArticleTextLimit, anInputMethodCommitPastTheLimitIsRefusedWhole)
{
    openOnLongRow(99999);
    editor()->CheckBox1->setChecked(true);
    compose(field(), qs("かな"));
    EXPECT_EQ(messages(), (std::vector<std::string>{kTooLong}));
    EXPECT_EQ(field()->characterCount(), 99999);
    EXPECT_EQ(editor()->KaiseiField->text(), qs("0"));
    // the composition ended with the refusal: nothing of it stays on show
    EXPECT_TRUE(composition().isEmpty()) << composition().toStdString();

    platform.clearBoxes();
    field()->select(field()->textLength() - 2, 2);
    compose(field(), qs("かな"));
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(field()->characterCount(), 100000);
    EXPECT_EQ(editor()->KaiseiField->text(), qs("230302"));
    expectStored(textOfCharacters(99998) + "かな");
}

TEST_F(ArticleTextLimit, aPastePastTheLimitPastesNothingAndLeavesTheClipboard)
{
    openOnLongRow(99999);
    editor()->CheckBox1->setChecked(true);
    platform.setClipboardText(cp932("ab"));
    const std::size_t writes = platform.clipboardWrites().size();
    for (auto paste : {+[](THyperLink* e) { e->Button92->click(); }, +[](THyperLink* e) { e->Button91->click(); },
                       +[](THyperLink* e) { QTest::keyClick(e->DBRichEdit1, Qt::Key_V, Qt::ControlModifier); }})
        paste(editor());
    EXPECT_EQ(messages(), (std::vector<std::string>{kTooLong, kTooLong, kTooLong}));
    EXPECT_EQ(field()->characterCount(), 99999);
    EXPECT_EQ(platform.clipboardWrites().size(), writes);
    EXPECT_EQ(u8(platform.clipboardText()), "ab");
    EXPECT_EQ(editor()->KaiseiField->text(), qs("0"));
    EXPECT_EQ(editor()->focusWidget(), field());

    // a pasted line break counts one character, like a typed one
    platform.clearBoxes();
    platform.setClipboardText(cp932("x\r\n(y)"));
    field()->select(field()->textLength() - 8, 8);
    editor()->Button92->click();
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(field()->characterCount(), 100000);
    EXPECT_EQ(editor()->KaiseiField->text(), qs("230302"));
    expectStored(textOfCharacters(99995) + "x\r\n（y）");
}

TEST_F(ArticleTextLimit, aDropPastTheLimitIsRefused)
{
    openOnLongRow(99999);
    field()->select(0, 4);  // a selection is not replaced by a drop
    EXPECT_FALSE(drop(qs("ab")));
    EXPECT_EQ(messages(), (std::vector<std::string>{kTooLong}));
    EXPECT_EQ(field()->characterCount(), 99999);

    platform.clearBoxes();
    EXPECT_TRUE(drop(qs("c")));
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(field()->characterCount(), 100000);
}

TEST_F(ArticleTextLimit, specialPasteOfATooLongArticleFillsNothing)
{
    openOnLongRow(10);
    platform.queueAnswer(Answer::Yes);
    editor()->Button6->click();
    platform.clearBoxes();
    const std::string tooLong = textOfCharacters(100001);
    platform.setClipboardText(cp932("（定義）\r\n第二条\r\n" + tooLong));
    const std::size_t writes = platform.clipboardWrites().size();
    editor()->Button7->click();
    EXPECT_EQ(messages(), (std::vector<std::string>{kTooLong}));
    EXPECT_TRUE(editor()->HyodaiField->text().isEmpty());
    EXPECT_TRUE(editor()->BangouField->text().isEmpty());
    EXPECT_EQ(field()->characterCount(), 0);
    EXPECT_EQ(platform.clipboardWrites().size(), writes);

    platform.clearBoxes();
    const std::string longest = textOfCharacters(100000);
    platform.setClipboardText(cp932("（定義）\r\n第二条\r\n" + longest));
    editor()->Button7->click();
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(editor()->HyodaiField->text(), qs("定義"));
    EXPECT_EQ(field()->characterCount(), 100000);
    expectStored(longest);
}

TEST_F(ArticleTextLimit, aRowAlreadyLongerOpensWholeAndOnlyShrinks)
{
    openOnLongRow(100005);
    EXPECT_TRUE(u8(field()->plainText()) == m_long);
    typeText(field(), qs("い"));
    EXPECT_EQ(messages(), (std::vector<std::string>{kTooLong}));
    EXPECT_EQ(field()->characterCount(), 100005);

    platform.clearBoxes();
    QTest::keyClick(field(), Qt::Key_Backspace);
    field()->select(field()->textLength() - 2, 2);
    typeText(field(), qs("い"));
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(field()->characterCount(), 100004);
    expectStored(textOfCharacters(100003) + "い");
}

// ---- the pure rules ---------------------------------------------------------------------------

TEST(ArticleTextCharacters, countsCharactersWithALineBreakAsOne)
{
    const std::vector<std::pair<const char*, int>> cases{
        {"", 0}, {"あ", 1}, {"ab", 2}, {"あ\r\nい", 3}, {"あ\rい", 3}, {"あ\nい", 3}, {"\r\n\r\n", 2}, {"\n\r", 2}, {"ｱｲ", 2}};
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(authoring::ArticleTextCharacters(cp932(input)), expected) << input;
}

TEST(ArticleTextEditFits, theTextNeverGrowsPastTheLimit)
{
    struct Case {
        int current;
        int replaced;
        int inserted;
        bool fits;
    };
    const std::vector<Case> cases{
        {0, 0, 100000, true},       {0, 0, 100001, false},     {99999, 0, 1, true},
        {100000, 0, 1, false},      {100000, 1, 1, true},      {100000, 2, 3, false},
        {100005, 0, 1, false},      {100005, 1, 1, true},      {100005, 6, 2, true},
        {100005, 100005, 0, true},  {50, 50, 100001, false},   {0, 0, 0, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(authoring::ArticleTextEditFits(c.current, c.replaced, c.inserted), c.fits)
            << c.current << " - " << c.replaced << " + " << c.inserted;
}
