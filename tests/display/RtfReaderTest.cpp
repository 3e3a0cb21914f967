// The RTF reader and writer: article documents as the renderer writes them, ordinary RTF, the
// code page 932 byte forms, refused documents, and documents saved and read back.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <string>
#include <vector>

#include "TestApplication.h"
#include "display/PlainTextMap.h"
#include "display/RtfReader.h"
#include "display/RtfUnits.h"
#include "display/RtfWriter.h"
#include "text/Cp932.h"
#include "text/QtText.h"

using display::PlainTextMap;
using display::readRtf;
using display::writeRtf;
using text::cp932;
using namespace std::string_literals;

namespace {

// The head of an article document: the font table with ＭＳ 明朝 and the five colours.
const std::string kArticleHead =
    "{\\rtf1\\ansi\r\n"
    "{\\fonttbl{\\f0\\fnil\\fcharset128\\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}\r\n"
    "{\\colortbl\\red0\\green0\\blue0;\r\n"
    "\\red255\\green0\\blue0;\r\n"
    "\\red255\\green0\\blue255;\r\n"
    "\\red0\\green0\\blue255;\r\n"
    "\\red0\\green150\\blue0;}\r\n";
const std::string kLineEnd = "\r\n\\par\r\n";
const std::string kArticleEnd = "\\par}";

// One run as article documents write it: line spacing, indent, colour, and the text's bytes
// with every 5C, 7B and 7D escaped, second bytes included.
std::string articleRun(const std::string& indent, int colour, const std::string& utf8Text)
{
    std::string out = "\\sl-264" + indent + "{\\cf" + std::to_string(colour) + (colour == 3 ? "\\ul" : "") + " ";
    for (char c : cp932(utf8Text)) {
        if (c == '\\' || c == '{' || c == '}')
            out += '\\';
        out += c;
    }
    return out + "}";
}

std::string plainOf(const QTextDocument& document)
{
    return PlainTextMap(document).text();
}

// A document of the ordinary kind: head, body, end.
std::string ordinary(const std::string& body)
{
    return "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}"
           "{\\f1\\fswiss Arial;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}" +
           body + "}";
}

// The character format at a 0-based character index of the document's text.
QTextCharFormat formatAt(const QTextDocument& document, int position)
{
    QTextBlock block = document.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        QTextFragment f = it.fragment();
        if (position >= f.position() && position < f.position() + f.length())
            return f.charFormat();
    }
    return {};
}

class RtfReaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_display::ensureApplication(); }

    // A three-line article: a plain first line, a hanging item with a link, a green passage.
    static std::string articleDocument()
    {
        return kArticleHead + articleRun("\\li0\\fi0", 0, "第一条　法人税") + kLineEnd +
               articleRun("\\li480\\fi-480", 0, "　一　") + articleRun("\\li480\\fi-480", 3, "表示ソ") +
               articleRun("\\li480\\fi-480", 0, "をいう。") + kLineEnd + articleRun("\\li0\\fi0", 0, "Ａ") +
               articleRun("\\li0\\fi0", 4, "（Ｂ{}）") + articleRun("\\li0\\fi0", 1, "税") + kLineEnd + kArticleEnd;
    }
};

TEST_F(RtfReaderTest, ReadRtf_articleDocumentGivesItsLinesSeparatedByCrLf)
{
    QTextDocument document;
    ASSERT_TRUE(readRtf(articleDocument(), document).accepted);
    EXPECT_EQ(plainOf(document), cp932("第一条　法人税\r\n　一　表示ソをいう。\r\nＡ（Ｂ{}）税\r\n"));
    // Three lines and the empty paragraph the closing \par leaves.
    EXPECT_EQ(document.blockCount(), 4);
}

TEST_F(RtfReaderTest, ReadRtf_articleDocumentCarriesColoursUnderlineIndentsAndExactLineSpacing)
{
    QTextDocument document;
    ASSERT_TRUE(readRtf(articleDocument(), document).accepted);

    QTextBlock first = document.begin();
    QTextBlock second = first.next();
    QTextBlock third = second.next();
    EXPECT_EQ(first.blockFormat().intProperty(display::kLeftIndentTwips), 0);
    EXPECT_EQ(second.blockFormat().intProperty(display::kLeftIndentTwips), 480);
    EXPECT_EQ(second.blockFormat().intProperty(display::kFirstIndentTwips), -480);
    EXPECT_DOUBLE_EQ(second.blockFormat().leftMargin(), display::twipsToPixels(480));
    EXPECT_DOUBLE_EQ(second.blockFormat().textIndent(), display::twipsToPixels(-480));
    EXPECT_EQ(second.blockFormat().lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_DOUBLE_EQ(second.blockFormat().lineHeight(), display::twipsToPixels(264));

    // "　一　" is black; "表示ソ" is the blue underlined link; then black again.
    const int line2 = second.position();
    EXPECT_EQ(formatAt(document, line2).foreground().color(), QColor(0, 0, 0));
    EXPECT_FALSE(formatAt(document, line2).fontUnderline());
    for (int i = 3; i < 6; ++i) {
        EXPECT_EQ(formatAt(document, line2 + i).foreground().color(), QColor(0, 0, 255)) << i;
        EXPECT_TRUE(formatAt(document, line2 + i).fontUnderline()) << i;
    }
    EXPECT_EQ(formatAt(document, line2 + 6).foreground().color(), QColor(0, 0, 0));
    EXPECT_FALSE(formatAt(document, line2 + 6).fontUnderline());

    const int line3 = third.position();
    EXPECT_EQ(formatAt(document, line3 + 1).foreground().color(), QColor(0, 150, 0));
    EXPECT_EQ(formatAt(document, line3 + 5).foreground().color(), QColor(0, 150, 0));
    EXPECT_EQ(formatAt(document, line3 + 6).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(document, line3).fontFamilies().toStringList(), QStringList{QStringLiteral("ＭＳ 明朝")});
}

struct TextCase {
    const char* name;
    std::string body;
    const char* expected;  // UTF-8
};

TEST_F(RtfReaderTest, ReadRtf_textFormsGiveTheirCharacters)
{
    const std::vector<TextCase> cases = {
        {"two hex escapes", "\\'82\\'a0\\'82\\'a2", "あい"},
        {"raw double-byte", "\x82\xa0\x82\xa2", "あい"},
        {"escaped lead, raw second byte", "\\'83A\\'82\xa0", "アあ"},
        {"raw lead, escaped second byte", "\x82\\'a0", "あ"},
        {"character split over groups", "{\\cf1 \\'82}{\\cf2 \\'a0}x", "あx"},
        {"half-width katakana", "\xb1\\'b2 ", "ｱｲ "},
        {"マ with its 7D escaped", "\x83\\}", "マ"},
        {"ボ with its 7B escaped", "\x83\\{", "ボ"},
        {"escaped specials", "a\\\\b\\{c\\}d", "a\\b{c}d"},
        {"tab", "a\\tab b", "a\tb"},
        {"line break inside a paragraph", "a\\line b", "a\r\nb"},
        {"raw line ends are not text", "a\r\nb\rc\nd", "abcd"},
        {"unicode with fallback", "\\u12354?x", "あx"},
        {"unicode with two fallback bytes", "\\uc2\\u12354\\'82\\'a0x", "あx"},
        {"unicode fallback ends with the group", "{\\uc3\\u12354 a}b", "あb"},
        {"negative unicode", "\\u-244?", "，"},  // 65536 - 244 is U+FF0C
        {"surrogate pair", "\\u-10179?\\u-8704?", "\xf0\x9f\x98\x80"},
        {"lone high surrogate", "\\u-10179?x", "\xef\xbf\xbd" "x"},
        {"unknown control word", "\\foo12 a\\zzz b", "ab"},
        {"ignorable destination", "a{\\*\\shpinst {\\sp x}}b", "ab"},
        {"skipped destinations", "{\\info{\\title t}}{\\stylesheet{\\s0 Normal;}}a", "a"},
        {"field result kept, instruction dropped", "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}", "link"},
        {"binary data", "a\\bin3 {}\\b", "ab"},
        {"nonbreaking space and hyphen", "a\\~b\\_c\\-d", "a b-cd"},
        {"control word delimiter space", "\\b a\\b0  b", "a b"},
        {"named punctuation", "\\ldblquote a\\rdblquote\\emdash", "“a”—"},
    };
    for (const TextCase& c : cases) {
        QTextDocument document;
        ASSERT_TRUE(readRtf(ordinary(c.body), document).accepted) << c.name;
        QString expected = QString::fromUtf8(c.expected);
        EXPECT_EQ(document.toPlainText().replace(QChar::LineSeparator, u'\n'),
                  QString(expected).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
            << c.name;
    }
}

TEST_F(RtfReaderTest, ReadRtf_secondByte5CReadsInEscapedAndRawForms)
{
    // ソ is 83 5C: its second byte is the backslash.
    const std::vector<TextCase> cases = {
        {"both bytes escaped", "\\'83\\'5c\\'81\\'5b", "ソー"},
        {"raw lead, escaped backslash", "\x83\\\\\x81\x5b", "ソー"},
        {"escaped lead, escaped backslash", "\\'83\\\\\\'81\\'5b", "ソー"},
        {"raw lead, raw backslash", "\x83\\\x81\x5b", "ソー"},
        {"escaped lead, raw backslash", "\\'83\\\x81\x5b", "ソー"},
        {"raw lead, raw backslash before a space", "\x83\\ a", "ソ a"},
        {"raw lead, hex-escaped second byte", "\x83\\'5c", "ソ"},
        {"表 as the renderer writes it", "\x95\\\\\x8e\xa6", "表示"},
    };
    for (const TextCase& c : cases) {
        QTextDocument document;
        ASSERT_TRUE(readRtf(ordinary(c.body), document).accepted) << c.name;
        EXPECT_EQ(plainOf(document), cp932(c.expected)) << c.name;
    }
}

TEST_F(RtfReaderTest, ReadRtf_refusesWhatIsNotAnRtfDocument)
{
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty", ""},
        {"plain text", "第一条"},
        {"leading space", " {\\rtf1 a}"},
        {"upper case", "{\\RTF1 a}"},
        {"unclosed group", "{\\rtf1 a{\\b b}"},
        {"backslash at the end", "{\\rtf1 a\\"},
        {"extra closing brace", "{\\rtf1 a}}"},
        {"text after the end", "{\\rtf1 a}b"},
        {"nested too deeply", "{\\rtf1 " + std::string(5000, '{') + std::string(5000, '}') + "}"},
    };
    for (const auto& [name, rtf] : cases) {
        QTextDocument document;
        document.setPlainText(QStringLiteral("old"));
        display::RtfReadResult result = readRtf(rtf, document);
        EXPECT_FALSE(result.accepted) << name;
        EXPECT_FALSE(result.reason.empty()) << name;
        EXPECT_TRUE(document.isEmpty()) << name;
    }
    QTextDocument document;
    EXPECT_TRUE(readRtf("{\\rtf1 a}\r\n\0 "s, document).accepted);
    EXPECT_TRUE(readRtf("{\\rtf1 " + std::string(1000, '{') + "a" + std::string(1000, '}') + "}", document).accepted);
    EXPECT_EQ(plainOf(document), "a");
}

TEST_F(RtfReaderTest, ReadRtf_paragraphsEndAtPar)
{
    const std::vector<std::tuple<const char*, std::string, int, std::string>> cases = {
        {"no par", "{\\rtf1 a}", 1, "a"},
        {"one par", "{\\rtf1 a\\par}", 1, "a"},
        {"text after the last par", "{\\rtf1 a\\par b}", 2, "a\r\nb"},
        {"empty paragraphs", "{\\rtf1 a\\par\\par\\par b\\par}", 4, "a\r\n\r\n\r\nb"},
        {"par inside a group", "{\\rtf1 {\\b a\\par}b}", 2, "a\r\nb"},
        {"backslash before a line end", "{\\rtf1 a\\\r\nb}", 2, "a\r\nb"},
        {"empty document", "{\\rtf1}", 1, ""},
    };
    for (const auto& [name, rtf, blocks, plain] : cases) {
        QTextDocument document;
        ASSERT_TRUE(readRtf(rtf, document).accepted) << name;
        EXPECT_EQ(document.blockCount(), blocks) << name;
        EXPECT_EQ(plainOf(document), plain) << name;
    }
}

TEST_F(RtfReaderTest, ReadRtf_characterFormatsFollowControlWordsAndGroups)
{
    QTextDocument document;
    ASSERT_TRUE(readRtf(ordinary("{\\b B}{\\i I}{\\ul U\\ulnone N}{\\cf1 R}{\\cf2\\b\\i X\\plain P}"
                                 "{\\f1\\fs36 A}{\\strike S}{\\super 2}{\\b0 n}Z"),
                        document)
                    .accepted);
    ASSERT_EQ(document.toPlainText(), QStringLiteral("BIUNRXPAS2nZ"));
    EXPECT_TRUE(formatAt(document, 0).fontWeight() >= QFont::Bold);
    EXPECT_FALSE(formatAt(document, 1).fontWeight() >= QFont::Bold);
    EXPECT_TRUE(formatAt(document, 1).fontItalic());
    EXPECT_TRUE(formatAt(document, 2).fontUnderline());
    EXPECT_FALSE(formatAt(document, 3).fontUnderline());
    EXPECT_EQ(formatAt(document, 4).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(document, 5).foreground().color(), QColor(0, 0, 255));
    EXPECT_TRUE(formatAt(document, 5).fontItalic());
    // \plain drops every character property, the colour included.
    EXPECT_FALSE(formatAt(document, 6).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(formatAt(document, 6).fontItalic());
    EXPECT_EQ(formatAt(document, 6).fontFamilies().toStringList(), QStringList{QStringLiteral("ＭＳ 明朝")});
    EXPECT_EQ(formatAt(document, 7).fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    EXPECT_DOUBLE_EQ(formatAt(document, 7).fontPointSize(), 18.0);
    EXPECT_TRUE(formatAt(document, 8).fontStrikeOut());
    EXPECT_EQ(formatAt(document, 9).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_FALSE(formatAt(document, 10).fontWeight() >= QFont::Bold);
    // A group's properties end with the group.
    EXPECT_FALSE(formatAt(document, 11).fontWeight() >= QFont::Bold);
    EXPECT_FALSE(formatAt(document, 11).hasProperty(QTextFormat::FontPointSize));
}

TEST_F(RtfReaderTest, ReadRtf_paragraphFormatsFollowControlWords)
{
    QTextDocument document;
    ASSERT_TRUE(readRtf(ordinary("\\li720\\fi-360\\ri240\\sb120\\sa60\\sl300 a\\par"
                                 "\\pard\\qc\\sl360\\slmult1 b\\par"
                                 "\\li240\\fi-1000 c\\par"
                                 "\\pard\\qr\\sl-400 d\\par"),
                        document)
                    .accepted);
    QTextBlockFormat a = document.findBlockByNumber(0).blockFormat();
    EXPECT_DOUBLE_EQ(a.leftMargin(), display::twipsToPixels(720));
    EXPECT_DOUBLE_EQ(a.textIndent(), display::twipsToPixels(-360));
    EXPECT_DOUBLE_EQ(a.rightMargin(), display::twipsToPixels(240));
    EXPECT_DOUBLE_EQ(a.topMargin(), display::twipsToPixels(120));
    EXPECT_DOUBLE_EQ(a.bottomMargin(), display::twipsToPixels(60));
    EXPECT_EQ(a.lineHeightType(), QTextBlockFormat::MinimumHeight);
    EXPECT_DOUBLE_EQ(a.lineHeight(), display::twipsToPixels(300));

    QTextBlockFormat b = document.findBlockByNumber(1).blockFormat();
    EXPECT_DOUBLE_EQ(b.leftMargin(), 0.0);  // \pard
    EXPECT_EQ(b.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(b.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(b.lineHeight(), 150.0);

    // A first line is never left of the text's edge.
    QTextBlockFormat c = document.findBlockByNumber(2).blockFormat();
    EXPECT_DOUBLE_EQ(c.leftMargin(), display::twipsToPixels(240));
    EXPECT_DOUBLE_EQ(c.textIndent(), display::twipsToPixels(-240));

    QTextBlockFormat d = document.findBlockByNumber(3).blockFormat();
    EXPECT_EQ(d.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(d.lineHeightType(), QTextBlockFormat::FixedHeight);
    EXPECT_DOUBLE_EQ(d.lineHeight(), display::twipsToPixels(400));
}

TEST_F(RtfReaderTest, WriteRtf_smallDocumentIsWrittenAsTheseBytes)
{
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("ＭＳ 明朝")));
    ASSERT_TRUE(readRtf(kArticleHead + articleRun("\\li480\\fi-480", 3, "表A") + articleRun("\\li480\\fi-480", 0, " {x}") +
                            kLineEnd + kArticleEnd,
                        document)
                    .accepted);
    EXPECT_EQ(writeRtf(document),
              "{\\rtf1\\ansi\\ansicpg932\\deff0\\uc2\r\n"
              "{\\fonttbl{\\f0\\fnil\\fcharset128 \\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}\r\n"
              "{\\colortbl;\\red0\\green0\\blue255;\\red0\\green0\\blue0;}\r\n"
              "\\pard\\li480\\fi-480\\sl-264{\\f0\\ul\\cf1 \\'95\\'5cA}{\\f0\\cf2  \\{x\\}}\\par\r\n"
              "\\pard\\li480\\fi-480\\sl-264\\par\r\n"
              "}");
}

TEST_F(RtfReaderTest, WriteRtf_articleDocumentReadsBackWithSameTextAndFormats)
{
    QTextDocument original;
    ASSERT_TRUE(readRtf(articleDocument(), original).accepted);
    const std::string saved = writeRtf(original);
    QTextDocument reread;
    ASSERT_TRUE(readRtf(saved, reread).accepted);

    EXPECT_EQ(plainOf(reread), plainOf(original));
    ASSERT_EQ(reread.blockCount(), original.blockCount());
    for (QTextBlock a = original.begin(), b = reread.begin(); a.isValid(); a = a.next(), b = b.next()) {
        EXPECT_EQ(b.blockFormat().leftMargin(), a.blockFormat().leftMargin());
        EXPECT_EQ(b.blockFormat().textIndent(), a.blockFormat().textIndent());
        EXPECT_EQ(b.blockFormat().lineHeightType(), a.blockFormat().lineHeightType());
        EXPECT_EQ(b.blockFormat().lineHeight(), a.blockFormat().lineHeight());
    }
    for (int i = 0; i < original.characterCount() - 1; ++i) {
        QTextCharFormat a = formatAt(original, i);
        QTextCharFormat b = formatAt(reread, i);
        EXPECT_EQ(b.foreground().color(), a.foreground().color()) << i;
        EXPECT_EQ(b.fontUnderline(), a.fontUnderline()) << i;
        EXPECT_EQ(b.fontWeight(), a.fontWeight()) << i;
        EXPECT_EQ(b.fontItalic(), a.fontItalic()) << i;
    }
    for (unsigned char c : saved)
        ASSERT_LT(c, 0x80) << "saved RTF is plain ASCII";
}

TEST_F(RtfReaderTest, WriteRtf_readsBackEveryCharacterAndStyle)
{
    // ¥ and ‾ would turn into \ and ~ through code page 932; € and the emoji have no code there.
    const QString text = QString::fromUtf8("表ソマボ\\{}ｱ¥‾€😀\tタブ①ⅰ髙");
    QTextDocument original;
    QTextCursor cursor(&original);
    QTextBlockFormat block;
    block.setLeftMargin(display::twipsToPixels(960));
    block.setTextIndent(display::twipsToPixels(-480));
    block.setLineHeight(display::twipsToPixels(264), QTextBlockFormat::FixedHeight);
    cursor.setBlockFormat(block);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontItalic(true);
    bold.setForeground(QColor(10, 20, 30));
    cursor.insertText(text, bold);
    cursor.insertText(QString(QChar::LineSeparator) + QStringLiteral("plain"), QTextCharFormat());
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("end"));

    QTextDocument reread;
    ASSERT_TRUE(readRtf(writeRtf(original), reread).accepted);
    EXPECT_EQ(reread.toPlainText(), original.toPlainText());
    EXPECT_EQ(plainOf(reread), plainOf(original));
    QTextCharFormat first = formatAt(reread, 0);
    EXPECT_TRUE(first.fontWeight() >= QFont::Bold);
    EXPECT_TRUE(first.fontItalic());
    EXPECT_EQ(first.foreground().color(), QColor(10, 20, 30));
    EXPECT_FALSE(formatAt(reread, static_cast<int>(text.size()) + 2).fontItalic());
    QTextBlockFormat readBlock = reread.begin().blockFormat();
    EXPECT_EQ(readBlock.intProperty(display::kLeftIndentTwips), 960);
    EXPECT_EQ(readBlock.intProperty(display::kFirstIndentTwips), -480);
    EXPECT_EQ(readBlock.intProperty(display::kLineSpacingTwips), 264);
}

TEST_F(RtfReaderTest, WriteRtf_anotherRtfReaderReadsTheSameText)
{
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (office.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    QTextDocument document;
    ASSERT_TRUE(readRtf(articleDocument(), document).accepted);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("article.rtf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const std::string saved = writeRtf(document);
    file.write(saved.data(), static_cast<qint64>(saved.size()));
    file.close();
    QProcess process;
    process.start(office, {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                           QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"), dir.path(),
                           file.fileName()});
    ASSERT_TRUE(process.waitForFinished(120000));
    QFile converted(dir.filePath(QStringLiteral("article.txt")));
    ASSERT_TRUE(converted.open(QIODevice::ReadOnly));
    QString read = QString::fromUtf8(converted.readAll());
    read.remove(QChar(0xFEFF));
    read.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    EXPECT_EQ(read.trimmed(), document.toPlainText().trimmed());
}

}  // namespace
