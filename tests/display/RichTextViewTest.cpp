// The rich-text view on a real widget offscreen: byte offsets both ways over double-byte
// characters, half-width katakana and line ends; selection, find, character under a point,
// mouse signals, copying, rendering of indents and colours, and refused documents.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QMimeData>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <string>
#include <vector>

#include "TestApplication.h"
#include "display/Fonts.h"
#include "display/PlainTextMap.h"
#include "display/RichTextView.h"
#include "display/RtfUnits.h"
#include "display/TextSearch.h"
#include "platform/QtPlatform.h"
#include "text/Cp932.h"

using text::cp932;

namespace {

// An article document of lines with one colour each, as the renderer writes them.
std::string articleDocument(const std::vector<std::pair<std::string, std::string>>& lines)
{
    std::string rtf =
        "{\\rtf1\\ansi\r\n"
        "{\\fonttbl{\\f0\\fnil\\fcharset128\\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}\r\n"
        "{\\colortbl\\red0\\green0\\blue0;\r\n\\red255\\green0\\blue0;\r\n\\red255\\green0\\blue255;\r\n"
        "\\red0\\green0\\blue255;\r\n\\red0\\green150\\blue0;}\r\n";
    for (const auto& [prefix, utf8] : lines) {
        rtf += "\\sl-264" + prefix + " ";
        for (char c : cp932(utf8)) {
            if (c == '\\' || c == '{' || c == '}')
                rtf += '\\';
            rtf += c;
        }
        rtf += "}\r\n\\par\r\n";
    }
    return rtf + "\\par}";
}

class RichTextViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_display::ensureApplication(); }

    void SetUp() override
    {
        m_view = std::make_unique<RichTextView>();
        m_view->resize(600, 300);
        m_view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_view.get()));
    }

    // The rectangle, in viewport coordinates, of the character at cursor position p.
    QRect characterRect(int position) const
    {
        QTextCursor at(m_view->document());
        at.setPosition(position);
        QTextCursor next(m_view->document());
        next.setPosition(position + 1);
        QRect a = m_view->cursorRect(at);
        QRect b = m_view->cursorRect(next);
        return QRect(QPoint(a.left(), a.top()), QPoint(b.left(), a.bottom()));
    }

    std::unique_ptr<RichTextView> m_view;
};

// ｱ is one byte, 表 two (its second byte is 5C), a one, and every line end two.
const std::vector<std::pair<std::string, std::string>> kMixedLines = {
    {"\\li0\\fi0{\\cf0", "ｱ表a"},
    {"\\li0\\fi0{\\cf0", "ソ１"},
};

TEST_F(RichTextViewTest, PlainText_isCodePage932WithCrLfLineEnds)
{
    ASSERT_TRUE(m_view->loadRtf(articleDocument(kMixedLines)));
    EXPECT_EQ(m_view->plainText(), cp932("ｱ表a\r\nソ１\r\n"));
    EXPECT_EQ(m_view->textLength(), 12);
}

TEST_F(RichTextViewTest, ByteOffsets_convertBothWaysOverDoubleByteKatakanaAndLineEnds)
{
    ASSERT_TRUE(m_view->loadRtf(articleDocument(kMixedLines)));
    display::PlainTextMap map(*m_view->document());
    // cursor position → byte offset where its character begins
    const std::vector<std::pair<int, int>> byteOfPosition = {{0, 0}, {1, 1}, {2, 3}, {3, 4}, {4, 6},
                                                            {5, 8}, {6, 10}, {7, 12}, {99, 12}};
    for (const auto& [position, byte] : byteOfPosition)
        EXPECT_EQ(map.byteOfPosition(position), byte) << "position " << position;
    // byte offset → cursor position of the character that holds it
    const std::vector<std::pair<int, int>> positionOfByte = {{-1, 0}, {0, 0}, {1, 1},  {2, 1},  {3, 2},
                                                            {4, 3},  {5, 3}, {6, 4},  {7, 4},  {8, 5},
                                                            {9, 5},  {10, 6}, {11, 6}, {12, 7}, {40, 7}};
    for (const auto& [byte, position] : positionOfByte)
        EXPECT_EQ(map.positionOfByte(byte), position) << "byte " << byte;

    // The caret lands on the start of the character that holds the byte.
    const std::vector<std::pair<int, int>> caret = {{0, 0}, {2, 1}, {3, 3}, {5, 4}, {7, 6}, {9, 8}, {50, 12}};
    for (const auto& [set, read] : caret) {
        m_view->setCaretPosition(set);
        EXPECT_EQ(m_view->caretPosition(), read) << "caret set to " << set;
    }
}

TEST_F(RichTextViewTest, Select_takesWholeCharactersAndLineEnds)
{
    ASSERT_TRUE(m_view->loadRtf(articleDocument(kMixedLines)));
    struct Case {
        int start, length;
        int selStart, selLength;
        const char* text;
    };
    const std::vector<Case> cases = {
        {1, 2, 1, 2, "表"},
        {2, 4, 1, 5, "表a\r\n"},      // starts on 表's second byte
        {7, 1, 6, 2, "ソ"},           // inside ソ
        {3, 2, 3, 3, "a\r\n"},        // ends between CR and LF
        {6, -3, 3, 3, "a\r\n"},       // backwards
        {10, 100, 10, 2, "\r\n"},     // past the end
        {4, 0, 4, 0, ""},
    };
    for (const Case& c : cases) {
        m_view->select(c.start, c.length);
        EXPECT_EQ(m_view->selectionStart(), c.selStart) << c.start << "," << c.length;
        EXPECT_EQ(m_view->selectionLength(), c.selLength) << c.start << "," << c.length;
        EXPECT_EQ(m_view->selectedText(), cp932(c.text)) << c.start << "," << c.length;
    }
    m_view->selectAll();
    EXPECT_EQ(m_view->selectionStart(), 0);
    EXPECT_EQ(m_view->selectionLength(), 12);
    EXPECT_EQ(m_view->selectedText(), m_view->plainText());
}

TEST_F(RichTextViewTest, FindText_ignoresCaseOnWholeCharactersWithinTheRange)
{
    ASSERT_TRUE(m_view->loadRtf(articleDocument({
        {"\\li0\\fi0{\\cf0", "Abc ａｂｃ ΑΒΓ Жж 表示 ｶﾀｶﾅ"},
        {"\\li0\\fi0{\\cf0", "abc ⅰ"},
    })));
    const std::string plain = m_view->plainText();
    const int secondLine = static_cast<int>(plain.find("\r\n")) + 2;
    struct Case {
        const char* needle;
        int from, to;
        int expected;  // -1: none; -2: the second line's start
    };
    const std::vector<Case> cases = {
        {"abc", 0, -1, 0},
        {"ABC", 1, -1, -2},
        {"ＡＢＣ", 0, -1, 4},
        {"ａｂｃ", 0, -1, 4},
        {"abc", 0, 2, -1},    // the match must end within the range
        {"abc", 0, 3, 0},
        {"αβγ", 0, -1, 11},
        {"жЖ", 0, -1, 18},
        {"\\", 0, -1, -1},    // only 表's second byte
        {"示", 0, -1, 25},
        {"ｶﾀ", 0, -1, 28},
        {"カタ", 0, -1, -1},  // full-width is not half-width
        {"Ａ", 0, -1, 4},
        {"A", 5, -1, -2},
        {"ﾅ\r\nAB", 0, -1, 31},
        {"Ⅰ", 0, -1, -3},    // ⅰ, the Roman numeral, in another case
        {"a", -5, -1, 0},
        {"", 0, -1, -1},
    };
    for (const Case& c : cases) {
        int expected = c.expected == -2 ? secondLine : c.expected == -3 ? secondLine + 4 : c.expected;
        EXPECT_EQ(m_view->findText(cp932(c.needle), c.from, c.to), expected) << c.needle;
    }
    // Both codes of Ⅰ (87 54 and FA 4A) match ⅰ (FA 40).
    EXPECT_EQ(display::findTextIgnoringCase("\xfa\x40", "\x87\x54", 0, -1), 0);
    EXPECT_EQ(display::findTextIgnoringCase("\xfa\x40", "\xfa\x4a", 0, -1), 0);
}

TEST_F(RichTextViewTest, CharIndexFromPoint_givesTheCharacterUnderThePoint)
{
    ASSERT_TRUE(m_view->loadRtf(articleDocument(kMixedLines)));
    const std::vector<std::pair<int, int>> characters = {{0, 0}, {1, 1}, {2, 3}, {4, 6}, {5, 8}};
    for (const auto& [position, byte] : characters) {
        QRect r = characterRect(position);
        ASSERT_GT(r.width(), 2) << position;
        const int y = r.center().y();
        EXPECT_EQ(m_view->charIndexFromPoint(QPoint(r.left() + 1, y)), byte) << "left half of " << position;
        EXPECT_EQ(m_view->charIndexFromPoint(QPoint(r.right() - 1, y)), byte) << "right half of " << position;
    }
    // Right of a line's text: that line's end.
    QRect a = characterRect(0);
    EXPECT_EQ(m_view->charIndexFromPoint(QPoint(500, a.center().y())), 4);
    // Below the text: its end.
    EXPECT_EQ(m_view->charIndexFromPoint(QPoint(10, 290)), 12);
}

TEST_F(RichTextViewTest, CharIndexFromPoint_besideAWrappedLineGivesItsLastCharacter)
{
    std::string words;
    for (int i = 0; i < 30; ++i)
        words += "word" + std::to_string(i) + " ";
    ASSERT_TRUE(m_view->loadRtf(articleDocument({{"\\li0\\fi0{\\cf0", words}})));
    const QTextLayout* layout = m_view->document()->begin().layout();
    ASSERT_GE(layout->lineCount(), 2);
    const QTextLine first = layout->lineAt(0);
    const int lastOfFirstLine = first.textStart() + first.textLength() - 1;
    QRect r = characterRect(first.textStart());
    EXPECT_EQ(m_view->charIndexFromPoint(QPoint(m_view->viewport()->width() - 2, r.center().y())), lastOfFirstLine);
}

TEST_F(RichTextViewTest, CharIndexFromPoint_followsTheScrolledText)
{
    std::vector<std::pair<std::string, std::string>> lines;
    for (int i = 0; i < 60; ++i)
        lines.push_back({"\\li0\\fi0{\\cf0", "行" + std::to_string(i % 10)});
    ASSERT_TRUE(m_view->loadRtf(articleDocument(lines)));
    m_view->setCaretPosition(50 * 5);  // each line: 行 (2), digit (1), CR LF (2)
    ASSERT_GT(m_view->verticalScrollBar()->value(), 0);
    QRect r = characterRect(50 * 3);
    EXPECT_EQ(m_view->charIndexFromPoint(QPoint(r.left() + 1, r.center().y())), 250);
}

TEST_F(RichTextViewTest, LoadRtf_aLongArticleShowsItsFirstScreenAsLaidOutWholeAndReachesItsLastLine)
{
    std::vector<std::pair<std::string, std::string>> lines;
    for (int i = 0; i < 400; ++i)
        lines.push_back({i % 2 ? "\\li480\\fi-480{\\cf3" : "\\li0\\fi0{\\cf0",
                         "第" + std::to_string(i) + "行　内国法人の各事業年度の所得の金額の計算上、当該事業年度の損金の額に算入しない。"});
    const std::string rtf = articleDocument(lines);
    ASSERT_TRUE(m_view->loadRtf(rtf));
    m_view->setCursorWidth(0);  // the caret blinks, in the view that has the focus only
    QApplication::processEvents();
    const QImage firstScreen = m_view->viewport()->grab().toImage();

    // The same article in a view that has laid out every line (its caret went to the end and
    // back) shows the same text on its first screen.
    RichTextView whole;
    whole.resize(600, 300);
    whole.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&whole));
    ASSERT_TRUE(whole.loadRtf(rtf));
    whole.setCursorWidth(0);
    whole.setCaretPosition(whole.textLength());
    whole.setCaretPosition(0);
    whole.verticalScrollBar()->setValue(0);
    QApplication::processEvents();
    EXPECT_EQ(whole.viewport()->grab().toImage(), firstScreen);

    // Ctrl+End shows the last line, wherever the layout had got to.
    QTest::keyClick(m_view->viewport(), Qt::Key_End, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_TRUE(m_view->viewport()->rect().contains(m_view->cursorRect()));
    EXPECT_EQ(m_view->textCursor().block().text(), QString());  // the empty paragraph after the last line
    EXPECT_TRUE(m_view->textCursor().block().previous().text().startsWith(QStringLiteral("第399行")));

    // Once the program is idle, the scroll bar spans the whole article.
    for (int wait = 0; wait < 500 && m_view->verticalScrollBar()->maximum() != whole.verticalScrollBar()->maximum(); ++wait)
        QTest::qWait(10);
    EXPECT_EQ(m_view->verticalScrollBar()->maximum(), whole.verticalScrollBar()->maximum());
}

TEST_F(RichTextViewTest, MouseDown_reportsTheCharacterAndShiftStateAfterTheCaretMoved)
{
    ASSERT_TRUE(m_view->loadRtf(articleDocument(kMixedLines)));
    struct Press {
        int byteIndex;
        Qt::MouseButton button;
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers modifiers;
        bool doubleClick;
        int caret;
    };
    std::vector<Press> presses;
    QObject::connect(m_view.get(), &RichTextView::mouseDown,
                     [&](int index, Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods,
                         bool dbl) { presses.push_back({index, button, buttons, mods, dbl, m_view->caretPosition()}); });
    std::vector<int> moves;
    QObject::connect(m_view.get(), &RichTextView::mouseMoved,
                     [&](int index, Qt::MouseButtons, Qt::KeyboardModifiers) { moves.push_back(index); });

    QRect onSo = characterRect(4);  // ソ at byte 6
    QPoint leftHalf(onSo.left() + 2, onSo.center().y());
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, Qt::NoModifier, leftHalf);
    QTest::mouseClick(m_view->viewport(), Qt::LeftButton, Qt::ControlModifier, leftHalf);
    QTest::mouseClick(m_view->viewport(), Qt::RightButton, Qt::NoModifier, leftHalf);
    QTest::mouseDClick(m_view->viewport(), Qt::LeftButton, Qt::NoModifier, leftHalf);

    ASSERT_GE(presses.size(), 4u);
    EXPECT_EQ(presses[0].byteIndex, 6);
    EXPECT_EQ(presses[0].button, Qt::LeftButton);
    EXPECT_EQ(presses[0].buttons, Qt::MouseButtons(Qt::LeftButton));
    EXPECT_EQ(presses[0].modifiers, Qt::NoModifier);
    EXPECT_FALSE(presses[0].doubleClick);
    EXPECT_EQ(presses[0].caret, 6);  // the press put the caret before ソ first
    EXPECT_EQ(presses[1].modifiers, Qt::ControlModifier);
    EXPECT_EQ(presses[2].button, Qt::RightButton);
    EXPECT_TRUE(presses.back().doubleClick);
    EXPECT_EQ(presses.back().byteIndex, 6);

    QRect onA = characterRect(2);  // a at byte 3
    QTest::mouseMove(m_view->viewport(), QPoint(onA.left() + 1, onA.center().y()));
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back(), 3);
}

TEST_F(RichTextViewTest, Copy_putsTheSelectionsPlainTextOnTheClipboard)
{
    ASSERT_TRUE(m_view->loadRtf(articleDocument(kMixedLines)));
    // The view writes the clipboard through the platform, here the desktop's own.
    QtPlatform desktop;
    m_view->setPlatform(desktop);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("before"));
    m_view->select(0, 0);
    m_view->copy();
    EXPECT_EQ(clipboard->text(), QStringLiteral("before"));  // nothing selected, nothing copied

    m_view->select(1, 7);
    m_view->copy();
    EXPECT_EQ(clipboard->text(), QStringLiteral("表a\nソ"));

    clipboard->setText(QStringLiteral("before"));
    m_view->selectAll();
    QTest::keyClick(m_view.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QStringLiteral("ｱ表a\nソ１\n"));
    EXPECT_FALSE(clipboard->mimeData()->hasHtml());
}

TEST_F(RichTextViewTest, LoadRtf_showsARefusedDocumentAsItsPlainText)
{
    ASSERT_TRUE(m_view->loadRtf(articleDocument({{"\\li480\\fi-480{\\cf3\\ul", "リンク"}})));
    const std::string notRtf = cp932("第一条　表示\r\n{\\b 太字}\r\n");
    EXPECT_FALSE(m_view->loadRtf(notRtf));
    EXPECT_EQ(m_view->plainText(), notRtf);
    EXPECT_EQ(m_view->caretPosition(), 0);
    // Shown plainly: nothing of the link shown before stays.
    QTextBlock first = m_view->document()->begin();
    EXPECT_FALSE(first.begin().fragment().charFormat().fontUnderline());
    EXPECT_FALSE(first.begin().fragment().charFormat().hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(first.blockFormat().leftMargin(), 0.0);

    const std::string unclosed = "{\\rtf1\\ansi abc";
    EXPECT_FALSE(m_view->loadRtf(unclosed));
    EXPECT_EQ(m_view->plainText(), unclosed);

    EXPECT_TRUE(m_view->loadRtf(articleDocument(kMixedLines)));
    EXPECT_EQ(m_view->plainText(), cp932("ｱ表a\r\nソ１\r\n"));

    m_view->loadPlainText(cp932("一\r二\n三\r\n"));
    EXPECT_EQ(m_view->plainText(), cp932("一\r\n二\r\n三\r\n"));
}

TEST_F(RichTextViewTest, SaveRtf_readsBackIntoAnotherViewWithTheSameTextAndColours)
{
    ASSERT_TRUE(m_view->loadRtf(articleDocument({
        {"\\li0\\fi0{\\cf0", "第一条"},
        {"\\li480\\fi-480{\\cf3\\ul", "法人税法第二条"},
        {"\\li960\\fi-960{\\cf1", "ソ表"},
    })));
    RichTextView other;
    ASSERT_TRUE(other.loadRtf(m_view->saveRtf()));
    EXPECT_EQ(other.plainText(), m_view->plainText());
    QTextBlock link = other.document()->findBlockByNumber(1);
    QTextCharFormat format = link.begin().fragment().charFormat();
    EXPECT_EQ(format.foreground().color(), QColor(0, 0, 255));
    EXPECT_TRUE(format.fontUnderline());
    EXPECT_EQ(link.blockFormat().intProperty(display::kLeftIndentTwips), 480);
    EXPECT_EQ(other.document()->findBlockByNumber(2).blockFormat().intProperty(display::kFirstIndentTwips), -960);
}

TEST_F(RichTextViewTest, Rendering_hangsIndentsAndDrawsTheDocumentsColours)
{
    // A paragraph long enough to wrap: its first line starts at the margin, the rest 480 twips in.
    std::string longText;
    for (int i = 0; i < 12; ++i)
        longText += "法人税法の規定";
    ASSERT_TRUE(m_view->loadRtf(articleDocument({
        {"\\li480\\fi-480{\\cf0", longText},
        {"\\li0\\fi0{\\cf1", "■■■■■■■■"},
    })));
    QTextBlock block = m_view->document()->begin();
    QTextLayout* layout = block.layout();
    ASSERT_GE(layout->lineCount(), 2);
    const qreal fullWidth = display::twipsToPixels(480);
    EXPECT_DOUBLE_EQ(layout->lineAt(1).x() - layout->lineAt(0).x(), fullWidth);
    // Lines stand 264 twips apart, exactly.
    EXPECT_NEAR(layout->lineAt(1).y() - layout->lineAt(0).y(), display::twipsToPixels(264), 0.01);
    // One full-width character of the 12-point Mincho face is 240 twips wide.
    EXPECT_NEAR(layout->lineAt(0).cursorToX(1) - layout->lineAt(0).cursorToX(0), display::twipsToPixels(240), 0.5);

    QImage image = m_view->viewport()->grab().toImage();
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                ++red;
        }
    EXPECT_GT(red, 50);
}

TEST_F(RichTextViewTest, SetWritable_readOnlyViewStillSelectsWithTheKeyboard)
{
    ASSERT_TRUE(m_view->loadRtf(articleDocument(kMixedLines)));
    EXPECT_TRUE(m_view->isReadOnly());
    m_view->setWritable(true);
    m_view->selectAll();
    QTest::keyClicks(m_view.get(), "x");
    EXPECT_EQ(m_view->plainText(), "x");
    m_view->setWritable(false);
    QTest::keyClicks(m_view.get(), "y");
    EXPECT_EQ(m_view->plainText(), "x");
    m_view->setCaretPosition(0);
    QTest::keyClick(m_view.get(), Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(m_view->selectedText(), "x");
}

TEST_F(RichTextViewTest, Fonts_documentFacesResolveToTheIpaFaces)
{
    EXPECT_EQ(QFontInfo(m_view->font()).family(), QStringLiteral("IPAMincho"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("MS Mincho"))).family(), QStringLiteral("IPAMincho"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("ＭＳ Ｐゴシック"))).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("MS PGothic"))).family(), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("ＭＳ ゴシック"))).family(), QStringLiteral("IPAGothic"));
}

TEST_F(RichTextViewTest, ByteOffsets_countCharactersCodePage932CannotHoldAsTwoBytes)
{
    // € and the emoji become 〓 in the plain text; a \line break is a line end too.
    ASSERT_TRUE(m_view->loadRtf("{\\rtf1 a\\u8364?b\\u-10179?\\u-8704?c\\line d\\'b1}"));
    EXPECT_EQ(m_view->plainText(), cp932("a〓b〓c\r\ndｱ"));
    display::PlainTextMap map(*m_view->document());
    // a € b (high low) c LINE d ｱ end
    const std::vector<int> bytes = {0, 1, 3, 4, 6, 6, 7, 9, 10, 11};
    for (int position = 0; position < static_cast<int>(bytes.size()); ++position)
        EXPECT_EQ(map.byteOfPosition(position), bytes[position]) << position;
    // The bytes of the emoji's 〓 map to its first half; the one after it to c.
    EXPECT_EQ(map.positionOfByte(4), 3);
    EXPECT_EQ(map.positionOfByte(5), 3);
    EXPECT_EQ(map.positionOfByte(6), 5);
    EXPECT_EQ(map.positionAtOrAfterByte(5), 5);
    EXPECT_EQ(map.positionAtOrAfterByte(6), 5);
    m_view->select(4, 1);
    EXPECT_EQ(m_view->selectedText(), cp932("〓"));
}

}  // namespace
