// Measuring the found links against the page links.
#include "tools/importer/LinkMeasurement.h"

#include <cstdio>
#include <memory>

#include "tools/importer/CitationResolver.h"
#include "tools/importer/LawDraft.h"
#include "tools/importer/References.h"

namespace importer {

namespace {

constexpr std::size_t kContext = 16;

struct Span {
    std::size_t line = 0;  // caption lines first, then body lines
    std::size_t begin = 0;  // characters in the line
    std::size_t end = 0;
    int law = -1;
    int row = -1;
    U32 text;
    std::shared_ptr<const U32> lineText;  // the whole line, to read the link in place
};

// The links to other laws of the volume in a row's lines; pageLinks: only the page's own.
std::vector<Span> linksToOtherLaws(const ResolvedRow& r, int citingLaw, bool pageLinks)
{
    std::vector<Span> out;
    std::size_t lineIndex = 0;
    for (const auto* lines : {&r.caption, &r.body}) {
        for (const auto& line : *lines) {
            auto whole = std::make_shared<U32>();
            for (const auto& piece : line)
                *whole += piece.text;
            std::size_t pos = 0;
            for (const auto& piece : line) {
                const auto& t = piece.target;
                if (t && t->zeimoku == 0 && t->law != citingLaw && (!pageLinks || piece.pageLink))
                    out.push_back({lineIndex, pos, pos + piece.text.size(), t->law, t->row, piece.text, whole});
                pos += piece.text.size();
            }
            ++lineIndex;
        }
    }
    return out;
}

// The kinds of found links the pages never link, and of page links that go wrong.
enum class Kind { None, InTable, ListedAfterComma, BackIntoQuotation };

// A found link of a kind the pages never link: in a table row (｜…｜), or an item of a list
// that goes on after a 、 (the citations before it on the line, back to the list's head, with
// nothing but list words between them).
Kind unlinkedKind(const std::vector<Span>& found, std::size_t i)
{
    const Span& f = found[i];
    const U32& whole = *f.lineText;
    if (!whole.empty() && whole.front() == U'｜')
        return Kind::InTable;
    const auto refs = findReferences(whole, false);
    std::size_t k = 0;
    while (k < refs.size() && refs[k].end != f.end)
        ++k;
    if (k == refs.size() || refs[k].otherLaw)
        return Kind::None;  // not found again, or a law's name heads it
    for (; k > 0; --k) {
        U32View gap = U32View(whole).substr(refs[k - 1].end, refs[k].begin - refs[k - 1].end);
        if (!isListContinuation(gap))
            return Kind::None;
        if (gap.find(U'、') != U32View::npos)
            return Kind::ListedAfterComma;
        if (refs[k - 1].otherLaw)
            return Kind::None;
    }
    return Kind::None;
}

// A page link that goes back into a quotation: a 同条, 同項, 同号 (to the same article) or 同法 (to
// the same law) that the pages link to a citation made inside a quotation closed before it
// (所得税法第１４０条第１項中「…震災特例法第６条第５項…」として、同条…: the 同条 is 所得税法's).
Kind wrongPageKind(const std::vector<Span>& page, std::size_t i)
{
    const Span& p = page[i];
    if (p.text.size() < 2 || p.text[0] != U'同')
        return Kind::None;
    const bool sameLaw = p.text[1] == U'法';
    const U32& whole = *p.lineText;
    for (std::size_t k = i; k-- > 0;) {
        const Span& q = page[k];
        if (q.line != p.line)
            break;
        if (q.law != p.law || (!sameLaw && q.row != p.row))
            continue;
        // the quotation q stands in must close between q and p
        int depth = 0;
        for (std::size_t c = 0; c < q.begin; ++c)
            depth += whole[c] == U'「' ? 1 : whole[c] == U'」' && depth > 0 ? -1 : 0;
        if (depth == 0)
            return Kind::None;
        const int inside = depth;
        for (std::size_t c = q.end; c < p.begin; ++c) {
            depth += whole[c] == U'「' ? 1 : whole[c] == U'」' ? -1 : 0;
            if (depth < inside)
                return Kind::BackIntoQuotation;
        }
        return Kind::None;
    }
    return Kind::None;
}

bool matches(const Span& a, const Span& b)
{
    return a.line == b.line && a.law == b.law && a.row == b.row && a.begin < b.end && b.begin < a.end;
}

std::string describe(const std::vector<LawDraft>& laws, const RowDraft& citing, const Span& s, Kind kind)
{
    static constexpr const char* kKinds[] = {"", "［表］ ", "［読点の後の列挙］ ", "［引用の中へ戻る同］ "};
    const LawDraft& target = laws[static_cast<std::size_t>(s.law)];
    U32View line = *s.lineText;
    const std::size_t from = s.begin > kContext ? s.begin - kContext : 0;
    return kKinds[static_cast<int>(kind)] + toUtf8(citing.number) + " 「" + toUtf8(s.text) + "」 → " +
           target.entry.abbreviation + " " + toUtf8(target.rows[static_cast<std::size_t>(s.row)].number) + "　…" +
           toUtf8(line.substr(from, s.begin - from)) + "［" + toUtf8(s.text) + "］" + toUtf8(line.substr(s.end, kContext)) + "…";
}

}  // namespace

std::vector<LinkMeasure> measureFoundLinks(const std::vector<ManifestEntry>& entries)
{
    std::vector<LawDraft> laws = readLaws(entries);
    CitationResolver withPageLinks(laws, false);
    CitationResolver textAlone(laws, true);
    std::vector<LinkMeasure> out;
    for (std::size_t li = 0; li < laws.size(); ++li) {
        LinkMeasure m;
        m.name = laws[li].entry.lawTitle;
        m.code = laws[li].entry.code;
        const int law = static_cast<int>(li);
        // Only the main provision: the pages link nothing in a 附則, a 別表 or a form.
        for (int row : laws[li].mainRows) {
            const auto ri = static_cast<std::size_t>(row);
            auto page = linksToOtherLaws(withPageLinks.resolveRow(law, row), law, true);
            auto found = linksToOtherLaws(textAlone.resolveRow(law, row), law, false);
            const RowDraft& citing = laws[li].rows[ri];
            for (std::size_t i = 0; i < page.size(); ++i) {
                const Span& p = page[i];
                ++m.pageLinks;
                bool hit = false;
                for (const auto& f : found)
                    hit = hit || matches(p, f);
                if (hit) {
                    ++m.pageLinksFound;
                    continue;
                }
                const Kind kind = wrongPageKind(page, i);
                m.pageLinksIntoQuotations += kind == Kind::BackIntoQuotation;
                m.missed.push_back(describe(laws, citing, p, kind));
            }
            for (std::size_t i = 0; i < found.size(); ++i) {
                const Span& f = found[i];
                if (laws[static_cast<std::size_t>(f.law)].rows[static_cast<std::size_t>(f.row)].place != RowPlace::Main) {
                    ++m.foundLinksBeyondPages;
                    continue;
                }
                ++m.foundLinks;
                bool hit = false;
                for (const auto& p : page)
                    hit = hit || matches(p, f);
                if (hit) {
                    ++m.foundLinksMatching;
                    continue;
                }
                const Kind kind = unlinkedKind(found, i);
                m.foundInTables += kind == Kind::InTable;
                m.foundListedAfterComma += kind == Kind::ListedAfterComma;
                m.unmatched.push_back(describe(laws, citing, f, kind));
            }
        }
        out.push_back(std::move(m));
    }
    return out;
}

std::string measureLine(const LinkMeasure& m)
{
    char figures[200];
    std::snprintf(figures, sizeof figures, "\t%d\t%d\t%.1f%%\t%.1f%%\t%d\t%d\t%.1f%%\t%.1f%%\t%d", m.pageLinks,
                  m.pageLinksFound, 100.0 * m.recall(), 100.0 * m.rightRecall(), m.foundLinks, m.foundLinksMatching,
                  100.0 * m.precision(), 100.0 * m.pagePrecision(), m.foundLinksBeyondPages);
    return m.name + " (" + std::to_string(m.code) + ")" + figures;
}

}  // namespace importer
