// The link editor as it is shown, through the real window offscreen: where the article text's
// caret lands for the text view's caret, the selection made there, and how far the article text
// is scrolled on a screen lower than 700 pixels, on a higher one and on one of exactly 700.
#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <cmath>

#include "EditorFixture.h"
#include "authoring/ArticleAuthoring.h"

using namespace authoringtest;

namespace {

// Sixty short lines 「本文００行目の文です。」 … 「本文５９行目の文です。」 (24 bytes each with the
// line break), none of which wraps in the view or in the article text.
std::string sixtyLines(const char* lastLineEnd = "")
{
    static const char* const digits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
    std::string out;
    for (int i = 0; i < 60; ++i) {
        if (i)
            out += "\r\n";
        out += std::string("本文") + digits[i / 10] + digits[i % 10] + "行目の文です。";
    }
    return out + lastLineEnd;
}

// The top line of a text control, counted as the editor counts lines: the last line whose top
// is at or above the scroll position. Every block here is one line.
int firstVisibleLine(QTextEdit* edit)
{
    const QTextDocument* document = edit->document();
    const int top = edit->verticalScrollBar()->value();
    int first = 0;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        EXPECT_LE(block.layout()->lineCount(), 1) << "block " << block.blockNumber() << " wraps";
        if (document->documentLayout()->blockBoundingRect(block).top() <= top + 0.5)
            first = block.blockNumber();
    }
    return first;
}

void scrollToLine(QTextEdit* edit, int line)
{
    const QTextDocument* document = edit->document();
    const qreal top = document->documentLayout()->blockBoundingRect(document->findBlockByNumber(line)).top();
    edit->verticalScrollBar()->setValue(static_cast<int>(std::ceil(top)));
    ASSERT_EQ(firstVisibleLine(edit), line);
}

class LinkEditorShowing : public EditorTest {
protected:
    void SetUp() override
    {
        static const std::string plain = sixtyLines("終わり");
        static const std::string barred = sixtyLines("｜");
        auto articleRows = standardArticles();
        articleRows[1].content = plain.c_str();   // 第２条（定義）, Gyo 20
        articleRows[2].content = barred.c_str();  // 第３条（納税義務者）, Gyo 30
        articleRows.push_back({6, 130, 60, "６条", "雑則", "この政令に定めるもののほか、必要な事項は、財務大臣が定める。"});
        writeVolume(authoringVolume(articleRows));
        start();
    }

    // Opens the editor on the article of gyo on a screen of the given height, with the text
    // view's caret on phrase (selected, or only the caret there) and the view scrolled so that
    // viewTopLine is its first visible line.
    void openShowing(int screenHeight, int gyo, const char* phrase, int viewTopLine, bool selectPhrase = true)
    {
        platform.setScreenHeight(screenHeight);
        showArticle(gyo);
        selectInView(phrase);
        if (!selectPhrase)
            view()->setCaretPosition(view()->selectionStart());
        scrollToLine(view(), viewTopLine);
        open();
        ASSERT_NE(editor(), nullptr);
    }
    void closeEditor()
    {
        editor()->close();
        flushDeletes();
        ASSERT_EQ(editor(), nullptr);
    }
    // The article text's first visible line when the editor opens so.
    int articleTopLine(int screenHeight, int gyo, const char* phrase, int viewTopLine)
    {
        openShowing(screenHeight, gyo, phrase, viewTopLine);
        const int line = firstVisibleLine(editor()->DBRichEdit1);
        // the scrolling never moves the caret out of sight
        EXPECT_EQ(u8(editor()->DBRichEdit1->selectedText()).size(), 9u) << phrase;
        closeEditor();
        return line;
    }
};

}  // namespace

TEST_F(LinkEditorShowing, theArticleCaretIsTheViewCaretLessTheHeadingAndASelectionFollowsIt)
{
    // The view shows 「消費税法」 and 「第２条（定義）」 (26 bytes with their line breaks) above the
    // article; the heading is reckoned as 表題 4 + 条文本文 4 + 8 + 正式名 8 = 24 bytes, so the
    // caret lands one character after the view's. The selection takes 6 bytes, or 4 or 2 where
    // the text ends sooner.
    struct Case {
        int gyo;
        const char* phrase;  // where the view's caret is
        bool selected;       // selected, or only the caret put there
        const char* articleSelection;
        int articleCaret;
    };
    const std::vector<Case> cases{
        {20, "本文２５行目", true, "文２５", 25 * 24 + 2},
        {20, "本文２５行目", false, "文２５", 25 * 24 + 2},
        {20, "本文００行目", true, "文００", 2},
        {20, "終わり", true, "わり", 59 * 24 + 24},
        {20, "わり", true, "り", 59 * 24 + 26},
        {20, "り", true, "", 59 * 24 + 28},
        {20, "消費税法", true, "本文０", 0},        // a caret inside the heading goes to the start
        // 第６条's code has no master row: its 正式名 counts 8 bytes, while the view shows an empty
        // line for the law's name (18 bytes of heading, 24 reckoned).
        {60, "必要な事項", true, "ほか、", 22},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.phrase);
        openShowing(1024, c.gyo, c.phrase, 0, c.selected);
        EXPECT_EQ(u8(editor()->DBRichEdit1->selectedText()), c.articleSelection);
        EXPECT_EQ(editor()->DBRichEdit1->selectionStart(), c.articleCaret);
        closeEditor();
    }
}

TEST_F(LinkEditorShowing, theArticleTextScrollsByTheScreensRule)
{
    // Each case is measured against the same opening on a screen of exactly 700 pixels, where
    // neither rule scrolls. Below 700 the opening scrolls 5 lines once the caret has taken the
    // text past its fifth line; above 700 the showing scrolls the view's first visible line less
    // 3, plus one line for every 500 bytes before the caret unless the text holds 「｜」.
    struct Case {
        int screenHeight;
        int gyo;              // 20: sixty lines; 30: the same with 「｜」 at the end
        const char* phrase;   // 本文２５行目: article caret 602; 本文１０行目: 242; 本文０２行目: 50
        int viewTopLine;
        int linesFurther;
        const char* why;
    };
    const std::vector<Case> cases{
        {699, 20, "本文２５行目", 6, 5, "low screen, caret past line 5"},
        {600, 20, "本文２５行目", 0, 5, "low screen, whatever the view shows"},
        {699, 20, "本文０２行目", 6, 0, "low screen, text still at its top"},
        {701, 20, "本文２５行目", 6, 4, "high screen: 6 - 3 + 602 / 500"},
        {1024, 20, "本文２５行目", 6, 4, "high screen: 6 - 3 + 602 / 500"},
        {1024, 30, "本文２５行目", 6, 3, "high screen, 「｜」 in the text: 6 - 3"},
        {1024, 20, "本文１０行目", 6, 3, "high screen: 6 - 3 + 242 / 500"},
        {1024, 20, "本文２５行目", 3, 1, "high screen: 3 - 3 + 602 / 500"},
        {1024, 20, "本文２５行目", 2, 0, "high screen: 2 - 3 + 602 / 500 is not above 0"},
        {1024, 30, "本文２５行目", 3, 0, "high screen, 「｜」 in the text: 3 - 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const int unscrolled = articleTopLine(700, c.gyo, c.phrase, c.viewTopLine);
        if (c.screenHeight < 700 && c.linesFurther > 0) {
            EXPECT_GT(unscrolled, 5);
        }
        if (std::string(c.phrase) == "本文０２行目") {
            EXPECT_EQ(unscrolled, 0);
        }
        EXPECT_EQ(articleTopLine(c.screenHeight, c.gyo, c.phrase, c.viewTopLine), unscrolled + c.linesFurther);
    }
    EXPECT_TRUE(platform.boxes().empty()) << messages().front();
}

// ---- the pure rules ---------------------------------------------------------------------------

TEST(ArticleCaretFromViewCaret, subtractsTheReckonedHeadingAndTwoBytesPerLeadingMark)
{
    struct Case {
        int viewCaret;
        const char* officialName;  // nullptr: the master has no row
        const char* viewText;
        int expected;
    };
    // 表題 「定義」 and 条文本文 「２条」: 4 + 4 + 8 bytes before the official name.
    const std::vector<Case> cases{
        {100, "消費税法", "消費税法\r\n", 76},
        {100, "消費税法施行令", "消費税法施行令\r\n", 70},
        {100, nullptr, "\r\n第２条", 76},
        {100, "消費税法", "＊消費税法", 74},
        {100, "消費税法", "＊○☆×消費", 68},
        {100, "消費税法", "消費税＊法", 74},     // the fourth character counts
        {100, "消費税法", "消費税法＊", 76},     // the fifth does not
        {100, "消費税法", "ab＊c", 74},          // half-width characters are characters too
        {100, "消費税法", "", 76},
        {24, "消費税法", "消費税法", 0},         // a caret inside the heading goes to the start
        {25, "消費税法", "消費税法", 1},
        {0, "消費税法", "消費税法", 0},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> name = c.officialName ? std::optional(cp932(c.officialName)) : std::nullopt;
        EXPECT_EQ(authoring::ArticleCaretFromViewCaret(c.viewCaret, cp932("定義"), cp932("２条"), name, cp932(c.viewText)),
                  c.expected)
            << c.viewText << " caret " << c.viewCaret;
    }
}

TEST(InitialSelectionLength, sixBytesOrFourOrTwoOrNone)
{
    struct Case {
        int caret;
        int textLength;
        int expected;
    };
    const std::vector<Case> cases{{0, 10, 6}, {4, 10, 6}, {5, 10, 4}, {6, 10, 4}, {7, 10, 2},
                                  {8, 10, 2}, {9, 10, 0}, {10, 10, 0}, {0, 0, 0}, {0, 1, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(authoring::InitialSelectionLength(c.caret, c.textLength), c.expected)
            << c.caret << " of " << c.textLength;
}
