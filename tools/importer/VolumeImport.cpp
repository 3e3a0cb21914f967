// Import of a volume: every page is read and laid out first, since a page links to articles of
// pages that come after it; then the links are resolved and everything is written out in code
// page 932, link positions measured in the text the delivery will compose.
#include "tools/importer/VolumeImport.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "text/Cp932.h"
#include "tools/importer/ArticleLayout.h"
#include "tools/importer/ArticleText.h"
#include "tools/importer/Numerals.h"
#include "tools/importer/PageParser.h"
#include "tools/importer/References.h"

namespace importer {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxKey = 32767;  // ＫＥＹ is a 16-bit field

std::vector<std::string> splitTabs(const std::string& line)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    return out;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ImportError("ページが読めません: " + path.string());
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        throw ImportError("ページが読めません: " + path.string());
    return buffer.str();
}

enum class LawKind { Act, Order, Ordinance };

LawKind kindOfPromulgation(U32View p)
{
    if (p.find(U"法律") != U32View::npos)
        return LawKind::Act;
    if (p.find(U"政令") != U32View::npos || p.find(U"勅令") != U32View::npos)
        return LawKind::Order;
    return LawKind::Ordinance;
}

struct Target {
    int law = -1;
    int row = -1;       // index into that law's rows
    int zeimoku = 0;    // -1 / -2: the reference search; law and row are then unused
};

struct Piece {
    U32 text;
    std::optional<Target> target;
};
using Line = std::vector<Piece>;

enum class RowPlace { Main, Supplementary, Appended };

struct RowDraft {
    RowPlace place = RowPlace::Main;
    int block = -1;        // index into LawPage::supplementary
    const Provision* provision = nullptr;
    LaidOutProvision laid;
    U32 number;            // 条文本文
    int key = 0;
};

struct LawDraft {
    ManifestEntry entry;
    LawPage page;
    U32 code;              // H_FILE
    LawKind kind = LawKind::Act;
    std::vector<RowDraft> rows;
    std::vector<int> mainRows;                           // rows of the main provision in order
    std::map<ArticleNumber, int> mainIndex;
    std::vector<std::vector<int>> blockArticles;         // per 附則 block: its article rows
    std::vector<std::map<ArticleNumber, int>> blockIndex;
    int originalBlock = -1;
    std::map<int, int> tableIndex;
    // The short names the law's text gives laws of the volume: （以下「法」という。）
    std::vector<std::pair<U32, int>> abbreviations;
    LawImportSummary summary;
};

bool isIdeograph(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) || c == U'々';
}

// The opening parenthesis of the parenthesis that is open at pos, or npos.
std::size_t openParenthesisBefore(U32View t, std::size_t pos)
{
    int depth = 0;
    for (std::size_t i = pos; i-- > 0;) {
        if (t[i] == U'）')
            ++depth;
        else if (t[i] == U'（' && depth-- == 0)
            return i;
    }
    return U32View::npos;
}

// Which law of the volume (by its full title, longest first) the text names just before end;
// a title with another kanji before it is part of a longer name (旧商法).
std::optional<int> titledLawBefore(U32View t, std::size_t end, const std::vector<std::pair<U32, int>>& names)
{
    for (const auto& [name, law] : names) {
        if (name.size() > end || t.compare(end - name.size(), name.size(), name) != 0)
            continue;
        std::size_t start = end - name.size();
        if (start > 0 && isIdeograph(t[start - 1]) && isIdeograph(name.front()))
            continue;
        return law;
    }
    return std::nullopt;
}

// （以下「令」という。） after a law's name: from there on, 令 names that law.
void collectAbbreviations(LawDraft& law, const std::vector<std::pair<U32, int>>& titles)
{
    std::map<U32, int> found;
    for (const auto& row : law.rows) {
        for (const auto& line : row.laid.lines) {
            U32 t = plainText(line);
            for (std::size_t at = t.find(U"以下「"); at != U32::npos; at = t.find(U"以下「", at + 1)) {
                std::size_t close = t.find(U"」という", at);
                if (close == U32::npos || close - at - 3 == 0 || close - at - 3 > 8)
                    continue;
                U32 name = t.substr(at + 3, close - at - 3);
                std::size_t open = openParenthesisBefore(t, at);
                if (open == U32::npos)
                    continue;
                if (auto target = titledLawBefore(t, open, titles))
                    found.emplace(name, *target);
            }
        }
    }
    for (auto& [name, target] : found)
        law.abbreviations.push_back({name, target});
}

std::string u8(U32View t)
{
    return toUtf8(t);
}

void layOutLaw(LawDraft& law)
{
    LawPage& page = law.page;
    for (const auto& a : page.articles) {
        RowDraft r;
        r.place = RowPlace::Main;
        r.provision = &a;
        r.laid = layOutProvision(a);
        r.number = r.laid.number;
        int index = static_cast<int>(law.rows.size());
        law.mainRows.push_back(index);
        law.mainIndex.emplace(a.number, index);
        if (a.deleted)
            ++law.summary.deletedArticles;
        law.rows.push_back(std::move(r));
    }
    law.summary.articles = static_cast<int>(page.articles.size());
    law.blockArticles.resize(page.supplementary.size());
    law.blockIndex.resize(page.supplementary.size());
    for (std::size_t b = 0; b < page.supplementary.size(); ++b) {
        const SupplementaryBlock& block = page.supplementary[b];
        if (!block.act && law.originalBlock < 0 && b == 0)
            law.originalBlock = static_cast<int>(b);
        U32 prefix = U"附則";
        if (block.act)
            prefix += actShortDesignation(*block.act);
        else if (b > 0)
            prefix += U"（" + fullWidthNumber(block.sequence) + U"）";  // a second undated block
        for (const auto& p : block.provisions) {
            RowDraft r;
            r.place = RowPlace::Supplementary;
            r.block = static_cast<int>(b);
            r.provision = &p;
            r.laid = layOutProvision(p);
            r.number = prefix + r.laid.number;
            int index = static_cast<int>(law.rows.size());
            if (p.kind == ProvisionKind::Article) {
                law.blockArticles[b].push_back(index);
                law.blockIndex[b].emplace(p.number, index);
            }
            law.rows.push_back(std::move(r));
            ++law.summary.supplementaryRows;
        }
    }
    law.summary.supplementaryBlocks = static_cast<int>(page.supplementary.size());
    auto appendFree = [&](const Provision& p) {
        RowDraft r;
        r.place = RowPlace::Appended;
        r.provision = &p;
        r.laid = layOutProvision(p);
        r.number = r.laid.number;
        if (p.kind == ProvisionKind::AppendedTable)
            law.tableIndex.emplace(p.number.article, static_cast<int>(law.rows.size()));
        law.rows.push_back(std::move(r));
        ++law.summary.appendedRows;
    };
    for (const auto& t : page.appendedTables)
        appendFree(t);
    if (page.forms)
        appendFree(*page.forms);

    // A number the jump would find twice within one category.
    std::map<U32, int> seen;
    for (const auto& r : law.rows)
        if (++seen[r.number] == 2)
            law.summary.problems.push_back("同じ条文番号が二度あります: " + u8(r.number));
}

class Resolver {
public:
    Resolver(std::vector<LawDraft>& laws) : m_laws(laws)
    {
        for (std::size_t i = 0; i < laws.size(); ++i) {
            m_codes.emplace(laws[i].code, static_cast<int>(i));
            m_titles.push_back({fromUtf8(laws[i].entry.lawTitle), static_cast<int>(i)});
        }
        std::stable_sort(m_titles.begin(), m_titles.end(), [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
        for (auto& law : laws) {
            collectAbbreviations(law, m_titles);
            // a law's own names: its full title and its abbreviations, longest first
            auto names = m_titles;
            names.insert(names.end(), law.abbreviations.begin(), law.abbreviations.end());
            std::stable_sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
            law.abbreviations = names;
        }
    }

    // The law of the volume a citation names just before `end` of t: by title or by a short
    // name its text defined, after the law's number in parentheses (消費税法（昭和６３年法律
    // 第１０８号）第３０条); nothing when it names none.
    // Where the name of a law of the volume written right before `end` begins (民法第５２３条,
    // 法第３０条, 同法第２条), so that the link covers the name too; end when there is none.
    std::size_t nameStartBefore(const LawDraft& citing, U32View t, std::size_t end) const
    {
        if (end >= 2 && t.compare(end - 2, 2, U"同法") == 0)
            return end - 2;
        for (const auto& [name, law] : citing.abbreviations) {
            if (name.size() > end || t.compare(end - name.size(), name.size(), name) != 0)
                continue;
            std::size_t start = end - name.size();
            if (start > 0 && isIdeograph(t[start - 1]) && isIdeograph(name.front()))
                continue;
            return start;
        }
        return end;
    }

    std::optional<int> lawNamedBefore(const LawDraft& citing, U32View t, std::size_t end) const
    {
        if (end > 0 && t[end - 1] == U'）') {
            std::size_t open = openParenthesisBefore(t, end - 1);
            if (open == U32View::npos || t.substr(open, end - open).find(U'号') == U32View::npos)
                return std::nullopt;
            end = open;
        }
        return titledLawBefore(t, end, citing.abbreviations);
    }

    std::optional<Target> pageLink(const PageLink& link, LawImportSummary& s, U32View citing)
    {
        ++s.pageLinks;
        auto law = m_codes.find(link.lawCode);
        if (law == m_codes.end()) {
            ++s.pageLinksOutside;
            return std::nullopt;
        }
        if (link.anchor.empty()) {
            ++s.pageLinksNameOnly;
            return std::nullopt;
        }
        LawDraft& target = m_laws[static_cast<std::size_t>(law->second)];
        auto key = parseAnchor(link.anchor);
        std::optional<int> row;
        if (key && key->part == 1 && key->article.article > 0) {
            auto it = target.mainIndex.find(key->article);
            if (it != target.mainIndex.end())
                row = it->second;
        } else if (key && key->part == 1) {
            // a heading: its first article
            for (const auto& h : target.page.headings)
                if (h.path == key->headingPath && h.beforeArticle < target.mainRows.size()) {
                    row = target.mainRows[h.beforeArticle];
                    break;
                }
        } else if (key && key->part == 3) {
            auto it = target.tableIndex.find(key->sequence);
            if (it != target.tableIndex.end())
                row = it->second;
        }
        if (!row) {
            ++s.pageLinksNoTarget;
            s.unresolved.push_back(u8(citing) + " → " + target.entry.abbreviation + " " + u8(link.refName));
            return std::nullopt;
        }
        ++s.pageLinksMade;
        return Target{law->second, *row, 0};
    }

    // The law a page link cites: its index in the volume, or -1 for a law outside it.
    int lawOf(const PageLink& link) const
    {
        auto it = m_codes.find(link.lawCode);
        return it == m_codes.end() ? -1 : it->second;
    }

    // The row of an article of another law of the volume cited by a bare number that goes on
    // from that law's citation.
    std::optional<int> articleOfLaw(int lawIndex, const ArticleNumber& number) const
    {
        const LawDraft& law = m_laws[static_cast<std::size_t>(lawIndex)];
        auto it = law.mainIndex.find(number);
        if (it == law.mainIndex.end())
            return std::nullopt;
        return it->second;
    }

    // The row a reference of the law's own text points to, nothing when there is none. same is
    // the article cited last in this law's text.
    std::optional<int> ownReference(int lawIndex, int rowIndex, const TextReference& ref, std::optional<int> same) const
    {
        const LawDraft& law = m_laws[static_cast<std::size_t>(lawIndex)];
        const RowDraft& row = law.rows[static_cast<std::size_t>(rowIndex)];
        auto neighbour = [&](int step) -> std::optional<int> {
            const std::vector<int>* order = nullptr;
            if (row.place == RowPlace::Main)
                order = &law.mainRows;
            else if (row.place == RowPlace::Supplementary && row.provision->kind == ProvisionKind::Article)
                order = &law.blockArticles[static_cast<std::size_t>(row.block)];
            if (!order)
                return std::nullopt;
            auto it = std::find(order->begin(), order->end(), rowIndex);
            if (it == order->end())
                return std::nullopt;
            auto pos = (it - order->begin()) + step;
            if (pos < 0 || pos >= static_cast<long>(order->size()))
                return std::nullopt;
            return (*order)[static_cast<std::size_t>(pos)];
        };
        switch (ref.kind) {
        case TextReference::Kind::Article:
            // In an amending act's 附則, a bare number is that act's own article.
            if (row.place != RowPlace::Supplementary || row.block == law.originalBlock) {
                auto it = law.mainIndex.find(ref.number);
                if (it != law.mainIndex.end())
                    return it->second;
            }
            return std::nullopt;
        case TextReference::Kind::Previous:
            return neighbour(-1);
        case TextReference::Kind::Next:
            return neighbour(+1);
        case TextReference::Kind::Same:
            return same;
        case TextReference::Kind::Supplementary: {
            int block = row.place == RowPlace::Supplementary ? row.block : law.originalBlock;
            if (block >= 0) {
                const auto& index = law.blockIndex[static_cast<std::size_t>(block)];
                auto it = index.find(ref.number);
                if (it != index.end())
                    return it->second;
            }
            return std::nullopt;
        }
        case TextReference::Kind::AppendedTable: {
            auto it = law.tableIndex.find(ref.number.article);
            if (it != law.tableIndex.end())
                return it->second;
            return std::nullopt;
        }
        }
        return std::nullopt;
    }

private:
    std::vector<LawDraft>& m_laws;
    std::map<U32, int> m_codes;
    std::vector<std::pair<U32, int>> m_titles;
};

// What lies between two citations when the second goes on with the first one's law: list
// words, the sub-item letters that end an item citation (第１号ニ及び第２号) and parentheses.
bool isListContinuation(U32View gap)
{
    static constexpr std::u32string_view kConnectors[] = {U"、", U"及び", U"又は", U"若しくは", U"並びに", U"から", U"まで", U"・"};
    std::size_t pos = 0;
    while (pos < gap.size()) {
        bool matched = false;
        for (auto c : kConnectors)
            if (startsWithAt(gap, pos, c)) {
                pos += c.size();
                matched = true;
                break;
            }
        if (matched)
            continue;
        if (gap[pos] >= U'ア' && gap[pos] <= U'ン') {
            ++pos;
            continue;
        }
        if (gap[pos] == U'（') {
            // a parenthesis: the cited provision's caption or a remark (第１２４条（納付の方法）、第１５１条)
            int depth = 0;
            std::size_t p = pos;
            for (; p < gap.size(); ++p) {
                if (gap[p] == U'（')
                    ++depth;
                else if (gap[p] == U'）' && --depth == 0)
                    break;
            }
            if (p < gap.size()) {
                pos = p + 1;
                continue;
            }
        }
        return false;
    }
    return true;
}

// The citation read last in a row's text: which law, and which article when it is known.
struct Citation {
    int law = -1;              // index in the volume, -1 for a law outside it
    std::optional<int> row;
    bool supplementary = false;  // 附則第３条: a list going on from it names 附則 articles too
};

class LineResolver {
public:
    LineResolver(int lawIndex, int rowIndex, LawDraft& law, Resolver& resolver)
        : m_lawIndex(lawIndex), m_rowIndex(rowIndex), m_law(law), m_resolver(resolver), m_s(law.summary)
    {
    }

    std::vector<Line> resolve(const std::vector<RichText>& lines)
    {
        std::vector<Line> out;
        for (const auto& rich : lines) {
            Line line;
            for (const auto& seg : rich) {
                if (seg.link >= 0)
                    pageLink(seg, line);
                else
                    plain(seg.text, line);
            }
            out.push_back(std::move(line));
        }
        return out;
    }

private:
    void pageLink(const Segment& seg, Line& line)
    {
        const PageLink& link = m_law.page.links[static_cast<std::size_t>(seg.link)];
        auto target = m_resolver.pageLink(link, m_s, m_law.rows[static_cast<std::size_t>(m_rowIndex)].number);
        line.push_back({seg.text, target});
        m_last = Citation{m_resolver.lawOf(link), target ? std::optional<int>(target->row) : std::nullopt};
        m_gap.clear();
    }

    // Plain text between citations: quotes opened and closed, amendment wording seen.
    void passText(U32View t)
    {
        for (char32_t c : t) {
            if (c == U'「')
                ++m_quoteDepth;
            else if (c == U'」' && m_quoteDepth > 0)
                --m_quoteDepth;
        }
        m_gap += t;
        if (!m_amending && m_gap.find(U"次のように改正する") != U32::npos)
            m_amending = true;
    }

    void plainPart(U32View part, Line& line)
    {
        const bool orderPhrases = m_law.kind == LawKind::Act;
        const bool ministryPhrases = m_law.kind != LawKind::Ordinance;
        std::size_t p = 0;
        if (ministryPhrases) {
            for (const auto& ph : findScopePhrases(part, orderPhrases)) {
                if (ph.begin > p) {
                    line.push_back({U32(part.substr(p, ph.begin - p)), std::nullopt});
                    passText(part.substr(p, ph.begin - p));
                }
                U32View phrase = part.substr(ph.begin, ph.end - ph.begin);
                std::optional<Target> target;
                if (m_quoteDepth == 0) {
                    target = Target{-1, -1, ph.zeimoku};
                    ++(ph.zeimoku == -1 ? m_s.scopeLinksOrder : m_s.scopeLinksMinistry);
                }
                line.push_back({U32(phrase), target});
                passText(phrase);
                p = ph.end;
            }
        }
        if (p < part.size()) {
            line.push_back({U32(part.substr(p)), std::nullopt});
            passText(part.substr(p));
        }
    }

    void plain(const U32& t, Line& line)
    {
        std::size_t pos = 0;
        for (const auto& ref : findReferences(t, false)) {
            std::size_t begin = ref.otherLaw ? std::max(pos, m_resolver.nameStartBefore(m_law, t, ref.begin)) : ref.begin;
            plainPart(U32View(t).substr(pos, begin - pos), line);
            if (begin < ref.begin) {
                // the law's name: part of the citation, not of the gap before it
                U32 name = t.substr(begin, ref.begin - begin);
                m_gap += name;
            }
            auto target = reference(ref, t.substr(ref.begin, ref.end - ref.begin), t);
            line.push_back({t.substr(begin, ref.end - begin), target});
            m_gap.clear();
            pos = ref.end;
        }
        plainPart(U32View(t).substr(pos), line);
    }

    std::optional<Target> reference(const TextReference& ref, const U32& refText, const U32& segmentText)
    {
        ++m_s.references;
        const RowDraft& row = m_law.rows[static_cast<std::size_t>(m_rowIndex)];
        auto noTarget = [&]() -> std::optional<Target> {
            ++m_s.referencesNoTarget;
            m_s.unresolved.push_back(toUtf8(row.number) + " → " + toUtf8(refText));
            return std::nullopt;
        };
        auto link = [&](int law, int targetRow) -> std::optional<Target> {
            m_last = Citation{law, targetRow};
            if (law == m_lawIndex && targetRow == m_rowIndex) {
                ++m_s.referencesToSelf;
                return std::nullopt;
            }
            ++m_s.referencesLinked;
            return Target{law, targetRow, 0};
        };
        if (m_quoteDepth > 0) {
            ++m_s.referencesQuoted;
            return std::nullopt;
        }
        if (ref.otherLaw) {
            // 民法第５２３条, 法第３０条, 同法第２条: a law of the volume when the name is one
            std::optional<int> named;
            if (ref.begin >= 2 && segmentText.compare(ref.begin - 2, 2, U"同法") == 0) {
                if (m_last && m_last->law >= 0)
                    named = m_last->law;
            } else {
                named = m_resolver.lawNamedBefore(m_law, segmentText, ref.begin);
            }
            if (named && ref.kind == TextReference::Kind::Article) {
                if (auto r = m_resolver.articleOfLaw(*named, ref.number))
                    return link(*named, *r);
                m_last = Citation{*named, std::nullopt};
                return noTarget();
            }
            ++m_s.referencesOtherLaw;
            m_last = Citation{-1, std::nullopt};
            return std::nullopt;
        }
        const bool numbered = ref.kind == TextReference::Kind::Article;
        const bool otherLawLast = m_last && m_last->law != m_lawIndex;
        if (numbered && otherLawLast && isListContinuation(m_gap)) {
            // 法第３０条、第３１条: the list goes on with the law cited before.
            if (m_last->law >= 0) {
                if (auto r = m_resolver.articleOfLaw(m_last->law, ref.number))
                    return link(m_last->law, *r);
                return noTarget();
            }
            ++m_s.referencesOtherLaw;
            return std::nullopt;
        }
        if (ref.kind == TextReference::Kind::Same && otherLawLast) {
            if (m_last->law >= 0 && m_last->row)
                return link(m_last->law, *m_last->row);
            ++m_s.referencesOtherLaw;
            return std::nullopt;
        }
        const bool supplementaryList = numbered && m_last && m_last->law == m_lawIndex && m_last->supplementary &&
                                       isListContinuation(m_gap);
        if (numbered && !supplementaryList && row.place == RowPlace::Supplementary && row.block != m_law.originalBlock) {
            // an amending act's 附則 cites that act's own articles, which are not in the volume
            ++m_s.referencesOtherLaw;
            m_last = Citation{-1, std::nullopt};
            return std::nullopt;
        }
        if (numbered && !supplementaryList && m_amending) {
            // the articles of the law an amending provision rewrites
            ++m_s.referencesOtherLaw;
            m_last = Citation{-1, std::nullopt};
            return std::nullopt;
        }
        std::optional<int> same = m_last && m_last->law == m_lawIndex ? m_last->row : std::nullopt;
        TextReference own = ref;
        if (numbered && m_last && m_last->supplementary && isListContinuation(m_gap))
            own.kind = TextReference::Kind::Supplementary;  // 附則第１８条、第２０条
        if (auto r = m_resolver.ownReference(m_lawIndex, m_rowIndex, own, same)) {
            auto target = link(m_lawIndex, *r);
            m_last->supplementary = own.kind == TextReference::Kind::Supplementary;
            return target;
        }
        return noTarget();
    }

    int m_lawIndex;
    int m_rowIndex;
    LawDraft& m_law;
    Resolver& m_resolver;
    LawImportSummary& m_s;
    std::optional<Citation> m_last;
    U32 m_gap;
    int m_quoteDepth = 0;
    bool m_amending = false;
};

struct EncodedSpan {
    std::size_t begin = 0;  // bytes, relative to the encoded text
    std::size_t end = 0;
    Target target;
};

// Code page 932 of the lines joined with CR LF, with the byte extent of every linked piece.
std::string encodeLines(const std::vector<Line>& lines, std::vector<EncodedSpan>& spans, std::size_t& replaced)
{
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += "\r\n";
        for (const auto& piece : lines[i]) {
            std::size_t begin = out.size();
            out += toCp932(piece.text, &replaced);
            if (piece.target && out.size() > begin)
                spans.push_back({begin, out.size(), *piece.target});
        }
    }
    return out;
}

std::vector<RichText> singleLine(const RichText& rich)
{
    return {rich};
}

}  // namespace

std::vector<ManifestEntry> readManifest(const fs::path& manifest)
{
    std::ifstream in(manifest, std::ios::binary);
    if (!in)
        throw ImportError("目録が読めません: " + manifest.string());
    std::string line;
    std::vector<std::string> header;
    std::vector<ManifestEntry> out;
    int lineNo = 0;
    std::map<std::string, std::size_t> column;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (lineNo == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);  // a byte order mark some editors write
        if (line.empty() || line[0] == '#')
            continue;
        auto cells = splitTabs(line);
        if (header.empty()) {
            header = cells;
            for (std::size_t i = 0; i < cells.size(); ++i)
                column[cells[i]] = i;
            for (const char* required : {"file", "law_title", "category_code", "abbreviation"})
                if (!column.count(required))
                    throw ImportError("目録 " + manifest.string() + " に列 " + required + " がありません");
            continue;
        }
        auto cell = [&](const char* name) -> std::string {
            auto it = column.find(name);
            if (it == column.end() || it->second >= cells.size())
                return {};
            return cells[it->second];
        };
        ManifestEntry e;
        fs::path page = cell("file");
        e.page = page.is_absolute() ? page : manifest.parent_path() / page;
        e.lawTitle = cell("law_title");
        e.promulgation = cell("promulgation");
        e.abbreviation = cell("abbreviation");
        try {
            std::size_t used = 0;
            e.code = std::stoi(cell("category_code"), &used);
            if (used != cell("category_code").size())
                throw std::invalid_argument("code");
        } catch (const std::exception&) {
            throw ImportError("目録 " + manifest.string() + " の " + std::to_string(lineNo) + " 行目: 区分番号が数字ではありません");
        }
        if (cell("file").empty() || e.lawTitle.empty() || e.abbreviation.empty())
            throw ImportError("目録 " + manifest.string() + " の " + std::to_string(lineNo) + " 行目: 項目が足りません");
        out.push_back(std::move(e));
    }
    if (out.empty())
        throw ImportError("目録 " + manifest.string() + " に法令がありません");
    return out;
}

VolumeImport importVolume(const std::vector<ManifestEntry>& entries, const std::function<void(const std::string&)>& progress)
{
    std::vector<LawDraft> laws(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        LawDraft& law = laws[i];
        law.entry = entries[i];
        if (progress)
            progress(entries[i].lawTitle + " を読んでいます (" + entries[i].page.string() + ")");
        std::string bytes = readFile(entries[i].page);
        law.page = parseLawPage(bytes);
        law.summary.name = entries[i].lawTitle;
        law.summary.code = entries[i].code;
        law.summary.problems = law.page.problems;
        U32 title = fromUtf8(entries[i].lawTitle);
        if (!law.page.title.empty() && law.page.title != title)
            law.summary.problems.push_back("ページの法令名が目録と違います: " + u8(law.page.title));
        U32 promulgation = law.page.promulgation.empty() ? fromUtf8(entries[i].promulgation) : law.page.promulgation;
        if (auto code = lawCodeOfPromulgation(promulgation))
            law.code = *code;
        else
            law.summary.problems.push_back("公布の記載が読めません: " + u8(promulgation));
        law.kind = kindOfPromulgation(promulgation);
        layOutLaw(law);
    }

    VolumeImport result;
    AuthoringVolume& v = result.volume;
    // ＫＥＹ and 行 in volume order.
    int next = 0;
    for (auto& law : laws)
        for (auto& r : law.rows)
            r.key = ++next;
    if (next > kMaxKey)
        throw ImportError("条文が多すぎます (" + std::to_string(next) + " 件、上限 " + std::to_string(kMaxKey) + " 件)");

    Resolver resolver(laws);
    for (std::size_t li = 0; li < laws.size(); ++li) {
        LawDraft& law = laws[li];
        LawImportSummary& s = law.summary;
        const std::string lawName = toCp932(fromUtf8(law.entry.lawTitle), &s.replacedCharacters);
        const std::string kubun = toCp932(fromUtf8(law.entry.abbreviation), &s.replacedCharacters);
        v.master.push_back({law.entry.code, kubun, lawName});

        for (std::size_t ri = 0; ri < law.rows.size(); ++ri) {
            RowDraft& row = law.rows[ri];
            LineResolver lines(static_cast<int>(li), static_cast<int>(ri), law, resolver);
            auto captionLines = lines.resolve(singleLine(row.laid.caption));
            auto bodyLines = lines.resolve(row.laid.lines);
            std::vector<EncodedSpan> captionSpans, bodySpans;
            AuthoringArticle a;
            a.key = row.key;
            a.code = law.entry.code;
            a.row = row.key;
            a.kubun = kubun;
            a.number = toCp932(row.number, &s.replacedCharacters);
            a.caption = encodeLines(captionLines, captionSpans, s.replacedCharacters);
            a.content = encodeLines(bodyLines, bodySpans, s.replacedCharacters);
            ComposedArticle composed = composeArticle(lawName, a.number, a.caption, a.content);

            auto addLink = [&](const EncodedSpan& span, std::size_t offset) {
                std::size_t begin = span.begin + offset;
                std::string phrase = composed.honbun.substr(begin, span.end - span.begin);
                auto occ = occurrences(composed.honbun, phrase);
                auto at = std::find(occ.begin(), occ.end(), begin);
                AuthoringLink l;
                l.key = a.key;
                l.condition = phrase;
                l.row = a.row;
                l.kubun = a.kubun;
                l.number = a.number;
                l.occurrence = static_cast<int>(at - occ.begin()) + 1;
                if (span.target.zeimoku < 0) {
                    l.zeimoku = span.target.zeimoku;
                    l.targetCode = a.code;
                    l.targetKubun = a.kubun;
                    l.targetNumber = a.number;
                } else {
                    const LawDraft& tl = laws[static_cast<std::size_t>(span.target.law)];
                    l.targetCode = tl.entry.code;
                    l.targetKubun = toCp932(fromUtf8(tl.entry.abbreviation));
                    l.targetNumber = toCp932(tl.rows[static_cast<std::size_t>(span.target.row)].number);
                }
                v.links.push_back(std::move(l));
            };
            for (const auto& span : captionSpans)
                addLink(span, composed.captionOffset);
            for (const auto& span : bodySpans)
                addLink(span, composed.bodyOffset);
            v.articles.push_back(std::move(a));
        }

        // The outline: the law, its headings and articles, 附則 blocks, 別表.
        v.outline.push_back({0, lawName, 0});
        int minLevel = 6;
        for (const auto& h : law.page.headings)
            minLevel = std::min(minLevel, h.level);
        int lastDepth = 0;       // depth of the node written last
        int headingDepth = 0;    // depth of the heading the articles sit under
        std::size_t nextHeading = 0;
        for (std::size_t i = 0; i < law.mainRows.size(); ++i) {
            while (nextHeading < law.page.headings.size() && law.page.headings[nextHeading].beforeArticle <= i) {
                const Heading& h = law.page.headings[nextHeading++];
                int depth = std::clamp(1 + h.level - minLevel, 1, lastDepth + 1);
                v.outline.push_back({depth, toCp932(convertNumerals(h.text), &s.replacedCharacters), 0});
                lastDepth = headingDepth = depth;
            }
            v.outline.push_back({headingDepth + 1, {}, law.rows[static_cast<std::size_t>(law.mainRows[i])].key});
            lastDepth = headingDepth + 1;
        }
        std::size_t row = law.mainRows.size();
        if (!law.page.supplementary.empty()) {
            v.outline.push_back({1, toCp932(U"附則"), 0});
            for (const auto& block : law.page.supplementary) {
                std::size_t count = block.provisions.size();
                int depth = 2;
                // A block gets its own node unless it is the law's one-row original 附則: the
                // node shows an amending act's date and whether the block is an excerpt.
                if (count != 1 || block.act || block.excerpt) {
                    v.outline.push_back({2, toCp932(supplementaryCaption(block), &s.replacedCharacters), 0});
                    depth = 3;
                }
                for (std::size_t k = 0; k < count; ++k)
                    v.outline.push_back({depth, {}, law.rows[row++].key});
            }
        }
        if (!law.page.appendedTables.empty()) {
            v.outline.push_back({1, toCp932(U"別表"), 0});
            for (std::size_t k = 0; k < law.page.appendedTables.size(); ++k)
                v.outline.push_back({2, {}, law.rows[row++].key});
        }
        if (law.page.forms)
            v.outline.push_back({1, {}, law.rows[row++].key});
        result.laws.push_back(law.summary);
    }
    return result;
}

std::string summaryLine(const LawImportSummary& s)
{
    std::ostringstream o;
    o << s.name << " (" << s.code << "): 条文 " << s.articles << " (削除 " << s.deletedArticles << ")"
      << ", 附則 " << s.supplementaryRows << " 行 (" << s.supplementaryBlocks << " 件)"
      << ", 別表等 " << s.appendedRows
      << "; ページのリンク " << s.pageLinks << " 件中 " << s.pageLinksMade << " 件をリンク (他の巻の法令 "
      << s.pageLinksOutside << ", 法令名のみ " << s.pageLinksNameOnly << ", 参照先なし " << s.pageLinksNoTarget << ")"
      << "; 本文中の参照 " << s.references << " 件中 " << s.referencesLinked << " 件をリンク (自条 "
      << s.referencesToSelf << ", 他法令 " << s.referencesOtherLaw << ", 引用文中 " << s.referencesQuoted << ", 参照先なし "
      << s.referencesNoTarget << ")"
      << "; 参照検索 政令 " << s.scopeLinksOrder << ", 省令 " << s.scopeLinksMinistry
      << "; 置換した文字 " << s.replacedCharacters;
    return o.str();
}

}  // namespace importer
