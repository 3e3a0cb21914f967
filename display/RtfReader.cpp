// The RTF reader: a tokenizer over the bytes, a stack of group states, and a writer of runs
// into the document through one QTextCursor. Text bytes are gathered as code page 932 and
// decoded a run at a time, so that a double-byte character split over escapes, groups or
// control words still arrives whole.
#include "display/RtfReader.h"

#include <QColor>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <climits>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "display/RtfUnits.h"
#include "text/Cp932.h"
#include "text/QtText.h"

namespace display {

namespace {

// Deeper nesting than this is no document anybody wrote; refusing it bounds the state stack.
constexpr std::size_t kMaxGroupDepth = 4096;

// Measures are clamped to what a page can hold (22 inches), font sizes to what a layout can
// bear, so that an absurd number cannot make the layout run away.
constexpr int kMaxTwips = 31680;
constexpr int kMaxHalfPoints = 3276;

enum class Destination { Text, FontTable, ColorTable, Skip };

enum class Command {
    FontTable, ColorTable, SkipGroup,
    Par, Pard, Plain, Line, Tab, Cell,
    LeftIndent, FirstIndent, RightIndent, SpaceBefore, SpaceAfter, LineSpacing, LineMultiple,
    AlignLeft, AlignCenter, AlignRight, AlignJustify,
    Bold, Italic, Underline, UnderlineNone, Strike, Colour, Background, Font, FontSize,
    Superscript, Subscript, NoSuperSub,
    Unicode, UnicodeSkip, DefaultFont, Red, Green, Blue, Binary, Character,
};

struct CommandEntry {
    Command command;
    char16_t character = 0;  // for Command::Character
};

const std::unordered_map<std::string_view, CommandEntry>& commands()
{
    static const std::unordered_map<std::string_view, CommandEntry> table = [] {
        std::unordered_map<std::string_view, CommandEntry> t = {
            {"fonttbl", {Command::FontTable}}, {"colortbl", {Command::ColorTable}},
            {"par", {Command::Par}}, {"pard", {Command::Pard}}, {"plain", {Command::Plain}},
            {"line", {Command::Line}}, {"tab", {Command::Tab}}, {"cell", {Command::Cell}},
            {"nestcell", {Command::Cell}}, {"row", {Command::Par}}, {"nestrow", {Command::Par}},
            {"page", {Command::Par}}, {"sect", {Command::Par}},
            {"li", {Command::LeftIndent}}, {"fi", {Command::FirstIndent}}, {"ri", {Command::RightIndent}},
            {"sb", {Command::SpaceBefore}}, {"sa", {Command::SpaceAfter}}, {"sl", {Command::LineSpacing}},
            {"slmult", {Command::LineMultiple}},
            {"ql", {Command::AlignLeft}}, {"qc", {Command::AlignCenter}}, {"qr", {Command::AlignRight}},
            {"qj", {Command::AlignJustify}},
            {"b", {Command::Bold}}, {"i", {Command::Italic}}, {"strike", {Command::Strike}},
            {"striked", {Command::Strike}}, {"ul", {Command::Underline}}, {"ulnone", {Command::UnderlineNone}},
            {"cf", {Command::Colour}}, {"cb", {Command::Background}}, {"highlight", {Command::Background}},
            {"f", {Command::Font}}, {"fs", {Command::FontSize}},
            {"super", {Command::Superscript}}, {"sub", {Command::Subscript}},
            {"nosupersub", {Command::NoSuperSub}},
            {"u", {Command::Unicode}}, {"uc", {Command::UnicodeSkip}}, {"deff", {Command::DefaultFont}},
            {"red", {Command::Red}}, {"green", {Command::Green}}, {"blue", {Command::Blue}},
            {"bin", {Command::Binary}},
            {"emdash", {Command::Character, u'\u2014'}}, {"endash", {Command::Character, u'\u2013'}},
            {"bullet", {Command::Character, u'\u2022'}}, {"lquote", {Command::Character, u'\u2018'}},
            {"rquote", {Command::Character, u'\u2019'}}, {"ldblquote", {Command::Character, u'\u201C'}},
            {"rdblquote", {Command::Character, u'\u201D'}}, {"emspace", {Command::Character, u' '}},
            {"enspace", {Command::Character, u' '}}, {"qmspace", {Command::Character, u' '}},
        };
        // Every underline style is shown as the one underline the view draws.
        for (std::string_view word : {"uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash",
                                      "ulth", "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash",
                                      "ululdbwave", "ulw", "ulwave"})
            t.emplace(word, CommandEntry{Command::Underline});
        // Destinations whose content is not text of the document.
        for (std::string_view word :
             {"info", "stylesheet", "pict", "header", "headerl", "headerr", "headerf", "footer", "footerl",
              "footerr", "footerf", "footnote", "annotation", "atnid", "atnauthor", "object", "objdata",
              "fldinst", "listtable", "listoverridetable", "revtbl", "rsidtbl", "xmlnstbl", "filetbl",
              "themedata", "colorschememapping", "latentstyles", "datastore", "generator", "template",
              "userprops", "comment", "author", "operator", "title", "subject", "keywords", "doccomm",
              "creatim", "revtim", "printim", "buptim", "bkmkstart", "bkmkend", "pgdsctbl", "nonshppict",
              "shp", "shpinst", "sp", "sn", "sv", "txe", "xe", "tc", "private", "mmathPr", "pn"})
            t.emplace(word, CommandEntry{Command::SkipGroup});
        return t;
    }();
    return table;
}

struct CharProps {
    int font = -1;  // font table number; -1 for the document's default font
    int halfPoints = 0;  // 0: the view's size
    int colour = -1;  // colour table index; -1 for the view's colour
    int background = -1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int vertical = 0;  // 1 superscript, -1 subscript
};

struct ParaProps {
    int left = 0;
    int first = 0;
    int right = 0;
    int before = 0;
    int after = 0;
    int spacing = 0;  // \sl: negative exact, positive at least, 0 single
    bool spacingMultiple = false;
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct GroupState {
    Destination destination = Destination::Text;
    CharProps chars;
    ParaProps para;
    int unicodeSkip = 1;
};

bool isLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class Reader {
public:
    Reader(std::string_view in, QTextDocument& document) : m_in(in), m_document(document), m_cursor(&document) {}

    RtfReadResult run();

private:
    void openGroup();
    void closeGroup();
    void readControl();
    void controlWord(std::string_view word, bool hasParam, int param);
    void textByte(unsigned char byte);
    void textCharacter(char16_t character);
    void commitFontName();
    void commitColour();

    void ensureParagraph();
    void startRun();
    void decodeBytes();
    void flushRun();
    void endParagraph();
    void finishDocument();

    QTextCharFormat charFormat(const CharProps& props) const;
    QTextBlockFormat blockFormat(const ParaProps& props) const;

    bool skippingFallback()
    {
        if (m_fallbackRemaining <= 0)
            return false;
        --m_fallbackRemaining;
        return true;
    }

    std::string_view m_in;
    std::size_t m_pos = 0;
    QTextDocument& m_document;
    QTextCursor m_cursor;

    std::vector<GroupState> m_stack;
    GroupState m_state;
    bool m_finished = false;
    int m_fallbackRemaining = 0;  // bytes of a \u fallback still to be skipped

    // The run being gathered: decoded text and the code page 932 bytes not yet decoded.
    QString m_run;
    std::string m_bytes;
    bool m_leadPending = false;  // the last byte given to the current text was a lead byte
    char16_t m_highSurrogate = 0;
    QTextCharFormat m_runFormat;
    bool m_formatDirty = true;
    bool m_paragraphPending = false;  // a \par ended the last paragraph; the next one is not begun yet

    std::map<int, QString> m_fonts;
    int m_defaultFont = 0;
    int m_fontEntry = 0;
    std::string m_fontBytes;
    QString m_fontName;

    std::vector<std::optional<QColor>> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourGiven = false;
};

RtfReadResult Reader::run()
{
    if (m_in.substr(0, 5) != "{\\rtf")
        return {false, "the document does not begin with {\\rtf"};
    m_cursor.beginEditBlock();
    while (m_pos < m_in.size() && !m_finished) {
        unsigned char c = static_cast<unsigned char>(m_in[m_pos]);
        ++m_pos;
        switch (c) {
        case '{':
            if (m_stack.size() >= kMaxGroupDepth) {
                m_cursor.endEditBlock();
                return {false, "groups are nested too deeply"};
            }
            openGroup();
            break;
        case '}':
            closeGroup();
            break;
        case '\\':
            readControl();
            break;
        case '\r':
        case '\n':
        case '\0':
            break;
        default:
            textByte(c);
            break;
        }
    }
    if (!m_finished) {
        m_cursor.endEditBlock();
        return {false, "the document ends inside an open group"};
    }
    for (std::size_t i = m_pos; i < m_in.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(m_in[i]);
        if (c != '\0' && c != ' ' && c != '\r' && c != '\n' && c != '\t') {
            m_cursor.endEditBlock();
            return {false, "text follows the end of the document"};
        }
    }
    finishDocument();
    m_cursor.endEditBlock();
    return {true, {}};
}

void Reader::openGroup()
{
    m_fallbackRemaining = 0;
    m_stack.push_back(m_state);
}

void Reader::closeGroup()
{
    m_fallbackRemaining = 0;
    if (m_state.destination == Destination::FontTable)
        commitFontName();
    if (m_stack.empty())
        return;  // unreachable: the loop stops when the outermost group closes
    Destination before = m_state.destination;
    m_state = m_stack.back();
    m_stack.pop_back();
    if (before != m_state.destination)
        m_leadPending = false;
    m_formatDirty = true;
    if (m_stack.empty())
        m_finished = true;
}

void Reader::readControl()
{
    if (m_pos >= m_in.size())
        return;  // a backslash at the very end: the group is still open, which refuses the document
    unsigned char c = static_cast<unsigned char>(m_in[m_pos]);

    if (isLetter(c)) {
        std::size_t start = m_pos;
        while (m_pos < m_in.size() && isLetter(static_cast<unsigned char>(m_in[m_pos])))
            ++m_pos;
        std::string_view word = m_in.substr(start, m_pos - start);
        bool negative = false;
        if (m_pos + 1 < m_in.size() && m_in[m_pos] == '-' && isDigit(static_cast<unsigned char>(m_in[m_pos + 1]))) {
            negative = true;
            ++m_pos;
        }
        bool hasParam = false;
        long long value = 0;
        while (m_pos < m_in.size() && isDigit(static_cast<unsigned char>(m_in[m_pos]))) {
            hasParam = true;
            if (value < 100000000000LL)
                value = value * 10 + (m_in[m_pos] - '0');
            ++m_pos;
        }
        if (m_pos < m_in.size() && m_in[m_pos] == ' ')
            ++m_pos;
        if (negative)
            value = -value;
        int param = static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
        controlWord(word, hasParam, param);
        return;
    }

    // A raw lead byte followed by a backslash that starts neither an escape nor a control word:
    // the backslash is the lead byte's second byte, as in ソ (83 5C) written unescaped.
    if (m_leadPending && m_state.destination == Destination::Text && c != '\\' && c != '{' && c != '}' &&
        c != '\'') {
        textByte('\\');
        return;
    }

    ++m_pos;
    switch (c) {
    case '\'': {
        int high = m_pos < m_in.size() ? hexValue(static_cast<unsigned char>(m_in[m_pos])) : -1;
        int low = m_pos + 1 < m_in.size() ? hexValue(static_cast<unsigned char>(m_in[m_pos + 1])) : -1;
        if (high < 0 || low < 0)
            return;  // an incomplete escape stands for nothing
        m_pos += 2;
        textByte(static_cast<unsigned char>(high * 16 + low));
        return;
    }
    case '\\':
    case '{':
    case '}':
        textByte(c);
        return;
    case '\r':
    case '\n':
        controlWord("par", false, 0);
        return;
    default:
        break;
    }
    if (m_state.destination == Destination::Skip || skippingFallback())
        return;
    switch (c) {
    case '*':
        // An ignorable destination: none of them is read, so the rest of the group is skipped.
        m_state.destination = Destination::Skip;
        break;
    case '~':
        textByte(' ');
        break;
    case '_':
        textByte('-');
        break;
    case '\t':
        textByte('\t');
        break;
    default:
        break;  // \- \| \: and unknown symbols stand for nothing visible
    }
}

void Reader::controlWord(std::string_view word, bool hasParam, int param)
{
    auto found = commands().find(word);
    if (found == commands().end())
        return;
    const Command command = found->second.command;
    if (command == Command::Binary) {
        // Binary data is never text, wherever it stands.
        std::size_t length = hasParam && param > 0 ? static_cast<std::size_t>(param) : 0;
        m_pos += std::min(length, m_in.size() - m_pos);
        return;
    }
    if (m_state.destination == Destination::Skip)
        return;
    if (skippingFallback())
        return;

    const int value = hasParam ? param : 0;
    const bool on = !hasParam || param != 0;
    auto twips = [&](int v) { return std::clamp(v, -kMaxTwips, kMaxTwips); };
    CharProps& chars = m_state.chars;
    ParaProps& para = m_state.para;

    switch (command) {
    case Command::FontTable:
        m_state.destination = Destination::FontTable;
        m_leadPending = false;
        return;
    case Command::ColorTable:
        m_state.destination = Destination::ColorTable;
        return;
    case Command::SkipGroup:
        m_state.destination = Destination::Skip;
        return;
    case Command::Red:
        m_red = std::clamp(value, 0, 255);
        m_colourGiven = true;
        return;
    case Command::Green:
        m_green = std::clamp(value, 0, 255);
        m_colourGiven = true;
        return;
    case Command::Blue:
        m_blue = std::clamp(value, 0, 255);
        m_colourGiven = true;
        return;
    case Command::DefaultFont:
        m_defaultFont = value;
        m_formatDirty = true;
        return;
    case Command::UnicodeSkip:
        m_state.unicodeSkip = std::clamp(value, 0, 16);
        return;
    case Command::Font:
        if (m_state.destination == Destination::FontTable) {
            commitFontName();
            m_fontEntry = value;
        } else {
            chars.font = value;
            m_formatDirty = true;
        }
        return;
    case Command::Unicode:
        if (!hasParam)
            return;
        // The fallback that follows is skipped only after a character was taken.
        textCharacter(static_cast<char16_t>(value < 0 ? value + 65536 : value));
        m_fallbackRemaining = m_state.unicodeSkip;
        return;
    default:
        break;
    }
    if (m_state.destination != Destination::Text)
        return;

    switch (command) {
    case Command::Par:
        endParagraph();
        break;
    case Command::Pard:
        para = ParaProps{};
        break;
    case Command::Plain:
        chars = CharProps{};
        m_formatDirty = true;
        break;
    case Command::Line:
        textCharacter(QChar::LineSeparator);
        break;
    case Command::Tab:
    case Command::Cell:
        textByte('\t');
        break;
    case Command::Character:
        textCharacter(found->second.character);
        break;
    case Command::LeftIndent:
        para.left = std::max(0, twips(value));
        break;
    case Command::FirstIndent:
        para.first = twips(value);
        break;
    case Command::RightIndent:
        para.right = std::max(0, twips(value));
        break;
    case Command::SpaceBefore:
        para.before = std::max(0, twips(value));
        break;
    case Command::SpaceAfter:
        para.after = std::max(0, twips(value));
        break;
    case Command::LineSpacing:
        para.spacing = twips(value);
        break;
    case Command::LineMultiple:
        para.spacingMultiple = on;
        break;
    case Command::AlignLeft:
        para.alignment = Qt::AlignLeft;
        break;
    case Command::AlignCenter:
        para.alignment = Qt::AlignHCenter;
        break;
    case Command::AlignRight:
        para.alignment = Qt::AlignRight;
        break;
    case Command::AlignJustify:
        para.alignment = Qt::AlignJustify;
        break;
    case Command::Bold:
        chars.bold = on;
        m_formatDirty = true;
        break;
    case Command::Italic:
        chars.italic = on;
        m_formatDirty = true;
        break;
    case Command::Underline:
        chars.underline = on;
        m_formatDirty = true;
        break;
    case Command::UnderlineNone:
        chars.underline = false;
        m_formatDirty = true;
        break;
    case Command::Strike:
        chars.strike = on;
        m_formatDirty = true;
        break;
    case Command::Colour:
        chars.colour = value;
        m_formatDirty = true;
        break;
    case Command::Background:
        chars.background = value;
        m_formatDirty = true;
        break;
    case Command::FontSize:
        chars.halfPoints = std::clamp(value, 0, kMaxHalfPoints);
        m_formatDirty = true;
        break;
    case Command::Superscript:
        chars.vertical = 1;
        m_formatDirty = true;
        break;
    case Command::Subscript:
        chars.vertical = -1;
        m_formatDirty = true;
        break;
    case Command::NoSuperSub:
        chars.vertical = 0;
        m_formatDirty = true;
        break;
    default:
        break;
    }
}

void Reader::textByte(unsigned char byte)
{
    switch (m_state.destination) {
    case Destination::Skip:
        return;
    case Destination::ColorTable:
        if (byte == ';')
            commitColour();
        return;
    case Destination::FontTable:
        if (skippingFallback())
            return;
        // A ';' is never a second byte (they start at 40), so it always ends the entry.
        if (byte == ';') {
            commitFontName();
            return;
        }
        m_fontBytes.push_back(static_cast<char>(byte));
        m_leadPending = m_leadPending ? false : text::isLeadByte(byte);
        return;
    case Destination::Text:
        break;
    }
    if (skippingFallback())
        return;
    ensureParagraph();
    if (m_highSurrogate) {
        m_run.append(QChar(QChar::ReplacementCharacter));
        m_highSurrogate = 0;
    }
    // The second byte of a character joins its lead byte whatever format came in between.
    if (m_formatDirty && !m_leadPending)
        startRun();
    m_bytes.push_back(static_cast<char>(byte));
    m_leadPending = m_leadPending ? false : text::isLeadByte(byte);
}

void Reader::textCharacter(char16_t character)
{
    if (m_state.destination == Destination::FontTable) {
        m_fontName += text::toQString(m_fontBytes);
        m_fontBytes.clear();
        m_leadPending = false;
        m_fontName += QChar(character);
        return;
    }
    if (m_state.destination != Destination::Text)
        return;
    ensureParagraph();
    if (m_formatDirty)
        startRun();
    decodeBytes();
    // Surrogates are kept only as pairs, so that the text never holds half a character.
    if (QChar::isLowSurrogate(character) && m_highSurrogate) {
        m_run.append(QChar(m_highSurrogate));
        m_run.append(QChar(character));
        m_highSurrogate = 0;
        return;
    }
    if (m_highSurrogate) {
        m_run.append(QChar(QChar::ReplacementCharacter));
        m_highSurrogate = 0;
    }
    if (QChar::isHighSurrogate(character)) {
        m_highSurrogate = character;
        return;
    }
    if (QChar::isLowSurrogate(character))
        character = QChar::ReplacementCharacter;
    m_run.append(QChar(character));
}

void Reader::commitFontName()
{
    m_fontName += text::toQString(m_fontBytes);
    m_fontBytes.clear();
    m_leadPending = false;
    QString name = m_fontName.trimmed();
    m_fontName.clear();
    if (!name.isEmpty())
        m_fonts[m_fontEntry] = name;
    m_formatDirty = true;
}

void Reader::commitColour()
{
    if (m_colourGiven)
        m_colours.emplace_back(QColor(m_red, m_green, m_blue));
    else
        m_colours.emplace_back(std::nullopt);
    m_red = m_green = m_blue = 0;
    m_colourGiven = false;
    m_formatDirty = true;
}

void Reader::ensureParagraph()
{
    if (!m_paragraphPending)
        return;
    m_paragraphPending = false;
    m_cursor.insertBlock();
}

void Reader::startRun()
{
    QTextCharFormat format = charFormat(m_state.chars);
    if (format != m_runFormat) {
        flushRun();
        m_runFormat = format;
    }
    m_formatDirty = false;
}

void Reader::decodeBytes()
{
    if (!m_bytes.empty()) {
        m_run += text::toQString(m_bytes);
        m_bytes.clear();
    }
    m_leadPending = false;
}

void Reader::flushRun()
{
    decodeBytes();
    if (m_highSurrogate) {
        m_run.append(QChar(QChar::ReplacementCharacter));
        m_highSurrogate = 0;
    }
    if (!m_run.isEmpty()) {
        // Line and paragraph breaks come only from \par and \line, and the document's own
        // frame markers must never appear as text.
        m_run.removeIf([](QChar c) {
            return c == QChar(0) || c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator;
        });
        for (QChar& c : m_run)
            if (c == QChar(0xFDD0) || c == QChar(0xFDD1))
                c = QChar::ReplacementCharacter;
        m_cursor.insertText(m_run, m_runFormat);
        m_run.clear();
    }
}

void Reader::endParagraph()
{
    ensureParagraph();
    flushRun();
    m_cursor.setBlockFormat(blockFormat(m_state.para));
    m_cursor.setBlockCharFormat(charFormat(m_state.chars));
    m_paragraphPending = true;
}

void Reader::finishDocument()
{
    if (m_paragraphPending)
        return;
    flushRun();
    m_cursor.setBlockFormat(blockFormat(m_state.para));
    m_cursor.setBlockCharFormat(charFormat(m_state.chars));
}

QTextCharFormat Reader::charFormat(const CharProps& props) const
{
    QTextCharFormat format;
    auto font = m_fonts.find(props.font >= 0 ? props.font : m_defaultFont);
    if (font != m_fonts.end())
        format.setFontFamilies(QStringList{font->second});
    if (props.halfPoints > 0)
        format.setFontPointSize(props.halfPoints / 2.0);
    if (props.colour >= 0 && static_cast<std::size_t>(props.colour) < m_colours.size() && m_colours[props.colour])
        format.setForeground(*m_colours[props.colour]);
    if (props.background >= 0 && static_cast<std::size_t>(props.background) < m_colours.size() &&
        m_colours[props.background])
        format.setBackground(*m_colours[props.background]);
    if (props.bold)
        format.setFontWeight(QFont::Bold);
    if (props.italic)
        format.setFontItalic(true);
    if (props.underline)
        format.setFontUnderline(true);
    if (props.strike)
        format.setFontStrikeOut(true);
    if (props.vertical > 0)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (props.vertical < 0)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    return format;
}

QTextBlockFormat Reader::blockFormat(const ParaProps& props) const
{
    QTextBlockFormat format;
    // A first line cannot start left of the text's edge.
    const int first = std::max(props.first, -props.left);
    format.setLeftMargin(twipsToPixels(props.left));
    format.setTextIndent(twipsToPixels(first));
    format.setProperty(kLeftIndentTwips, props.left);
    format.setProperty(kFirstIndentTwips, first);
    if (props.right) {
        format.setRightMargin(twipsToPixels(props.right));
        format.setProperty(kRightIndentTwips, props.right);
    }
    if (props.before) {
        format.setTopMargin(twipsToPixels(props.before));
        format.setProperty(kSpaceBeforeTwips, props.before);
    }
    if (props.after) {
        format.setBottomMargin(twipsToPixels(props.after));
        format.setProperty(kSpaceAfterTwips, props.after);
    }
    if (props.spacing != 0) {
        format.setProperty(kLineSpacingTwips, std::abs(props.spacing));
        if (props.spacingMultiple)
            format.setLineHeight(std::abs(props.spacing) * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (props.spacing < 0)
            format.setLineHeight(twipsToPixels(-props.spacing), QTextBlockFormat::FixedHeight);
        else
            format.setLineHeight(twipsToPixels(props.spacing), QTextBlockFormat::MinimumHeight);
    }
    if (props.alignment != Qt::AlignLeft)
        format.setAlignment(props.alignment);
    return format;
}

}  // namespace

RtfReadResult readRtf(std::string_view rtf, QTextDocument& document)
{
    document.clear();
    RtfReadResult result;
    {
        Reader reader(rtf, document);
        result = reader.run();
    }
    if (!result.accepted)
        document.clear();
    return result;
}

}  // namespace display
