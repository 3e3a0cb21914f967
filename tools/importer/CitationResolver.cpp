// The citation resolver: the names of the volume's laws, the look-ups from a citation to a row,
// and the reading of a row's text that keeps what was cited last (同条, lists going on with the
// law cited before, quotations, amending provisions).
#include "tools/importer/CitationResolver.h"

#include <algorithm>

namespace importer {

namespace {

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

}  // namespace

CitationResolver::CitationResolver(std::vector<LawDraft>& laws) : m_laws(laws)
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

std::size_t CitationResolver::nameStartBefore(const LawDraft& citing, U32View t, std::size_t end) const
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

std::optional<int> CitationResolver::lawNamedBefore(const LawDraft& citing, U32View t, std::size_t end) const
{
    if (end > 0 && t[end - 1] == U'）') {
        std::size_t open = openParenthesisBefore(t, end - 1);
        if (open == U32View::npos || t.substr(open, end - open).find(U'号') == U32View::npos)
            return std::nullopt;
        end = open;
    }
    return titledLawBefore(t, end, citing.abbreviations);
}

std::optional<LinkTarget> CitationResolver::pageLink(const PageLink& link, LawImportSummary& s, U32View citing)
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
        s.unresolved.push_back(toUtf8(citing) + " → " + target.entry.abbreviation + " " + toUtf8(link.refName));
        return std::nullopt;
    }
    ++s.pageLinksMade;
    return LinkTarget{law->second, *row, 0};
}

int CitationResolver::lawOf(const PageLink& link) const
{
    auto it = m_codes.find(link.lawCode);
    return it == m_codes.end() ? -1 : it->second;
}

std::optional<int> CitationResolver::articleOfLaw(int lawIndex, const ArticleNumber& number) const
{
    const LawDraft& law = m_laws[static_cast<std::size_t>(lawIndex)];
    auto it = law.mainIndex.find(number);
    if (it == law.mainIndex.end())
        return std::nullopt;
    return it->second;
}

std::optional<int> CitationResolver::ownReference(int lawIndex, int rowIndex, const TextReference& ref, std::optional<int> same) const
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

class CitationResolver::RowReader {
public:
    RowReader(int lawIndex, int rowIndex, LawDraft& law, CitationResolver& resolver)
        : m_lawIndex(lawIndex), m_rowIndex(rowIndex), m_law(law), m_resolver(resolver), m_s(law.summary)
    {
    }

    std::vector<LinkedLine> resolve(const std::vector<RichText>& lines)
    {
        std::vector<LinkedLine> out;
        for (const auto& rich : lines) {
            LinkedLine line;
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
    void pageLink(const Segment& seg, LinkedLine& line)
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

    void plainPart(U32View part, LinkedLine& line)
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
                std::optional<LinkTarget> target;
                if (m_quoteDepth == 0) {
                    target = LinkTarget{-1, -1, ph.zeimoku};
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

    void plain(const U32& t, LinkedLine& line)
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

    std::optional<LinkTarget> reference(const TextReference& ref, const U32& refText, const U32& segmentText)
    {
        ++m_s.references;
        const RowDraft& row = m_law.rows[static_cast<std::size_t>(m_rowIndex)];
        auto noTarget = [&]() -> std::optional<LinkTarget> {
            ++m_s.referencesNoTarget;
            m_s.unresolved.push_back(toUtf8(row.number) + " → " + toUtf8(refText));
            return std::nullopt;
        };
        auto link = [&](int law, int targetRow) -> std::optional<LinkTarget> {
            m_last = Citation{law, targetRow};
            if (law == m_lawIndex && targetRow == m_rowIndex) {
                ++m_s.referencesToSelf;
                return std::nullopt;
            }
            ++m_s.referencesLinked;
            return LinkTarget{law, targetRow, 0};
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
    CitationResolver& m_resolver;
    LawImportSummary& m_s;
    std::optional<Citation> m_last;
    U32 m_gap;
    int m_quoteDepth = 0;
    bool m_amending = false;
};

ResolvedRow CitationResolver::resolveRow(int law, int row)
{
    LawDraft& draft = m_laws[static_cast<std::size_t>(law)];
    const RowDraft& r = draft.rows[static_cast<std::size_t>(row)];
    RowReader reader(law, row, draft, *this);
    ResolvedRow out;
    out.caption = reader.resolve({r.laid.caption});
    out.body = reader.resolve(r.laid.lines);
    return out;
}

}  // namespace importer
