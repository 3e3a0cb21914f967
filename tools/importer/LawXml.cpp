// The standard law XML walk: libxml2 builds the tree, then the law's parts are read element by
// element into the page model (headings, articles, 附則 blocks, 別表, 別紙様式).
#include "tools/importer/LawXml.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

#include "tools/importer/Manifest.h"
#include "tools/importer/Numerals.h"

namespace importer {

namespace {

bool is(const xmlNode* n, const char* name)
{
    return n && n->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(n->name), name) == 0;
}

std::string nameOf(const xmlNode* n)
{
    return reinterpret_cast<const char*>(n->name);
}

bool startsWith(const std::string& s, std::string_view prefix)
{
    return s.compare(0, prefix.size(), prefix) == 0;
}

std::string attribute(xmlNode* n, const char* name)
{
    xmlChar* v = xmlGetProp(n, reinterpret_cast<const xmlChar*>(name));
    std::string out = v ? reinterpret_cast<const char*>(v) : "";
    xmlFree(v);
    return out;
}

// The older form marks elements that are not shown with Hide="true".
bool hidden(xmlNode* n)
{
    return attribute(n, "Hide") == "true";
}

template <typename F>
void forEachElement(xmlNode* parent, F&& f)
{
    for (xmlNode* c = parent ? parent->children : nullptr; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE && !hidden(c))
            f(c);
}

xmlNode* child(xmlNode* parent, const char* name)
{
    for (xmlNode* c = parent ? parent->children : nullptr; c; c = c->next)
        if (is(c, name))
            return c;
    return nullptr;
}

// A text node as content: the file's indentation between elements (line breaks with the blanks
// around them) is layout, not text.
U32 contentOf(const xmlChar* raw)
{
    U32 t = fromUtf8(reinterpret_cast<const char*>(raw));
    if (t.find(U'\n') == U32::npos && t.find(U'\r') == U32::npos)
        return t;
    U32 out;
    std::size_t i = 0;
    while (i < t.size()) {
        if (t[i] == U' ' || t[i] == U'\t' || t[i] == U'\n' || t[i] == U'\r') {
            std::size_t j = i;
            bool lineBreak = false;
            while (j < t.size() && (t[j] == U' ' || t[j] == U'\t' || t[j] == U'\n' || t[j] == U'\r')) {
                lineBreak = lineBreak || t[j] == U'\n' || t[j] == U'\r';
                ++j;
            }
            if (!lineBreak)
                out.append(t, i, j - i);
            i = j;
        } else {
            out.push_back(t[i++]);
        }
    }
    return out;
}

std::vector<U32> tableLines(xmlNode* tableStruct);

// The text of a mixed-content element (Sentence, …Title, a cell): ruby as its base text,
// figures as ［図］, a quoted table as its lines, sibling Columns apart by a full-width space.
void inlineText(xmlNode* element, U32& out)
{
    bool columnSeen = false;
    for (xmlNode* c = element->children; c; c = c->next) {
        if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
            if (c->content)
                out += contentOf(c->content);
            continue;
        }
        if (c->type != XML_ELEMENT_NODE || hidden(c) || is(c, "Rt"))
            continue;
        if (is(c, "Fig")) {
            out += U"［図］";
        } else if (is(c, "TableStruct") || is(c, "Table")) {
            for (const auto& line : tableLines(c))
                out += U"\n" + line;
            out += U"\n";
        } else if (is(c, "Column")) {
            if (columnSeen)
                out += U"　";
            columnSeen = true;
            inlineText(c, out);
        } else {
            inlineText(c, out);
        }
    }
}

U32 inlineText(xmlNode* element)
{
    U32 out;
    if (element)
        inlineText(element, out);
    return out;
}

U32 trimmed(U32View t)
{
    std::size_t b = 0, e = t.size();
    while (b < e && (t[b] == U' ' || t[b] == kIdeographicSpace || t[b] == U'\n'))
        ++b;
    while (e > b && (t[e - 1] == U' ' || t[e - 1] == kIdeographicSpace || t[e - 1] == U'\n'))
        --e;
    return U32(t.substr(b, e - b));
}

// One line per row, cells between ｜ marks; a cell spanning rows is written in its first row
// and left empty below (the law pages' rule).
void addTableRows(xmlNode* table, std::vector<U32>& lines)
{
    std::vector<int> carry;
    forEachElement(table, [&](xmlNode* row) {
        if (!is(row, "TableRow") && !is(row, "TableHeaderRow"))
            return;
        U32 line;
        std::size_t col = 0;
        auto emitCarried = [&] {
            while (col < carry.size() && carry[col] > 0) {
                --carry[col];
                line += U"｜";
                ++col;
            }
        };
        forEachElement(row, [&](xmlNode* cell) {
            emitCarried();
            U32 text;
            for (char32_t ch : trimmed(inlineText(cell)))
                text.push_back(ch == U'\n' ? kIdeographicSpace : ch);
            line += U"｜" + text;
            int span = std::atoi(attribute(cell, "rowspan").c_str());
            int colspan = std::max(1, std::atoi(attribute(cell, "colspan").c_str()));
            for (int k = 0; k < colspan; ++k) {
                if (carry.size() <= col)
                    carry.resize(col + 1, 0);
                carry[col] = std::max(span, 1) - 1;
                ++col;
            }
        });
        emitCarried();
        if (!line.empty())
            lines.push_back(line + U"｜");
    });
}

std::vector<U32> tableLines(xmlNode* node)
{
    std::vector<U32> lines;
    if (is(node, "Table")) {
        addTableRows(node, lines);
        return lines;
    }
    forEachElement(node, [&](xmlNode* c) {
        if (is(c, "Table")) {
            addTableRows(c, lines);
        } else {
            U32 t = trimmed(inlineText(c));
            if (!t.empty())
                lines.push_back(t);
        }
    });
    return lines;
}

// A day as yyyymmdd when it is one.
bool validDay(int y, int m, int d)
{
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1868 || y > 9999 || m < 1 || m > 12 || d < 1 || d > kDays[m - 1])
        return false;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return !(m == 2 && d == 29 && !leap);
}

class LawReader {
public:
    explicit LawReader(std::string label) : m_label(std::move(label)) {}
    LawPage read(xmlNode* law);

private:
    void problem(const std::string& what) { m_page.problems.push_back(what); }
    void mainProvision(xmlNode* node);
    void supplProvision(xmlNode* node);
    std::vector<Provision> article(xmlNode* node);
    void paragraph(xmlNode* node, Provision& p);
    void item(xmlNode* node, Provision& p, int level);
    void extra(xmlNode* node, Provision& p);
    void appendedTable(xmlNode* node);
    void form(xmlNode* node);

    std::string m_label;
    LawPage m_page;
};

void appendLines(Provision& p, const std::vector<U32>& lines)
{
    if (lines.empty())
        return;
    if (p.blocks.empty())
        p.blocks.push_back({BlockKind::Paragraph, 0, {}, {}});
    RichText& t = p.blocks.back().text;
    for (const auto& l : lines)
        appendText(t, U"\n" + l);
}

// Lines of a block-level element that is not a paragraph, item or table: its texts in order.
std::vector<U32> blockLines(xmlNode* node)
{
    std::vector<U32> lines;
    if (is(node, "TableStruct"))
        return tableLines(node);
    if (is(node, "FigStruct") || is(node, "Fig")) {
        lines.push_back(U"［図］");
        return lines;
    }
    bool structural = false;
    forEachElement(node, [&](xmlNode* c) {
        std::string n = nameOf(c);
        if (n == "Sentence" || n == "Column")
            return;
        structural = true;
    });
    if (!structural) {
        U32 t = trimmed(inlineText(node));
        if (!t.empty())
            lines.push_back(t);
        return lines;
    }
    forEachElement(node, [&](xmlNode* c) {
        for (auto& l : blockLines(c))
            lines.push_back(std::move(l));
    });
    return lines;
}

// Item (level 0) and Subitem1… (level 1…), with their titles, sentences and what follows them.
void LawReader::item(xmlNode* node, Provision& p, int level)
{
    const std::string name = nameOf(node);
    Block b{level == 0 ? BlockKind::Item : BlockKind::SubItem, level, {}, {}};
    b.label = withoutSpaces(inlineText(child(node, (name + "Title").c_str())));
    appendText(b.text, inlineText(child(node, (name + "Sentence").c_str())));
    p.blocks.push_back(std::move(b));
    const std::string sub = "Subitem" + std::to_string(level + 1);
    forEachElement(node, [&](xmlNode* c) {
        std::string n = nameOf(c);
        if (n == name + "Title" || n == name + "Sentence")
            return;
        if (n == sub)
            item(c, p, level + 1);
        else
            extra(c, p);
    });
}

void LawReader::extra(xmlNode* node, Provision& p)
{
    appendLines(p, blockLines(node));
}

void LawReader::paragraph(xmlNode* node, Provision& p)
{
    U32 label = withoutSpaces(inlineText(child(node, "ParagraphNum")));
    if (auto v = parseNumber(label))
        label = fullWidthNumber(*v);
    if (xmlNode* caption = child(node, "ParagraphCaption")) {
        Block c{BlockKind::Caption, 0, {}, {}};
        appendText(c.text, inlineText(caption));
        p.blocks.push_back(std::move(c));
    }
    Block b{BlockKind::Paragraph, 0, label, {}};
    appendText(b.text, inlineText(child(node, "ParagraphSentence")));
    p.blocks.push_back(std::move(b));
    forEachElement(node, [&](xmlNode* c) {
        if (is(c, "ParagraphNum") || is(c, "ParagraphCaption") || is(c, "ParagraphSentence"))
            return;
        if (is(c, "Item"))
            item(c, p, 0);
        else
            extra(c, p);
    });
}

std::optional<ArticleNumber> numberOfNum(const std::string& num)
{
    ArticleNumber n;
    int parts[3] = {0, 0, 0};
    std::size_t k = 0, pos = 0;
    while (pos <= num.size()) {
        std::size_t us = num.find('_', pos);
        std::string part = num.substr(pos, us == std::string::npos ? std::string::npos : us - pos);
        if (part.empty() || k >= 3 || part.find_first_not_of("0123456789") != std::string::npos || part.size() > 4)
            return std::nullopt;
        parts[k++] = std::stoi(part);
        if (us == std::string::npos)
            break;
        pos = us + 1;
    }
    if (parts[0] <= 0)
        return std::nullopt;
    n.article = parts[0];
    n.branch1 = parts[1];
    n.branch2 = parts[2];
    return n;
}

bool readsDeleted(const Provision& p)
{
    return p.blocks.size() == 1 && p.blocks[0].kind == BlockKind::Paragraph &&
           withoutSpaces(plainText(p.blocks[0].text)) == U"削除";
}

std::vector<Provision> LawReader::article(xmlNode* node)
{
    Provision p;
    p.kind = ProvisionKind::Article;
    p.printedNumber = withoutSpaces(inlineText(child(node, "ArticleTitle")));
    appendText(p.caption, inlineText(child(node, "ArticleCaption")));
    const std::string num = attribute(node, "Num");
    forEachElement(node, [&](xmlNode* c) {
        if (is(c, "ArticleTitle") || is(c, "ArticleCaption"))
            return;
        if (is(c, "Paragraph"))
            paragraph(c, p);
        else
            extra(c, p);
    });
    if (attribute(node, "Delete") == "true" || p.blocks.empty()) {
        p.blocks.clear();
        p.blocks.push_back({BlockKind::Paragraph, 0, {}, {{U"削除", -1}}});
    }
    p.deleted = readsDeleted(p);

    std::size_t colon = num.find(':');
    if (colon == std::string::npos) {
        if (auto n = numberOfNum(num))
            p.number = *n;
        else if (auto printed = parseArticleNumber(p.printedNumber))
            p.number = *printed;
        else
            problem("条文番号が読めません: " + toUtf8(p.printedNumber));
        return {std::move(p)};
    }
    // A run of deleted articles: one row per number, as the pages print each deleted article.
    auto from = numberOfNum(num.substr(0, colon));
    auto to = numberOfNum(num.substr(colon + 1));
    std::vector<Provision> run;
    if (from && to && *from <= *to) {
        int ArticleNumber::*step = from->branch2 || to->branch2 ? &ArticleNumber::branch2
                                   : from->branch1 || to->branch1 ? &ArticleNumber::branch1
                                                                  : &ArticleNumber::article;
        ArticleNumber last = *to;
        ArticleNumber first = *from;
        first.*step = 0;
        last.*step = 0;
        if (first == last && (*to).*step - (*from).*step < 1000) {
            for (int k = (*from).*step; k <= (*to).*step; ++k) {
                Provision one = p;
                one.number = *from;
                one.number.*step = k;
                run.push_back(std::move(one));
            }
            return run;
        }
    }
    problem("削除された条の範囲が読めません: " + num);
    if (from)
        p.number = *from;
    return {std::move(p)};
}

void LawReader::mainProvision(xmlNode* node)
{
    static const char* kDivisions[] = {"Part", "Chapter", "Section", "Subsection", "Division"};
    forEachElement(node, [&](xmlNode* c) {
        for (int level = 0; level < 5; ++level) {
            if (is(c, kDivisions[level])) {
                U32 title = trimmed(inlineText(child(c, (std::string(kDivisions[level]) + "Title").c_str())));
                m_page.headings.push_back({level + 1, title, m_page.articles.size(), {}});
                mainProvision(c);
                return;
            }
        }
        if (is(c, "Article")) {
            for (auto& a : article(c))
                m_page.articles.push_back(std::move(a));
        } else if (is(c, "Paragraph")) {
            // A law without articles: its paragraphs are its one provision.
            if (m_page.articles.empty() || m_page.articles.back().number.article != 0) {
                Provision p;
                p.printedNumber = U"本則";
                m_page.articles.push_back(std::move(p));
            }
            paragraph(c, m_page.articles.back());
        } else if (!is(c, "ChapterTitle") && !is(c, "PartTitle") && !is(c, "SectionTitle") && !is(c, "SubsectionTitle") &&
                   !is(c, "DivisionTitle")) {
            if (!m_page.articles.empty())
                extra(c, m_page.articles.back());
        }
    });
}

void LawReader::supplProvision(xmlNode* node)
{
    SupplementaryBlock block;
    block.sequence = static_cast<int>(m_page.supplementary.size()) + 1;
    const U32 amend = withoutSpaces(fromUtf8(attribute(node, "AmendLawNum")));
    block.excerpt = attribute(node, "Extract") == "true";
    block.title = U"附則";
    if (!amend.empty())
        block.title += U"（" + amend + U"）";
    if (block.excerpt)
        block.title += U"抄";
    if (!amend.empty()) {
        block.act = parseActDesignation(block.title);
        if (!block.act)
            problem("附則の改正法令が読めません: " + toUtf8(amend));
    }
    auto whole = [&]() -> Provision& {
        if (block.provisions.empty() || block.provisions.back().kind != ProvisionKind::SupplementaryWhole) {
            Provision p;
            p.kind = ProvisionKind::SupplementaryWhole;
            block.provisions.push_back(std::move(p));
        }
        return block.provisions.back();
    };
    std::function<void(xmlNode*)> walk = [&](xmlNode* parent) {
        forEachElement(parent, [&](xmlNode* c) {
            if (is(c, "SupplProvisionLabel"))
                return;
            if (is(c, "Article")) {
                for (auto& a : article(c))
                    block.provisions.push_back(std::move(a));
            } else if (is(c, "Paragraph")) {
                paragraph(c, whole());
            } else if (is(c, "Chapter") || is(c, "Section") || is(c, "Subsection") || is(c, "Division")) {
                walk(c);
            } else if (!block.provisions.empty()) {
                extra(c, block.provisions.back());
            } else {
                extra(c, whole());
            }
        });
    };
    walk(node);
    m_page.supplementary.push_back(std::move(block));
}

// 別表第一の二 → 1, 2; 別表二十二 → 22.
std::optional<ArticleNumber> tableNumber(U32View title)
{
    std::size_t pos = title.find(U"別表");
    if (pos == U32View::npos)
        return std::nullopt;
    pos += 2;
    if (pos < title.size() && title[pos] == U'第')
        ++pos;
    std::size_t end = pos;
    while (end < title.size() && (isKanjiNumeral(title[end]) || isFullWidthDigit(title[end])))
        ++end;
    auto main = parseNumber(title.substr(pos, end - pos));
    if (!main || *main <= 0)
        return std::nullopt;
    ArticleNumber n;
    n.article = static_cast<int>(*main);
    if (end < title.size() && title[end] == U'の') {
        std::size_t b = end + 1, e = b;
        while (e < title.size() && (isKanjiNumeral(title[e]) || isFullWidthDigit(title[e])))
            ++e;
        if (auto branch = parseNumber(title.substr(b, e - b)))
            n.branch1 = static_cast<int>(*branch);
    }
    return n;
}

void LawReader::appendedTable(xmlNode* node)
{
    Provision p;
    p.kind = ProvisionKind::AppendedTable;
    xmlNode* titleNode = nullptr;
    forEachElement(node, [&](xmlNode* c) {
        if (!titleNode && nameOf(c).size() > 5 && nameOf(c).compare(nameOf(c).size() - 5, 5, "Title") == 0)
            titleNode = c;
    });
    p.printedNumber = withoutSpaces(inlineText(titleNode));
    if (auto n = tableNumber(p.printedNumber))
        p.number = *n;
    else
        p.number.article = static_cast<int>(m_page.appendedTables.size()) + 1;
    appendText(p.caption, withoutSpaces(inlineText(child(node, "RelatedArticleNum"))));
    p.blocks.push_back({BlockKind::Paragraph, 0, {}, {}});
    forEachElement(node, [&](xmlNode* c) {
        if (c == titleNode || is(c, "RelatedArticleNum"))
            return;
        if (is(c, "Item") || startsWith(nameOf(c), "Subitem")) {
            // an item of a table's notes: its number and text on one line, placed by its marker
            U32 line = withoutSpaces(inlineText(child(c, (nameOf(c) + "Title").c_str()))) + U"　" +
                       inlineText(child(c, (nameOf(c) + "Sentence").c_str()));
            appendLines(p, {line});
            return;
        }
        appendLines(p, blockLines(c));
    });
    m_page.appendedTables.push_back(std::move(p));
}

// A form, figure or note appended to the law: a line naming it in the 別紙様式 row, then what
// the file gives of it besides its picture.
void LawReader::form(xmlNode* node)
{
    if (!m_page.forms) {
        m_page.forms = Provision{};
        m_page.forms->kind = ProvisionKind::Forms;
        m_page.forms->printedNumber = U"別紙様式";
    }
    Provision& forms = *m_page.forms;
    U32 title;
    U32 related;
    std::vector<U32> lines;
    forEachElement(node, [&](xmlNode* c) {
        std::string n = nameOf(c);
        if (title.empty() && n.size() > 5 && n.compare(n.size() - 5, 5, "Title") == 0)
            title = trimmed(inlineText(c));
        else if (n == "RelatedArticleNum")
            related = trimmed(inlineText(c));
        else
            for (auto& l : blockLines(c))
                lines.push_back(std::move(l));
    });
    U32 head = title;
    if (!related.empty())
        head += (head.empty() ? U"" : U"　") + related;
    if (head.empty())
        head = U"様式";
    std::vector<U32> all{head};
    for (auto& l : lines)
        all.push_back(U"　" + l);
    appendLines(forms, all);
}

LawPage LawReader::read(xmlNode* law)
{
    m_page.promulgation = withoutSpaces(inlineText(child(law, "LawNum")));
    xmlNode* body = child(law, "LawBody");
    if (!body)
        throw ImportError(m_label + ": 法令の本文 (LawBody) がありません");
    m_page.title = withoutSpaces(inlineText(child(body, "LawTitle")));
    forEachElement(body, [&](xmlNode* c) {
        const std::string n = nameOf(c);
        if (n == "MainProvision")
            mainProvision(c);
        else if (n == "SupplProvision")
            supplProvision(c);
        else if (n == "AppdxTable")
            appendedTable(c);
        else if (startsWith(n, "Appdx"))
            form(c);
    });
    if (m_page.articles.empty())
        throw ImportError(m_label + ": 法令に条文がありません (本則が空です)");
    if (m_page.title.empty())
        problem("法令名 (LawTitle) がありません");
    return std::move(m_page);
}

// Where the first byte that is not UTF-8 lies, as a line number; 0 when every byte is.
int firstBadUtf8Line(std::string_view s)
{
    int line = 1;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (len == 0 || (len > 1 && c < 0xC2) || i + len > s.size())
            return line;
        for (std::size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return line;
        if (c == '\n')
            ++line;
        i += len;
    }
    return 0;
}

struct FirstXmlError {
    bool seen = false;
    int line = 0;
    std::string message;
};

void keepFirstError(void* data, xmlErrorPtr error)
{
    auto* first = static_cast<FirstXmlError*>(data);
    if (first->seen || !error || error->level < XML_ERR_ERROR)
        return;
    first->seen = true;
    first->line = error->line;
    first->message = error->message ? error->message : "";
}

std::string_view skipProlog(std::string_view s)
{
    if (s.substr(0, 3) == "\xEF\xBB\xBF")
        s.remove_prefix(3);
    for (;;) {
        std::size_t i = s.find_first_not_of(" \t\r\n");
        if (i == std::string_view::npos)
            return {};
        s.remove_prefix(i);
        if (s.substr(0, 4) == "<!--") {
            std::size_t e = s.find("-->");
            if (e == std::string_view::npos)
                return {};
            s.remove_prefix(e + 3);
        } else if (s.substr(0, 2) == "<?" && s.substr(0, 5) != "<?xml") {
            std::size_t e = s.find("?>");
            if (e == std::string_view::npos)
                return {};
            s.remove_prefix(e + 2);
        } else {
            return s;
        }
    }
}

}  // namespace

std::optional<CivilDate> parseIsoDate(std::string_view t)
{
    if (t.size() != 10 || t[4] != '-' || t[7] != '-')
        return std::nullopt;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (t[i] < '0' || t[i] > '9')
            return std::nullopt;
    int y = std::stoi(std::string(t.substr(0, 4))), m = std::stoi(std::string(t.substr(5, 2))),
        d = std::stoi(std::string(t.substr(8, 2)));
    if (!validDay(y, m, d))
        return std::nullopt;
    return y * 10000 + m * 100 + d;
}

std::string isoDate(CivilDate date)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", date / 10000, date / 100 % 100, date % 100);
    return buf;
}

U32 japaneseDate(CivilDate date)
{
    struct Era { CivilDate from; std::u32string_view name; int firstYear; };
    static constexpr Era kEras[] = {{20190501, U"令和", 2019}, {19890108, U"平成", 1989}, {19261225, U"昭和", 1926},
                                    {19120730, U"大正", 1912}, {18680101, U"明治", 1868}};
    for (const auto& era : kEras) {
        if (date < era.from)
            continue;
        int year = date / 10000 - era.firstYear + 1;
        return U32(era.name) + (year == 1 ? U32(U"元") : fullWidthNumber(year)) + U"年" + fullWidthNumber(date / 100 % 100) +
               U"月" + fullWidthNumber(date % 100) + U"日";
    }
    return fromUtf8(isoDate(date));
}

LawRevision revisionOfFileName(const std::string& fileName)
{
    LawRevision r;
    std::string stem = fileName;
    std::size_t slash = stem.find_last_of("/\\");
    if (slash != std::string::npos)
        stem.erase(0, slash + 1);
    std::size_t dot = stem.rfind('.');
    if (dot != std::string::npos)
        stem.erase(dot);
    r.revisionId = stem;
    // <law id, 15 letters and digits>_<YYYYMMDD>_<amending act id>
    auto alnum = [](std::string_view s) {
        return !s.empty() && s.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") ==
                                 std::string_view::npos;
    };
    if (stem.size() < 25 || stem[15] != '_' || stem[24] != '_' || !alnum(std::string_view(stem).substr(0, 15)) ||
        !alnum(std::string_view(stem).substr(25)))
        return r;
    std::string d = stem.substr(16, 8);
    auto date = parseIsoDate(d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2));
    if (!date)
        return r;
    r.lawId = stem.substr(0, 15);
    r.inForce = date;
    return r;
}

namespace {

// Elements nest at most this deep. The law reader recurses once per level, and the parser (told
// to take huge texts) sets no bound of its own; the laws nest some thirty deep.
constexpr int kMaxElementDepth = 256;

// Whether some element lies deeper than depth below root, found without recursing.
bool nestedDeeperThan(xmlNode* root, int depth)
{
    int level = 0;
    for (xmlNode* n = root; n;) {
        if (n->children) {
            if (++level > depth)
                return true;
            n = n->children;
            continue;
        }
        while (n && n != root && !n->next) {
            n = n->parent;
            --level;
        }
        n = n && n != root ? n->next : nullptr;
    }
    return false;
}

}  // namespace

bool looksLikeLawXml(std::string_view bytes)
{
    std::string_view s = skipProlog(bytes);
    if (s.substr(0, 5) == "<?xml")
        return true;
    for (std::string_view root : {"<Law", "<DataRoot", "<law_data_response"})
        if (s.substr(0, root.size()) == root && s.size() > root.size() &&
            std::string_view(" \t\r\n>/").find(s[root.size()]) != std::string_view::npos)
            return true;
    return false;
}

LawXml readLawXml(std::string_view bytes, const std::string& label)
{
    if (int line = firstBadUtf8Line(bytes))
        throw ImportError(label + " の " + std::to_string(line) +
                          " 行目: UTF-8 として読めない文字があります (法令標準XML は UTF-8 で書かれています)");
    std::unique_ptr<xmlParserCtxt, void (*)(xmlParserCtxtPtr)> ctxt(xmlNewParserCtxt(), xmlFreeParserCtxt);
    if (!ctxt)
        throw ImportError(label + ": XML を読む用意ができません");
    // The first error names the place to look; the parser may report more after it.
    FirstXmlError first;
    xmlSetStructuredErrorFunc(&first, keepFirstError);
    std::unique_ptr<xmlDoc, void (*)(xmlDoc*)> doc(
        xmlCtxtReadMemory(ctxt.get(), bytes.data(), static_cast<int>(bytes.size()), nullptr, "UTF-8",
                          XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE),
        xmlFreeDoc);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    if (!doc || !ctxt->wellFormed) {
        if (!first.seen) {
            first.line = ctxt->lastError.line;
            first.message = ctxt->lastError.message ? ctxt->lastError.message : "";
        }
        while (!first.message.empty() && (first.message.back() == '\n' || first.message.back() == ' '))
            first.message.pop_back();
        throw ImportError(label + " の " + std::to_string(first.line) + " 行目: XML として読めません (" + first.message + ")");
    }
    xmlNode* root = xmlDocGetRootElement(doc.get());
    if (nestedDeeperThan(root, kMaxElementDepth))
        throw ImportError(label + ": XML の要素の入れ子が深すぎます (" + std::to_string(kMaxElementDepth) + " 段まで)");
    LawXml out;
    out.revision = revisionOfFileName(label);
    xmlNode* law = nullptr;
    if (is(root, "Law")) {
        law = root;
    } else if (is(root, "DataRoot")) {
        xmlNode* result = child(root, "Result");
        std::string code = toUtf8(trimmed(inlineText(child(result, "Code"))));
        if (code != "0") {
            std::string message = toUtf8(trimmed(inlineText(child(result, "Message"))));
            throw ImportError(label + ": 法令APIの応答がエラーです (結果コード " + (code.empty() ? "なし" : code) +
                              (message.empty() ? "" : ": " + message) + ")");
        }
        law = child(child(child(root, "ApplData"), "LawFullText"), "Law");
        std::string id = toUtf8(trimmed(inlineText(child(child(root, "ApplData"), "LawId"))));
        if (out.revision.lawId.empty())
            out.revision.lawId = id;
    } else if (is(root, "law_data_response")) {
        law = child(child(root, "law_full_text"), "Law");
        xmlNode* info = child(root, "revision_info");
        std::string id = toUtf8(trimmed(inlineText(child(child(root, "law_info"), "law_id"))));
        std::string revision = toUtf8(trimmed(inlineText(child(info, "law_revision_id"))));
        auto date = parseIsoDate(toUtf8(trimmed(inlineText(child(info, "amendment_enforcement_date")))));
        if (!out.revision.inForce && date) {
            out.revision.inForce = date;
            out.revision.lawId = id;
            if (!revision.empty())
                out.revision.revisionId = revision;
        }
    }
    if (!law)
        throw ImportError(label + ": 法令標準XML ではありません (最上位の要素が <" + (root ? nameOf(root) : "") +
                          "> で、法令 <Law> を含みません)");
    out.page = LawReader(label).read(law);
    return out;
}

}  // namespace importer
