// The page walk: libxml2 builds the tree (repairing the tag soup), then one pass in document
// order feeds a small state machine that knows which part of the page it is in and where text
// belongs (caption, paragraph, item, sub-item, 附則 block, 別表).
#include "tools/importer/PageParser.h"

#include <libxml/HTMLparser.h>
#include <libxml/xmlerror.h>
#include <libxml/tree.h>

#include <cctype>
#include <cstring>
#include <memory>

#include "text/Cp932.h"
#include "tools/importer/Numerals.h"

namespace importer {

namespace {

std::string attribute(xmlNode* node, const char* name)
{
    for (xmlAttr* a = node->properties; a; a = a->next) {
        if (a->name && xmlStrcasecmp(a->name, reinterpret_cast<const xmlChar*>(name)) == 0) {
            xmlChar* v = xmlNodeGetContent(reinterpret_cast<xmlNode*>(a));
            std::string out = v ? reinterpret_cast<const char*>(v) : "";
            xmlFree(v);
            return out;
        }
    }
    return {};
}

bool hasAttribute(xmlNode* node, const char* name)
{
    for (xmlAttr* a = node->properties; a; a = a->next)
        if (a->name && xmlStrcasecmp(a->name, reinterpret_cast<const xmlChar*>(name)) == 0)
            return true;
    return false;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A query value: percent escapes to bytes, the bytes read as code page 932.
U32 decodeQueryValue(std::string_view v)
{
    std::string bytes;
    for (std::size_t i = 0; i < v.size(); ++i) {
        if (v[i] == '%' && i + 2 < v.size() && hexValue(v[i + 1]) >= 0 && hexValue(v[i + 2]) >= 0) {
            bytes.push_back(static_cast<char>(hexValue(v[i + 1]) * 16 + hexValue(v[i + 2])));
            i += 2;
        } else if (v[i] == '+') {
            bytes.push_back(' ');
        } else {
            bytes.push_back(v[i]);
        }
    }
    return fromCp932(bytes);
}

std::optional<PageLink> parseReferenceHref(std::string_view href)
{
    std::size_t q = href.find('?');
    if (q == std::string_view::npos || href.find("idxrefer.cgi") == std::string_view::npos)
        return std::nullopt;
    std::string_view query = href.substr(q + 1);
    std::size_t hash = query.find('#');
    if (hash != std::string_view::npos)
        query = query.substr(0, hash);
    PageLink link;
    while (!query.empty()) {
        std::size_t amp = query.find('&');
        std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        std::size_t eq = pair.find('=');
        if (eq == std::string_view::npos)
            continue;
        std::string_view key = pair.substr(0, eq);
        std::string_view value = pair.substr(eq + 1);
        if (key == "H_FILE")
            link.lawCode = decodeQueryValue(value);
        else if (key == "REF_NAME")
            link.refName = decodeQueryValue(value);
        else if (key == "ANCHOR_F")
            link.anchor = std::string(value);
    }
    return link;
}

// A page text node as content: the generator's line breaks are not text (Japanese has no word
// spaces, so they are deleted, not turned into blanks), and ASCII spaces at the ends are noise.
U32 cleanText(U32View raw)
{
    U32 out;
    out.reserve(raw.size());
    for (char32_t c : raw)
        if (c != U'\n' && c != U'\r')
            out.push_back(c);
    return U32(trimAsciiSpaces(out));
}

bool onlyIndentation(U32View t)
{
    for (char32_t c : t)
        if (c != kIdeographicSpace && c != U' ' && c != U'\t')
            return false;
    return true;
}

std::string u8(U32View t)
{
    return toUtf8(t);
}

class PageBuilder {
public:
    void start(xmlNode* node);
    void end(xmlNode* node);
    void text(U32View raw);
    LawPage finish();

private:
    enum class Section { Header, Enacting, Toc, Main, Supplementary, Appended, Forms };
    enum class DivKind { ArtTitle, Item, Number, Para, Other };
    enum class AnchorKind { Plain, Reference, Pending, TitleCapture };
    struct Cell {
        U32 text;
        int rowSpan = 1;
    };

    void problem(const std::string& what) { m_page.problems.push_back(what); }
    void onAnchor(xmlNode* node);
    void onBold(const U32& boldText);
    void lineBreak();
    void beginArticle(const U32& printed);
    void beginParagraph(const U32& label);
    Provision* currentProvision();
    Provision& wholeProvisionOfBlock();
    RichText* textTarget(bool create);
    void finishTable();
    void takeCaption(Provision& p);
    std::vector<Provision>* articleList(bool create);

    Section m_section = Section::Header;
    LawPage m_page;
    std::vector<DivKind> m_divs;
    std::vector<AnchorKind> m_anchors;
    int m_link = -1;
    int m_bold = 0;
    U32 m_boldText;
    std::string m_boldAnchor;
    bool m_titleSeen = false;
    U32 m_headerDivText;
    bool m_inHeaderDiv = false;
    U32 m_captureText;
    RichText m_caption;
    bool m_captionPending = false;
    bool m_inCaption = false;
    // 附則: the block whose title the next bold is
    bool m_blockTitlePending = false;
    // tables
    int m_tableDepth = 0;
    std::vector<std::vector<Cell>> m_rows;
    bool m_inCell = false;
    // numbers of the articles seen, to report duplicates
    std::vector<ArticleNumber> m_seenNumbers;
};

std::vector<Provision>* PageBuilder::articleList(bool create)
{
    if (m_section == Section::Main)
        return &m_page.articles;
    if (m_section == Section::Supplementary) {
        if (m_page.supplementary.empty()) {
            if (!create)
                return nullptr;
            problem("附則の見出しの前に附則の本文があります");
            m_page.supplementary.push_back({});
            m_page.supplementary.back().sequence = 1;
        }
        return &m_page.supplementary.back().provisions;
    }
    return nullptr;
}

Provision* PageBuilder::currentProvision()
{
    if (m_section == Section::Appended)
        return m_page.appendedTables.empty() ? nullptr : &m_page.appendedTables.back();
    if (m_section == Section::Forms)
        return m_page.forms ? &*m_page.forms : nullptr;
    auto* list = articleList(false);
    if (!list || list->empty())
        return nullptr;
    return &list->back();
}

Provision& PageBuilder::wholeProvisionOfBlock()
{
    auto* list = articleList(true);
    if (list->empty() || list->back().kind != ProvisionKind::SupplementaryWhole) {
        Provision p;
        p.kind = ProvisionKind::SupplementaryWhole;
        list->push_back(std::move(p));
    }
    return list->back();
}

void PageBuilder::takeCaption(Provision& p)
{
    if (m_captionPending) {
        p.caption = std::move(m_caption);
        m_caption.clear();
        m_captionPending = false;
    }
}

void PageBuilder::beginArticle(const U32& printed)
{
    auto* list = articleList(true);
    if (!list) {
        problem("条文の位置がおかしいです: " + u8(printed));
        return;
    }
    Provision p;
    p.kind = ProvisionKind::Article;
    p.printedNumber = printed;
    if (auto n = parseArticleNumber(printed)) {
        p.number = *n;
    } else {
        problem("条文番号が読めません: " + u8(printed));
    }
    if (m_section == Section::Main) {
        for (const auto& seen : m_seenNumbers)
            if (seen == p.number && p.number.article)
                problem("条文番号が重複しています: " + u8(printed));
        m_seenNumbers.push_back(p.number);
    }
    takeCaption(p);
    p.blocks.push_back({BlockKind::Paragraph, 0, {}, {}});
    list->push_back(std::move(p));
}

void PageBuilder::beginParagraph(const U32& printed)
{
    U32 label;
    for (char32_t c : printed)
        if (c != U'○' && c != kIdeographicSpace)
            label.push_back(c);
    auto value = parseNumber(label);
    if (!value)
        problem("項番号が読めません: " + u8(printed));
    else
        label = fullWidthNumber(*value);
    Provision* p = currentProvision();
    bool startsWhole = m_section == Section::Supplementary &&
                       (!p || p->kind != ProvisionKind::Article || (value && *value == 1));
    if (startsWhole) {
        p = &wholeProvisionOfBlock();
    } else if (!p) {
        problem("条文の外に項があります: " + u8(printed));
        return;
    }
    if (m_captionPending) {
        Block caption{BlockKind::Caption, 0, {}, std::move(m_caption)};
        m_caption.clear();
        m_captionPending = false;
        p->blocks.push_back(std::move(caption));
    }
    // An unnumbered first paragraph block left empty by the article header is replaced.
    if (!p->blocks.empty() && p->blocks.back().kind == BlockKind::Paragraph && p->blocks.back().label.empty() &&
        p->blocks.back().text.empty() && p->blocks.size() == 1 && value && *value == 1)
        p->blocks.pop_back();
    p->blocks.push_back({BlockKind::Paragraph, 0, label, {}});
}

RichText* PageBuilder::textTarget(bool create)
{
    switch (m_section) {
    case Section::Header:
    case Section::Enacting:
    case Section::Toc:
        return nullptr;
    case Section::Appended:
    case Section::Forms: {
        Provision* p = currentProvision();
        if (!p) {
            if (create)
                problem("別表の見出しの前に本文があります");
            return nullptr;
        }
        if (p->blocks.empty())
            p->blocks.push_back({BlockKind::Paragraph, 0, {}, {}});
        return &p->blocks.back().text;
    }
    case Section::Main:
    case Section::Supplementary:
        break;
    }
    if (m_inCaption)
        return &m_caption;
    Provision* p = currentProvision();
    DivKind top = m_divs.empty() ? DivKind::Other : m_divs.back();
    if (top == DivKind::Other) {
        // Text outside any DIV: in a 附則 block it is the block's unnumbered provision.
        if (m_section != Section::Supplementary || !create)
            return p && !p->blocks.empty() && m_section == Section::Supplementary ? &p->blocks.back().text : nullptr;
        Provision& whole = wholeProvisionOfBlock();
        takeCaption(whole);
        if (whole.blocks.empty() || whole.blocks.back().kind != BlockKind::Paragraph)
            whole.blocks.push_back({whole.blocks.empty() ? BlockKind::Paragraph : BlockKind::Continuation, 0, {}, {}});
        return &whole.blocks.back().text;
    }
    if (!p) {
        if (m_section == Section::Supplementary && create)
            p = &wholeProvisionOfBlock();
        else
            return nullptr;
    }
    if (p->blocks.empty())
        p->blocks.push_back({BlockKind::Paragraph, 0, {}, {}});
    Block& last = p->blocks.back();
    switch (top) {
    case DivKind::Item:
        if (last.kind == BlockKind::Paragraph || last.kind == BlockKind::Continuation)
            return &last.text;
        if (!create)
            return nullptr;
        p->blocks.push_back({BlockKind::Continuation, 0, {}, {}});
        return &p->blocks.back().text;
    case DivKind::Number:
        if (last.kind == BlockKind::Item || last.kind == BlockKind::Continuation)
            return &last.text;
        if (!create)
            return nullptr;
        p->blocks.push_back({BlockKind::Continuation, 1, {}, {}});
        return &p->blocks.back().text;
    case DivKind::Para:
        return &last.text;
    default:
        return nullptr;
    }
}

void PageBuilder::lineBreak()
{
    if (m_inCell) {
        if (!m_rows.empty() && !m_rows.back().empty())
            m_rows.back().back().text.push_back(U'\n');
        return;
    }
    if (m_bold) {
        m_boldText.push_back(U'\n');
        return;
    }
    if (m_section == Section::Header)
        return;
    if (RichText* t = textTarget(false))
        appendText(*t, U"\n");
}

void PageBuilder::text(U32View raw)
{
    U32 t = cleanText(raw);
    if (t.empty())
        return;
    if (m_tableDepth > 0) {
        if (m_inCell && !m_rows.empty() && !m_rows.back().empty())
            m_rows.back().back().text += t;
        return;
    }
    if (m_bold) {
        m_boldText += t;
        return;
    }
    if (!m_anchors.empty() && (m_anchors.back() == AnchorKind::TitleCapture || m_anchors.back() == AnchorKind::Pending)) {
        m_captureText += t;
        return;
    }
    if (m_section == Section::Header) {
        if (m_inHeaderDiv)
            m_headerDivText += t;
        return;
    }
    if (m_section == Section::Enacting || m_section == Section::Toc)
        return;
    bool blank = onlyIndentation(t);
    RichText* target = textTarget(!blank);
    if (!target) {
        if (!blank)
            problem("条文の外の文を読み飛ばしました: " + u8(t.substr(0, 20)));
        return;
    }
    if (blank && plainText(*target).empty())
        return;  // indentation before a heading or a 附則 title
    appendText(*target, t, m_link);
}

void PageBuilder::onAnchor(xmlNode* node)
{
    std::string name = attribute(node, "name");
    std::string href = attribute(node, "href");
    if (!href.empty()) {
        if (auto link = parseReferenceHref(href)) {
            // Links in headings are not kept: a heading is no article text.
            if (m_bold || m_section == Section::Header || m_section == Section::Enacting || m_section == Section::Toc) {
                m_anchors.push_back(AnchorKind::Plain);
                return;
            }
            m_page.links.push_back(std::move(*link));
            m_link = static_cast<int>(m_page.links.size() - 1);
            m_anchors.push_back(AnchorKind::Reference);
            return;
        }
        if (href.find("idxmiseko.cgi") != std::string::npos) {
            m_captureText.clear();
            m_anchors.push_back(AnchorKind::Pending);
            return;
        }
        m_anchors.push_back(AnchorKind::Plain);
        return;
    }
    m_anchors.push_back(AnchorKind::Plain);
    if (name.empty())
        return;
    auto key = parseAnchor(name);
    if (!key) {
        problem("アンカーの形式が違います: " + name);
        return;
    }
    switch (key->part) {
    case 0: m_section = Section::Toc; break;
    case 9: m_section = Section::Enacting; break;
    case 1:
        m_section = Section::Main;
        if (m_bold)
            m_boldAnchor = name;
        break;
    case 5:
        m_section = Section::Supplementary;
        if (key->sequence > 0) {
            SupplementaryBlock block;
            block.sequence = key->sequence;
            m_page.supplementary.push_back(std::move(block));
            m_blockTitlePending = true;
            m_captionPending = false;
            m_caption.clear();
        }
        break;
    case 3: {
        m_section = Section::Appended;
        Provision p;
        p.kind = ProvisionKind::AppendedTable;
        p.number.article = key->sequence;
        m_page.appendedTables.push_back(std::move(p));
        m_captureText.clear();
        m_anchors.back() = AnchorKind::TitleCapture;
        break;
    }
    case 6:
        m_section = Section::Forms;
        if (!m_page.forms) {
            m_page.forms = Provision{};
            m_page.forms->kind = ProvisionKind::Forms;
            m_page.forms->printedNumber = U"別紙様式";
        }
        break;
    default:
        problem("知らない部分のアンカーです: " + name);
    }
}

void PageBuilder::onBold(const U32& boldRaw)
{
    U32 bold = boldRaw;
    if (m_section == Section::Header) {
        if (m_titleSeen)
            return;
        m_titleSeen = true;
        std::size_t br = bold.find(U'\n');
        m_page.title = U32(trimAsciiSpaces(bold.substr(0, br)));
        if (br != U32::npos) {
            U32 rest;
            for (char32_t c : bold.substr(br + 1))
                if (c != U'\n' && c != U'（' && c != U'）')
                    rest.push_back(c);
            m_page.promulgation = rest;
        }
        return;
    }
    U32 flat;
    for (char32_t c : bold)
        if (c != U'\n')
            flat.push_back(c);
    U32 compact = withoutSpaces(flat);
    if (m_section == Section::Supplementary && startsWithAt(compact, 0, U"附則") &&
        (m_blockTitlePending || m_divs.empty())) {
        if (!m_blockTitlePending) {
            SupplementaryBlock block;
            block.sequence = static_cast<int>(m_page.supplementary.size()) + 1;
            m_page.supplementary.push_back(std::move(block));
            problem("アンカーのない附則の見出しです: " + u8(flat));
        }
        m_blockTitlePending = false;
        SupplementaryBlock& block = m_page.supplementary.back();
        block.title = compact;
        block.excerpt = compact.size() >= 1 && compact.back() == U'抄';
        block.act = parseActDesignation(compact);
        if (!block.act && compact.find(U'（') != U32::npos)
            problem("附則の改正法令が読めません: " + u8(flat));
        return;
    }
    if (m_section != Section::Main && m_section != Section::Supplementary) {
        if (RichText* t = textTarget(true))
            appendText(*t, flat);
        return;
    }
    DivKind top = m_divs.empty() ? DivKind::Other : m_divs.back();
    if (m_inCaption) {
        appendText(m_caption, flat);
        return;
    }
    switch (top) {
    case DivKind::Item:
        if (compact.size() >= 2 && compact.front() == U'第' && compact.find(U'条') != U32::npos)
            beginArticle(compact);
        else
            beginParagraph(compact);
        return;
    case DivKind::Number: {
        Provision* p = currentProvision();
        if (p && !p->blocks.empty() && p->blocks.back().kind == BlockKind::Item && p->blocks.back().label.empty())
            p->blocks.back().label = compact;
        else
            problem("号の番号の位置がおかしいです: " + u8(flat));
        return;
    }
    case DivKind::Para: {
        Provision* p = currentProvision();
        if (p && !p->blocks.empty() && p->blocks.back().kind == BlockKind::SubItem && p->blocks.back().label.empty())
            p->blocks.back().label = compact;
        else
            problem("細目の記号の位置がおかしいです: " + u8(flat));
        return;
    }
    default:
        break;
    }
    if (m_section == Section::Main && !m_boldAnchor.empty()) {
        auto key = parseAnchor(m_boldAnchor);
        if (key && key->article.article == 0) {
            int level = 0;
            for (int l = 0; l < 5; ++l)
                if (key->headingPath[static_cast<std::size_t>(l)])
                    level = l + 1;
            if (level) {
                m_page.headings.push_back({level, U32(trimAsciiSpaces(flat)), m_page.articles.size(), key->headingPath});
                return;
            }
        }
    }
    problem("見出しとも条文番号とも読めない太字です: " + u8(flat));
}

void PageBuilder::start(xmlNode* node)
{
    const char* name = reinterpret_cast<const char*>(node->name);
    if (std::strcmp(name, "a") == 0) {
        onAnchor(node);
    } else if (std::strcmp(name, "b") == 0) {
        if (m_bold++ == 0) {
            m_boldText.clear();
            m_boldAnchor.clear();
        }
    } else if (std::strcmp(name, "br") == 0) {
        lineBreak();
    } else if (std::strcmp(name, "div") == 0) {
        std::string cls = attribute(node, "class");
        DivKind kind = DivKind::Other;
        if (cls == "arttitle") {
            kind = DivKind::ArtTitle;
            m_caption.clear();
            m_inCaption = true;
        } else if (cls == "item") {
            kind = DivKind::Item;
        } else if (cls == "number") {
            kind = DivKind::Number;
            Provision* p = currentProvision();
            if (!p && m_section == Section::Supplementary)
                p = &wholeProvisionOfBlock();
            if (p)
                p->blocks.push_back({BlockKind::Item, 0, {}, {}});
            else
                problem("条文の外に号があります");
        } else if (cls.rfind("para", 0) == 0) {
            kind = DivKind::Para;
            int level = std::atoi(cls.c_str() + 4);
            Provision* p = currentProvision();
            if (p)
                p->blocks.push_back({BlockKind::SubItem, level < 1 ? 1 : level, {}, {}});
            else
                problem("条文の外に細目があります");
        } else if (m_section == Section::Header) {
            m_inHeaderDiv = true;
            m_headerDivText.clear();
        }
        m_divs.push_back(kind);
    } else if (std::strcmp(name, "table") == 0) {
        if (m_section != Section::Header && hasAttribute(node, "border") && attribute(node, "border") != "0") {
            if (m_tableDepth++ == 0)
                m_rows.clear();
        }
    } else if (std::strcmp(name, "tr") == 0) {
        if (m_tableDepth > 0)
            m_rows.emplace_back();
    } else if (std::strcmp(name, "td") == 0 || std::strcmp(name, "th") == 0) {
        if (m_tableDepth > 0) {
            if (m_rows.empty())
                m_rows.emplace_back();
            Cell cell;
            int span = std::atoi(attribute(node, "rowspan").c_str());
            cell.rowSpan = span > 1 ? span : 1;
            m_rows.back().push_back(cell);
            m_inCell = true;
        }
    }
}

void PageBuilder::end(xmlNode* node)
{
    const char* name = reinterpret_cast<const char*>(node->name);
    if (std::strcmp(name, "a") == 0) {
        if (m_anchors.empty())
            return;
        AnchorKind kind = m_anchors.back();
        m_anchors.pop_back();
        if (kind == AnchorKind::Reference)
            m_link = -1;
        else if (kind == AnchorKind::Pending)
            m_page.pendingAmendments.push_back(m_captureText);
        else if (kind == AnchorKind::TitleCapture && !m_page.appendedTables.empty()) {
            Provision& table = m_page.appendedTables.back();
            U32 title = U32(trimAsciiSpaces(m_captureText));
            // 別表第一　（第六条関係）: the number, then the articles it relates to
            std::size_t paren = title.find(U'（');
            table.printedNumber = withoutSpaces(title.substr(0, paren));
            if (paren != U32::npos)
                appendText(table.caption, withoutSpaces(title.substr(paren)));
        }
    } else if (std::strcmp(name, "b") == 0) {
        if (m_bold > 0 && --m_bold == 0)
            onBold(m_boldText);
    } else if (std::strcmp(name, "div") == 0) {
        if (m_divs.empty())
            return;
        DivKind kind = m_divs.back();
        m_divs.pop_back();
        if (kind == DivKind::ArtTitle) {
            m_inCaption = false;
            m_captionPending = true;
        } else if (m_section == Section::Header && m_inHeaderDiv && kind == DivKind::Other) {
            m_inHeaderDiv = false;
            U32 t = withoutSpaces(m_headerDivText);
            if (startsWithAt(t, 0, U"最終改正："))
                m_page.lastAmendment = t.substr(5);
        }
    } else if (std::strcmp(name, "td") == 0 || std::strcmp(name, "th") == 0) {
        m_inCell = false;
    } else if (std::strcmp(name, "table") == 0) {
        if (m_tableDepth > 0 && --m_tableDepth == 0)
            finishTable();
    }
}

void PageBuilder::finishTable()
{
    // One line per row, cells between ｜ marks; a cell that spans rows is written in its
    // first row and left empty below.
    std::vector<int> carry;
    std::vector<U32> lines;
    for (auto& row : m_rows) {
        U32 line;
        std::size_t col = 0;
        auto emitEmptyCarried = [&]() {
            while (col < carry.size() && carry[col] > 0) {
                --carry[col];
                line += U"｜";
                ++col;
            }
        };
        for (auto& cell : row) {
            emitEmptyCarried();
            U32 text;
            for (char32_t c : cell.text)
                text.push_back(c == U'\n' ? kIdeographicSpace : c);
            while (!text.empty() && text.back() == kIdeographicSpace)
                text.pop_back();
            line += U"｜" + text;
            if (carry.size() <= col)
                carry.resize(col + 1, 0);
            carry[col] = cell.rowSpan - 1;
            ++col;
        }
        emitEmptyCarried();
        if (!line.empty())
            lines.push_back(line + U"｜");
    }
    m_rows.clear();
    m_inCell = false;
    if (lines.empty())
        return;
    RichText* target = textTarget(true);
    if (!target) {
        problem("表の置き場所がありません");
        return;
    }
    U32 current = plainText(*target);
    if (!current.empty() && current.back() != U'\n')
        appendText(*target, U"\n");
    for (const auto& l : lines)
        appendText(*target, l + U"\n");
}

LawPage PageBuilder::finish()
{
    if (m_page.title.empty())
        problem("法令名が見つかりません");
    if (m_page.articles.empty())
        problem("本則の条文が見つかりません");
    auto markDeleted = [](Provision& p) {
        if (p.blocks.size() == 1 && p.blocks[0].kind == BlockKind::Paragraph) {
            U32 t = withoutSpaces(plainText(p.blocks[0].text));
            if (t == U"削除")
                p.deleted = true;
        }
    };
    for (auto& a : m_page.articles)
        markDeleted(a);
    for (auto& b : m_page.supplementary)
        for (auto& a : b.provisions)
            markDeleted(a);
    return std::move(m_page);
}

void walk(xmlNode* node, PageBuilder& builder)
{
    for (xmlNode* n = node; n; n = n->next) {
        if (n->type == XML_ELEMENT_NODE) {
            builder.start(n);
            walk(n->children, builder);
            builder.end(n);
        } else if (n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE) {
            if (n->content)
                builder.text(fromUtf8(reinterpret_cast<const char*>(n->content)));
        }
    }
}

}  // namespace

LawPage parseLawPage(std::string_view cp932Html)
{
    // The page is decoded as code page 932 whatever its META says: Shift_JIS converters turn
    // 5C into a yen sign and refuse characters the pages use. The library's own complaints (a
    // byte its converter refuses) would reach the user's terminal in English: the importer
    // judges a page by pageDefect and by what parses, and says so in Japanese.
    xmlSetStructuredErrorFunc(nullptr, [](void*, xmlErrorPtr) {});
    struct RestoreErrors {
        ~RestoreErrors() { xmlSetStructuredErrorFunc(nullptr, nullptr); }
    } restoreErrors;
    std::unique_ptr<xmlDoc, void (*)(xmlDoc*)> doc(
        htmlReadMemory(cp932Html.data(), static_cast<int>(cp932Html.size()), nullptr, "CP932",
                       HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET),
        xmlFreeDoc);
    PageBuilder builder;
    if (!doc) {
        LawPage page;
        page.problems.push_back("HTML として読めません");
        return page;
    }
    walk(xmlDocGetRootElement(doc.get()), builder);
    return builder.finish();
}

std::optional<std::string> pageDefect(std::string_view bytes)
{
    if (bytes.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return "空のファイルです";
    if (bytes.find('\0') != std::string_view::npos)
        return "バイナリのファイルです (法令のページではありません)";
    const text::Conversion decoded = text::toUtf8(bytes);
    if (decoded.invalid > 0) {
        if (text::fromUtf8(bytes).invalid == 0)
            return "UTF-8 で保存されています (法令のページは Shift_JIS で保存してください)";
        return "Shift_JIS として読めないバイトがあります (先頭から " + std::to_string(decoded.firstInvalidOffset) +
               " バイト目)";
    }
    std::string_view end = bytes.substr(0, bytes.find_last_not_of(" \t\r\n") + 1);
    constexpr std::string_view kClose = "</html>";
    bool closed = end.size() >= kClose.size();
    for (std::size_t i = 0; closed && i < kClose.size(); ++i)
        closed = std::tolower(static_cast<unsigned char>(end[end.size() - kClose.size() + i])) == kClose[i];
    if (!closed)
        return "ページが途中で切れています (最後の </HTML> がありません)";
    return std::nullopt;
}

std::optional<std::string> lawPageDefect(const LawPage& page)
{
    if (page.articles.empty() && page.supplementary.empty() && page.appendedTables.empty())
        return "法令のページではありません (条文がありません)";
    return std::nullopt;
}

}  // namespace importer
