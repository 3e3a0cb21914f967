// The citation resolver: the names of the volume's laws, the look-ups from a citation to a row,
// and the reading of a row's text that keeps what was cited last (同条, lists going on with the
// law cited before, quotations, amending provisions).
#include "tools/importer/CitationResolver.h"

#include <algorithm>
#include <span>
#include <tuple>

namespace importer {

namespace {

// The citation read last in a row's text: which law, and which article when it is known.
struct Citation {
    int law = -1;              // index in the volume, -1 for a law outside it
    std::optional<int> row;
    bool supplementary = false;  // 附則第３条: a list going on from it names 附則 articles too
    // a provision of the citing law's own was read since (前項第２号): paragraphs, items and lists
    // no longer go on from this citation, though 同条 still goes back to it
    bool ownSince = false;
};

}  // namespace

CitationResolver::CitationResolver(std::vector<LawDraft>& laws, bool ignorePageLinks)
    : m_laws(laws), m_detector(laws), m_ignorePageLinks(ignorePageLinks)
{
    for (std::size_t i = 0; i < laws.size(); ++i)
        m_codes.emplace(laws[i].code, static_cast<int>(i));
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

std::optional<int> CitationResolver::rowOfLaw(int lawIndex, TextReference::Kind kind, const ArticleNumber& number) const
{
    const LawDraft& law = m_laws[static_cast<std::size_t>(lawIndex)];
    auto find = [](const auto& index, const auto& key) -> std::optional<int> {
        auto it = index.find(key);
        if (it == index.end())
            return std::nullopt;
        return it->second;
    };
    switch (kind) {
    case TextReference::Kind::Article:
        return find(law.mainIndex, number);
    case TextReference::Kind::Supplementary:
        // another law's 附則 is its own original one; the amending acts' blocks are cited by act
        if (law.originalBlock < 0)
            return std::nullopt;
        return find(law.blockIndex[static_cast<std::size_t>(law.originalBlock)], number);
    case TextReference::Kind::AppendedTable:
        return find(law.tableIndex, number.article);
    default:
        return std::nullopt;
    }
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
    case TextReference::Kind::SameProvision:
    case TextReference::Kind::Paragraph:
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
        : m_lawIndex(lawIndex),
          m_rowIndex(rowIndex),
          m_scope(OtherLawDetector::scopeOf(law, law.rows[static_cast<std::size_t>(rowIndex)])),
          m_law(law),
          m_resolver(resolver),
          m_s(law.summary)
    {
    }

    std::vector<LinkedLine> resolve(const std::vector<RichText>& lines)
    {
        std::vector<LinkedLine> out;
        for (const auto& rich : lines) {
            LinkedLine line;
            m_narrowing = 0;  // a parenthesis does not go on over a line
            if (m_resolver.m_ignorePageLinks) {
                plain(plainText(rich), line);
            } else {
                for (const auto& seg : rich) {
                    if (seg.link >= 0)
                        pageLink(seg, line);
                    else
                        plain(seg.text, line);
                }
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
        line.push_back({seg.text, target, true});
        m_last = Citation{m_resolver.lawOf(link), target ? std::optional<int>(target->row) : std::nullopt};
        named(m_last->law, m_last->law >= 0 ? m_resolver.m_laws[static_cast<std::size_t>(m_last->law)].kind
                                            : kindOfName(link.refName));
        remember(seg.text);
        m_gap.clear();
    }

    // Plain text between citations: quotes opened and closed, amendment wording seen.
    void passText(U32View t)
    {
        for (char32_t c : t) {
            // Quoted wording is another text's (the law a reading rewrites): its 同条 and 同項 go back
            // to what it cites itself, and what it cites or names does not change what 同条 and 同法
            // stand for after the quotation. A 同法 in quoted wording goes back to a law named in
            // an earlier quotation (「…震災特例法第１８条の３第１項…」と、「…同法第１８条の３…」).
            if (c == U'「' && m_quoteDepth++ == 0) {
                m_beforeQuote = {m_last, m_lastParagraph, m_lastItem};
                m_last.reset();
                m_lastParagraph.reset();
                m_lastItem.reset();
                for (std::size_t k = 0; k < std::size(m_lastNamed); ++k) {
                    m_namedBeforeQuote[k] = m_lastNamed[k];
                    if (m_namedInQuotes[k])
                        m_lastNamed[k] = m_namedInQuotes[k];
                }
            } else if (c == U'」' && m_quoteDepth > 0 && --m_quoteDepth == 0) {
                std::tie(m_last, m_lastParagraph, m_lastItem) = m_beforeQuote;
                for (std::size_t k = 0; k < std::size(m_lastNamed); ++k) {
                    m_namedInQuotes[k] = m_lastNamed[k];
                    m_lastNamed[k] = m_namedBeforeQuote[k];
                }
            }
        }
        for (char32_t c : t)
            if (m_narrowing > 0 && (c == U'（' || c == U'）'))
                m_narrowing += c == U'（' ? 1 : -1;
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

    // A law named with no citation right after its name: the law cited from here on (同法, a
    // list going on), and counted when it is outside the volume.
    void bareName(U32View t, const NamedLaw& name, bool counted, LinkedLine& line)
    {
        plainPart(t.substr(name.begin, name.end - name.begin), line);
        m_gap.clear();
        m_last = Citation{name.law, std::nullopt};
        named(name.law, name.kind);
        if (name.law < 0 && counted)
            ++m_s.referencesOutside;
    }

    void plain(const U32& t, LinkedLine& line)
    {
        std::vector<NamedLaw> titles = m_resolver.m_detector.lawsNamedIn(m_lawIndex, m_scope, t);
        std::size_t nextTitle = 0;
        std::size_t pos = 0;
        // the titles before `until` that no citation takes as its name
        // (the name of a law whose number stands between it and citedEnd's citation counts there)
        auto titlesBefore = [&](std::size_t until, std::size_t citedEnd) {
            for (; nextTitle < titles.size() && titles[nextTitle].begin < until; ++nextTitle) {
                const NamedLaw& name = titles[nextTitle];
                if (name.begin < pos || name.end > until)
                    continue;
                plainPart(U32View(t).substr(pos, name.begin - pos), line);
                bareName(t, name, name.end != citedEnd, line);
                pos = name.end;
            }
        };
        for (const auto& ref : findReferences(t, false)) {
            std::size_t begin = ref.begin;
            std::optional<NamedLaw> name;
            std::optional<LawKind> sameLaw;  // 同法, 同令, 同規則: the law of that kind named last
            if (ref.otherLaw) {
                static constexpr std::pair<std::u32string_view, LawKind> kSame[] = {
                    {U"同法", LawKind::Act}, {U"同令", LawKind::Order}, {U"同規則", LawKind::Ordinance}};
                for (const auto& [word, kind] : kSame)
                    if (ref.begin >= pos + word.size() && t.compare(ref.begin - word.size(), word.size(), word) == 0) {
                        begin = ref.begin - word.size();
                        sameLaw = kind;
                        break;
                    }
                if (!sameLaw) {
                    name = m_resolver.m_detector.lawNamedBefore(m_lawIndex, m_scope, t, ref.begin);
                    // the link covers the name written right before the citation
                    if (name && name->end == ref.begin && name->begin >= pos)
                        begin = name->begin;
                }
            }
            titlesBefore(begin, name ? name->end : U32::npos);
            plainPart(U32View(t).substr(pos, begin - pos), line);
            if (begin < ref.begin) {
                // the law's name: part of the citation, not of the gap before it
                m_gap += t.substr(begin, ref.begin - begin);
            }
            const U32 refText = t.substr(ref.begin, ref.end - ref.begin);
            auto target = reference(ref, refText, name, sameLaw, kindOfName(U32View(t).substr(0, ref.begin)));
            if (ref.kind != TextReference::Kind::SameProvision)
                remember(refText);
            line.push_back({t.substr(begin, ref.end - begin), target});
            if (m_narrowing > 0)
                m_gap += refText;  // the narrowing parenthesis stays in the gap, closed or not
            else
                m_gap.clear();
            pos = ref.end;
            while (nextTitle < titles.size() && titles[nextTitle].begin < pos)
                ++nextTitle;
        }
        titlesBefore(t.size(), U32::npos);
        plainPart(U32View(t).substr(pos), line);
    }

    // A citation read: one that names a paragraph (第２項, 同条第２項) is what 同項 goes back to,
    // one that names an item what 同号 goes back to.
    void remember(U32View citation)
    {
        if (citation.find(U'項') != U32View::npos)
            m_lastParagraph = m_last;
        if (citation.find(U'号') != U32View::npos)
            m_lastItem = m_last;
    }

    // A law named: the one 同法, 同令 or 同規則 go back to from here on.
    void named(int law, LawKind kind) { m_lastNamed[static_cast<std::size_t>(kind)] = law; }

    // writtenKind: the kind of law the words right before the citation name (…法, …令, …規則)
    std::optional<LinkTarget> reference(const TextReference& ref, const U32& refText, const std::optional<NamedLaw>& name,
                                        std::optional<LawKind> sameLaw, LawKind writtenKind)
    {
        // 同条 goes back to the article cited last; a paragraph, an item or a list goes on from it
        // only when nothing of the law's own was read in between
        const bool otherArticleLast = m_last && m_last->law != m_lawIndex;
        const bool otherLawLast = otherArticleLast && !m_last->ownSince;
        // A provision of the law's own read here (前項第２号, 第１項第３号, 同項 after 前項): what
        // follows goes on from it, not from the other law cited before.
        auto ownProvision = [&]() -> std::optional<LinkTarget> {
            for (auto* c : {&m_last, &m_lastParagraph, &m_lastItem})
                if (*c)
                    (*c)->ownSince = true;
            return std::nullopt;
        };
        if (ref.kind == TextReference::Kind::Paragraph) {
            // 法第３８条の３第１項（第３号に係る部分に限る。）: a parenthesis right after another law's
            // citation narrows it; what it names is that citation's, and a list goes on after it
            if (m_narrowing == 0 && otherLawLast && m_gap == U"（")
                m_narrowing = 1;
            if (m_narrowing > 0)
                return std::nullopt;
            // 法第３０条第１項及び第３項: a paragraph of the other law's article cited before
            if ((m_quoteDepth > 0 && m_amending) || !otherLawLast || m_last->law < 0 || !m_last->row ||
                !isListContinuation(m_gap))
                return ownProvision();
            ++m_s.references;
            ++m_s.referencesLinked;
            return LinkTarget{m_last->law, *m_last->row, 0};
        }
        if (ref.kind == TextReference::Kind::SameProvision) {
            // 同項 goes back to the provision whose paragraph was cited last, 同号 to the one whose
            // item was (法第２０条第４項…同項第２号…法第２８条第１項…同号: 第２０条); linked when that is
            // another law's. The law's own 同項 may stand for a 前項 read in between (同号 for a
            // 前号), so it is left as text.
            static constexpr std::u32string_view kOwnParagraphs[] = {U"前項", U"次項", U"各項", U"この項"};
            static constexpr std::u32string_view kOwnItems[] = {U"前号", U"次号", U"各号", U"この号"};
            const bool paragraph = refText.size() > 1 && refText[1] == U'項';
            const std::optional<Citation> cited = paragraph ? m_lastParagraph : m_lastItem;
            bool own = false;
            for (auto w : paragraph ? std::span(kOwnParagraphs) : std::span(kOwnItems))
                own = own || m_gap.find(w) != U32::npos;
            if (refText.find(U'号') != U32::npos)
                m_lastItem = cited;
            if ((m_quoteDepth > 0 && m_amending) || !cited || cited->law == m_lawIndex || cited->ownSince ||
                cited->law < 0 || !cited->row || own)
                return ownProvision();
            ++m_s.references;
            ++m_s.referencesLinked;
            return LinkTarget{cited->law, *cited->row, 0};
        }
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
        // Quoted wording cites nothing of this law's own; a citation of another law inside a
        // replacement reading (「法第１５条第１項に規定する…」と読み替える) is one, as the pages
        // link it, but not inside the text an amending provision writes (the pages link none).
        const bool numbered = ref.kind == TextReference::Kind::Article;
        const bool goesOnFromOtherLaw = (ref.kind == TextReference::Kind::Same && otherArticleLast) ||
                                        (otherLawLast && numbered && isListContinuation(m_gap));
        if (m_quoteDepth > 0 && (m_amending || !(ref.otherLaw || goesOnFromOtherLaw))) {
            ++m_s.referencesQuoted;
            return ownProvision();
        }
        if (ref.otherLaw) {
            // 民法第５２３条, 法第３０条, 法別表第一, 同法第２条: the law the detector names
            std::optional<int> law;
            if (sameLaw)
                law = m_lastNamed[static_cast<std::size_t>(*sameLaw)];
            else if (name)
                law = name->law;
            if (!law) {
                // a law whose name is not known (…に関する法律第２条): 同法 goes back to it
                ++m_s.referencesOtherLaw;
                m_last = Citation{-1, std::nullopt};
                if (!sameLaw)
                    named(-1, writtenKind);
                return std::nullopt;
            }
            if (name)
                named(*law, name->kind);
            if (*law < 0) {
                ++m_s.referencesOutside;
                m_last = Citation{-1, std::nullopt};
                return std::nullopt;
            }
            auto r = m_resolver.rowOfLaw(*law, ref.kind, ref.number);
            if (!r) {
                m_last = Citation{*law, std::nullopt};
                return noTarget();
            }
            auto target = link(*law, *r);
            m_last->supplementary = ref.kind == TextReference::Kind::Supplementary;
            return target;
        }
        if (numbered && otherLawLast && isListContinuation(m_gap)) {
            // 法第３０条、第３１条 and 法附則第２条、第５条: the list goes on with the law cited before.
            if (m_last->law >= 0) {
                auto kind = m_last->supplementary ? TextReference::Kind::Supplementary : TextReference::Kind::Article;
                if (auto r = m_resolver.rowOfLaw(m_last->law, kind, ref.number)) {
                    bool supplementary = m_last->supplementary;
                    auto target = link(m_last->law, *r);
                    m_last->supplementary = supplementary;
                    return target;
                }
                return noTarget();
            }
            ++m_s.referencesOutside;
            return std::nullopt;
        }
        if (ref.kind == TextReference::Kind::Same && otherArticleLast) {
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
        m_last = Citation{m_lawIndex, std::nullopt};
        return noTarget();
    }

    int m_lawIndex;
    int m_rowIndex;
    int m_scope;
    LawDraft& m_law;
    CitationResolver& m_resolver;
    LawImportSummary& m_s;
    std::optional<Citation> m_last;
    std::optional<int> m_lastNamed[3];  // by LawKind: the law of each kind named last
    U32 m_gap;
    int m_quoteDepth = 0;
    int m_narrowing = 0;  // the depth of parentheses inside one that narrows another law's citation
    std::optional<Citation> m_lastParagraph;  // the citation read last that names a paragraph
    std::optional<Citation> m_lastItem;       // and an item
    // the citations read last and the laws named last before the quotation open
    std::tuple<std::optional<Citation>, std::optional<Citation>, std::optional<Citation>> m_beforeQuote;
    std::optional<int> m_namedBeforeQuote[3];
    std::optional<int> m_namedInQuotes[3];  // the laws named last in the quotations read so far
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
