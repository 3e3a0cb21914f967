// The article renderer: one scan over the article text that writes coloured runs, one RTF
// paragraph per line, with the indent of each line chosen from its first characters.
#include "display/ArticleRenderer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "text/Cp932.h"

namespace display {

namespace {

// Document head: font 0 is "ＭＳ 明朝" (character set 128, its name in code page 932 hex), then
// the five colours in the order the run colours index them.
constexpr std::string_view kDocumentHead =
    "{\\rtf1\\ansi\r\n"
    "{\\fonttbl{\\f0\\fnil\\fcharset128\\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}\r\n"
    "{\\colortbl\\red0\\green0\\blue0;\r\n"
    "\\red255\\green0\\blue0;\r\n"
    "\\red255\\green0\\blue255;\r\n"
    "\\red0\\green0\\blue255;\r\n"
    "\\red0\\green150\\blue0;}\r\n";
constexpr std::string_view kParagraphEnd = "\r\n\\par\r\n";
constexpr std::string_view kDocumentEnd = "\\par}";
constexpr std::string_view kRunStart = "\\sl-264";  // exact line spacing of 264 twips

constexpr int kPlain = 0;
constexpr int kHighlight1 = 1;
constexpr int kHighlight2 = 2;
constexpr int kLink = 3;
constexpr int kBracket = 4;
constexpr int kNoColour = -1;  // at a line's first byte, so that no empty run is written

// The characters the scan reacts to, in code page 932.
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kOpenParen = "\x81\x69";    // （
constexpr std::string_view kCloseParen = "\x81\x6A";   // ）
constexpr std::string_view kOpenDouble = "\x81\x73";   // 《
constexpr std::string_view kCloseDouble = "\x81\x74";  // 》
constexpr std::string_view kBar = "\x81\x62";          // ｜
constexpr std::string_view kOpenQuote = "\x81\x75";    // 「
constexpr std::string_view kCloseQuote = "\x81\x76";   // 」
// A line end followed by "１　": the article numbers its paragraphs.
constexpr std::string_view kNumberedParagraph = "\r\n\x82\x50\x81\x40";

constexpr std::array<int, 13> kExemptCategories = {40,  50,  80,  140, 190, 240, 290,
                                                    340, 350, 390, 740, 750, 850};

// The indent patterns, tried in this order; the first that matches decides. A line matches a rule
// when it starts with head followed by one of the space-separated followers. A look-alike pair
// (katakana ニ and the numeral 二, katakana ヘ and hiragana へ, katakana ロ and 口) is two followers:
// the content writes both.
struct IndentRule {
    std::string_view head;
    std::string_view followers;
    int indentClass;  // kKeepPrevious for the lines that continue the previous paragraph
};
constexpr int kKeepPrevious = -1;
constexpr std::array<IndentRule, 11> kIndentRules = {{
    {"", "また 　また 　　また なお 　なお 　　なお", kKeepPrevious},
    {"（注）", "１", 8},
    {"　", "一 二 三 四 五 六 七 八 九 十", 1},
    {"　　　（", "１ ２ ３ ４ ５ ６ ７ ８ ９ 注 イ ロ ハ ニ 二 ホ ヘ ト チ リ ヌ ル ヲ", 3},
    {"　　（", "１ ２ ３ ４ ５ ６ ７ ８ ９ 注 イ ロ ハ ニ 二 ホ ヘ ト", 4},
    {"　（", "１ ２ ３ ４ ５ ６ ７ ８ ９ 注", 5},
    {"（", "１ ２ ３ ４ ５ ６ ７ ８ ９ 注", 6},
    {"　　　", "１ ２ ３ ４ ５ ６ ７ ８ ９", 7},
    {"　　",
     "ア イ ウ エ オ カ キ ク ケ コ サ シ ス セ ソ タ チ ツ テ ト ナ ニ ヌ ネ ノ ハ ヒ フ ヘ へ ホ "
     "マ ミ ム メ モ ヤ ユ ヨ ラ リ ル レ 口 ロ ワ ヰ ヱ ヲ ン ヴ",
     2},
    {"　　　　（", "ｉ ｖ ⅰ ⅱ ⅲ ⅳ ⅴ ⅵ ⅶ ⅷ ⅸ ⅹ", 9},
    {"　　　　", "Ａ Ｂ Ｃ Ｄ Ｅ", 3},
}};

struct CompiledIndentRule {
    std::string head;
    std::vector<std::string> followers;
    int indentClass;
};

const std::vector<CompiledIndentRule>& compiledIndentRules()
{
    static const std::vector<CompiledIndentRule> rules = [] {
        std::vector<CompiledIndentRule> out;
        for (const IndentRule& rule : kIndentRules) {
            CompiledIndentRule compiled{text::cp932(rule.head), {}, rule.indentClass};
            std::string_view rest = rule.followers;
            while (!rest.empty()) {
                std::size_t space = rest.find(' ');
                compiled.followers.push_back(text::cp932(rest.substr(0, space)));
                rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
            }
            out.push_back(std::move(compiled));
        }
        return out;
    }();
    return rules;
}

// Positions are 1-based byte positions in the article text: a link row's sel + 1.
using Position = std::int64_t;
constexpr Position kEnd = std::numeric_limits<Position>::max();  // beyond every position

class ArticleScan {
public:
    ArticleScan(std::string_view articleText, const ArticleRenderInput& input,
                const std::vector<ArticleLinkRow>& links)
        : m_text(articleText),
          m_length(static_cast<Position>(articleText.size())),
          m_links(links),
          m_word1(input.highlightWord1),
          m_word2(input.highlightWord2),
          m_exempt(IsExemptCategory(input.kubunNo))
    {
    }

    std::string render()
    {
        // Most bytes are written once; each run adds its prefix and a few escapes.
        m_out.reserve(kDocumentHead.size() + m_text.size() + m_text.size() / 2 + 64);
        m_out += kDocumentHead;
        while (m_pos <= m_length)
            step();
        if (m_pos > m_runStart)
            writeRun(m_runStart, m_pos - 1);
        m_out += kDocumentEnd;
        return std::move(m_out);
    }

private:
    // Every byte is tested against a dozen markers: the first byte rules most of them out.
    bool holdsAt(Position pos, std::string_view bytes) const
    {
        const auto at = static_cast<std::size_t>(pos - 1);
        return !bytes.empty() && at + bytes.size() <= m_text.size() && m_text[at] == bytes[0] &&
               m_text.compare(at, bytes.size(), bytes) == 0;
    }
    char byteAt(Position pos) const { return m_text[static_cast<std::size_t>(pos - 1)]; }

    void step()
    {
        if (m_pos > m_linkStart && m_pos > m_linkEnd)
            findNextLinkRun();
        if (!m_atSecondByte)
            readMarkers();
        if (holdsAt(m_pos, kLineEnd)) {
            endLine();
            return;
        }
        int colour = colourAt(m_pos);
        if (colour != m_colour && m_pos > m_runStart)
            writeRun(m_runStart, m_pos - 1);
        m_colour = colour;
        m_atSecondByte = !m_atSecondByte && text::isLeadByte(static_cast<unsigned char>(byteAt(m_pos)));
        ++m_pos;
    }

    // The link rows come in ascending sel; rows whose sel follow one another form one run, so
    // two links that touch are drawn as one. The cursor stays on the first row after the run.
    void findNextLinkRun()
    {
        if (m_linkCursor >= m_links.size()) {
            m_linkStart = m_linkEnd = kEnd;
            return;
        }
        m_linkStart = static_cast<Position>(m_links[m_linkCursor].sel) + 1;
        m_linkEnd = m_linkStart;
        while (m_linkCursor < m_links.size() && static_cast<Position>(m_links[m_linkCursor].sel) + 1 == m_linkEnd) {
            ++m_linkEnd;
            ++m_linkCursor;
        }
    }

    // Only at a character's first byte: a highlight word or bracket whose bytes happen to start
    // at a second byte is not there.
    void readMarkers()
    {
        const Position pos = m_pos;
        if (!m_word1.empty() && holdsAt(pos, m_word1))
            m_word1End = pos + static_cast<Position>(m_word1.size());
        if (!m_word2.empty() && holdsAt(pos, m_word2))
            m_word2End = pos + static_cast<Position>(m_word2.size());

        const char byte = byteAt(pos);
        if (holdsAt(pos, kOpenParen) || holdsAt(pos, kOpenDouble) || byte == '(') {
            m_bracketEnd = kEnd;
            ++m_bracketDepth;
            m_quoteBalance = 1;
        }
        if ((holdsAt(pos, kCloseParen) || holdsAt(pos, kCloseDouble)) && m_bracketDepth > 0) {
            if (--m_bracketDepth == 0)
                m_bracketEnd = pos + 2;
        }
        if (byte == ')' && m_bracketDepth > 0) {
            if (--m_bracketDepth == 0)
                m_bracketEnd = pos + 1;
        }
        if (holdsAt(pos, kBar)) {
            m_bracketEnd = 0;
            m_bracketDepth = 0;
            m_quoteBalance = 0;
        }
        if (pos < m_bracketEnd) {
            // A 」 whose 「 lies before the last opening bracket closes the passage: the bracket
            // was a quotation's, not a parenthesis of its own.
            if (holdsAt(pos, kOpenQuote))
                ++m_quoteBalance;
            else if (holdsAt(pos, kCloseQuote))
                --m_quoteBalance;
            if (m_quoteBalance == 0) {
                m_bracketEnd = 0;
                m_bracketDepth = 0;
            }
        }
    }

    void endLine()
    {
        if (m_pos > m_runStart)
            writeRun(m_runStart, m_pos - 1);
        m_out += kParagraphEnd;
        m_pos += 2;
        m_runStart = m_pos;
        m_colour = kNoColour;
        m_atSecondByte = false;  // CR LF never carries a character's second byte past itself
        // Lines 1 and 2 are written before this is known, so they never get the numbered indent.
        if (++m_lineEnds == 2)
            m_numbered = m_text.find(kNumberedParagraph) != std::string_view::npos;
        const std::string_view rest =
            m_pos - 1 < m_length ? m_text.substr(static_cast<std::size_t>(m_pos - 1)) : std::string_view();
        m_indentClass = IndentClass(rest, m_indentClass);
        m_bracketEnd = 0;
        m_bracketDepth = 0;
        m_quoteBalance = 0;
    }

    int colourAt(Position pos) const
    {
        if (!m_word1.empty() && pos < m_word1End)
            return kHighlight1;
        if (!m_word2.empty() && pos < m_word2End)
            return kHighlight2;
        if (m_linkStart <= pos && pos < m_linkEnd)
            return kLink;
        if (pos < m_bracketEnd)
            return kBracket;
        return kPlain;
    }

    // The space after the colour keeps a leading digit of the run out of the control word. Every
    // 5C, 7B and 7D is escaped, the second byte of a double-byte character too ("表" is 95 5C).
    void writeRun(Position from, Position to)
    {
        m_out += kRunStart;
        m_out += IndentPrefix(m_indentClass, m_numbered, m_exempt);
        m_out += static_cast<char>('0' + m_colour);
        if (m_colour == kLink)
            m_out += "\\ul";
        m_out += ' ';
        std::string_view bytes =
            m_text.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from + 1));
        for (std::size_t special; (special = bytes.find_first_of("\\{}")) != std::string_view::npos;) {
            m_out.append(bytes.substr(0, special));
            m_out += '\\';
            m_out += bytes[special];
            bytes.remove_prefix(special + 1);
        }
        m_out.append(bytes);
        m_out += '}';
        m_runStart = to + 1;
    }

    const std::string_view m_text;
    const Position m_length;
    const std::vector<ArticleLinkRow>& m_links;
    const std::string_view m_word1;
    const std::string_view m_word2;
    const bool m_exempt;
    std::string m_out;

    Position m_pos = 1;
    Position m_runStart = 1;
    int m_colour = kNoColour;
    bool m_atSecondByte = false;
    Position m_word1End = 0;
    Position m_word2End = 0;
    Position m_linkStart = 0;
    Position m_linkEnd = 0;
    std::size_t m_linkCursor = 0;
    Position m_bracketEnd = 0;
    int m_bracketDepth = 0;
    int m_quoteBalance = 0;
    int m_indentClass = 0;  // the first line is never classified
    int m_lineEnds = 0;
    bool m_numbered = false;  // counts as no until the second line end decides it
};

bool bySel(const ArticleLinkRow& a, const ArticleLinkRow& b)
{
    return a.sel < b.sel;
}

}  // namespace

std::string ArticleTextOf(std::string_view honbun)
{
    honbun = honbun.substr(0, honbun.find('\0'));
    std::string articleText;
    articleText.reserve(honbun.size() + 2);
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i < honbun.size(); ++i) {
        const char byte = honbun[i];
        if (byte != '\r' && byte != '\n')
            continue;
        articleText.append(honbun.substr(lineStart, i - lineStart));
        articleText += kLineEnd;
        if (byte == '\r' && i + 1 < honbun.size() && honbun[i + 1] == '\n')
            ++i;
        lineStart = i + 1;
    }
    if (lineStart < honbun.size()) {
        articleText.append(honbun.substr(lineStart));
        articleText += kLineEnd;
    }
    return articleText;
}

int IndentClass(std::string_view line, int previousClass)
{
    for (const CompiledIndentRule& rule : compiledIndentRules()) {
        if (!line.starts_with(rule.head))
            continue;
        const std::string_view afterHead = line.substr(rule.head.size());
        for (const std::string& follower : rule.followers) {
            if (afterHead.starts_with(follower))
                return rule.indentClass == kKeepPrevious ? previousClass : rule.indentClass;
        }
    }
    return 0;
}

bool IsExemptCategory(int kubunNo)
{
    return std::ranges::find(kExemptCategories, kubunNo) != kExemptCategories.end();
}

std::string_view IndentPrefix(int indentClass, bool numbered, bool exempt)
{
    constexpr std::string_view kNoIndent = "\\li0\\fi0{\\cf";
    // Hanging indents in twips; 240 twips is one full-width character of the 12-point text.
    constexpr std::array<std::string_view, 10> kPrefixes = {
        "\\li240\\fi-240{\\cf",   "\\li480\\fi-480{\\cf", "\\li600\\fi-600{\\cf", "\\li1200\\fi-1200{\\cf",
        "\\li960\\fi-960{\\cf",   "\\li720\\fi-720{\\cf", "\\li480\\fi-480{\\cf", "\\li960\\fi-960{\\cf",
        "\\li960\\fi-960{\\cf",   "\\li1440\\fi-1440{\\cf",
    };
    if (indentClass < 0 || indentClass >= static_cast<int>(kPrefixes.size()))
        return kNoIndent;
    if (indentClass == 0 && (!numbered || exempt))
        return kNoIndent;
    if (indentClass == 1 && exempt)
        return kNoIndent;
    return kPrefixes[static_cast<std::size_t>(indentClass)];
}

std::string RenderArticle(const ArticleRenderInput& input)
{
    const std::string articleText = ArticleTextOf(input.honbun);
    if (std::ranges::is_sorted(input.links, bySel))
        return ArticleScan(articleText, input, input.links).render();
    std::vector<ArticleLinkRow> linksBySel = input.links;
    std::ranges::stable_sort(linksBySel, bySel);
    return ArticleScan(articleText, input, linksBySel).render();
}

}  // namespace display
