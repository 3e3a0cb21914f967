// Measuring the found links against the page links.
#include "tools/importer/LinkMeasurement.h"

#include <cstdio>

#include "tools/importer/CitationResolver.h"
#include "tools/importer/LawDraft.h"

namespace importer {

namespace {

struct Span {
    std::size_t line = 0;  // caption lines first, then body lines
    std::size_t begin = 0;  // characters in the line
    std::size_t end = 0;
    int law = -1;
    int row = -1;
    U32 text;
};

// The links to other laws of the volume in a row's lines; pageLinks: only the page's own.
std::vector<Span> linksToOtherLaws(const ResolvedRow& r, int citingLaw, bool pageLinks)
{
    std::vector<Span> out;
    std::size_t lineIndex = 0;
    for (const auto* lines : {&r.caption, &r.body}) {
        for (const auto& line : *lines) {
            std::size_t pos = 0;
            for (const auto& piece : line) {
                const auto& t = piece.target;
                if (t && t->zeimoku == 0 && t->law != citingLaw && (!pageLinks || piece.pageLink))
                    out.push_back({lineIndex, pos, pos + piece.text.size(), t->law, t->row, piece.text});
                pos += piece.text.size();
            }
            ++lineIndex;
        }
    }
    return out;
}

bool matches(const Span& a, const Span& b)
{
    return a.line == b.line && a.law == b.law && a.row == b.row && a.begin < b.end && b.begin < a.end;
}

std::string describe(const std::vector<LawDraft>& laws, const RowDraft& citing, const Span& s)
{
    const LawDraft& target = laws[static_cast<std::size_t>(s.law)];
    return toUtf8(citing.number) + " 「" + toUtf8(s.text) + "」 → " + target.entry.abbreviation + " " +
           toUtf8(target.rows[static_cast<std::size_t>(s.row)].number);
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
            for (const auto& p : page) {
                ++m.pageLinks;
                bool hit = false;
                for (const auto& f : found)
                    hit = hit || matches(p, f);
                if (hit)
                    ++m.pageLinksFound;
                else
                    m.missed.push_back(describe(laws, citing, p));
            }
            for (const auto& f : found) {
                if (laws[static_cast<std::size_t>(f.law)].rows[static_cast<std::size_t>(f.row)].place != RowPlace::Main) {
                    ++m.foundLinksBeyondPages;
                    continue;
                }
                ++m.foundLinks;
                bool hit = false;
                for (const auto& p : page)
                    hit = hit || matches(p, f);
                if (hit)
                    ++m.foundLinksMatching;
                else
                    m.unmatched.push_back(describe(laws, citing, f));
            }
        }
        out.push_back(std::move(m));
    }
    return out;
}

std::string measureLine(const LinkMeasure& m)
{
    char figures[160];
    std::snprintf(figures, sizeof figures, "\t%d\t%d\t%.1f%%\t%d\t%d\t%.1f%%\t%d", m.pageLinks, m.pageLinksFound,
                  100.0 * m.recall(), m.foundLinks, m.foundLinksMatching, 100.0 * m.precision(), m.foundLinksBeyondPages);
    return m.name + " (" + std::to_string(m.code) + ")" + figures;
}

}  // namespace importer
