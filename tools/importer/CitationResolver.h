// Resolving the citations of a volume's rows: the reference links of the pages, the references
// a law's text makes to its own provisions (第３０条, 前条, 同条, 附則第３条, 別表第１) and to other
// laws of the volume by name (民法第５２３条, 法第３０条 after （以下「法」という。）, 同法第２条),
// and the phrases that start the reference search (政令で定める). A row's text comes back cut
// into pieces, each cited piece carrying the row it leads to; the import loop only encodes them.
#pragma once

#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "tools/importer/LawDraft.h"
#include "tools/importer/References.h"

namespace importer {

struct LinkTarget {
    int law = -1;       // index into the volume's laws
    int row = -1;       // index into that law's rows
    int zeimoku = 0;    // -1 / -2: the reference search; law and row are then unused
};

struct LinkedPiece {
    U32 text;
    std::optional<LinkTarget> target;
};
using LinkedLine = std::vector<LinkedPiece>;

// A row's caption (one line) and body lines, cut at its citations.
struct ResolvedRow {
    std::vector<LinkedLine> caption;
    std::vector<LinkedLine> body;
};

class CitationResolver {
public:
    // Learns the names by which the laws' texts cite each other: every law's title and the short
    // names each text defines for itself (kept in LawDraft::abbreviations). The laws must stay
    // where they are while the resolver lives.
    explicit CitationResolver(std::vector<LawDraft>& laws);

    // The caption and body of one row, read in that order (a 同条 in the body may go back to a
    // citation in the caption). Every citation met is counted in the citing law's summary, and
    // one that finds no row is listed among its unresolved ones.
    ResolvedRow resolveRow(int law, int row);

private:
    class RowReader;  // the reading of one row's text, citation by citation

    // Where the name of a law of the volume written right before `end` begins (民法第５２３条,
    // 法第３０条, 同法第２条), so that the link covers the name too; end when there is none.
    std::size_t nameStartBefore(const LawDraft& citing, U32View t, std::size_t end) const;
    // The law of the volume a citation names just before `end` of t: by title or by a short
    // name its text defined, after the law's number in parentheses (消費税法（昭和６３年法律
    // 第１０８号）第３０条); nothing when it names none.
    std::optional<int> lawNamedBefore(const LawDraft& citing, U32View t, std::size_t end) const;
    // The row a reference link of the page leads to, counted in s; nothing for a law outside
    // the volume, a law as a whole or an article the volume lacks. citing names the citing row.
    std::optional<LinkTarget> pageLink(const PageLink& link, LawImportSummary& s, U32View citing);
    // The law a page link cites: its index in the volume, or -1 for a law outside it.
    int lawOf(const PageLink& link) const;
    // The row of an article of another law of the volume cited by a bare number that goes on
    // from that law's citation.
    std::optional<int> articleOfLaw(int lawIndex, const ArticleNumber& number) const;
    // The row a reference of the law's own text points to, nothing when there is none. same is
    // the article cited last in this law's text.
    std::optional<int> ownReference(int lawIndex, int rowIndex, const TextReference& ref, std::optional<int> same) const;

    std::vector<LawDraft>& m_laws;
    std::map<U32, int> m_codes;               // H_FILE → law
    std::vector<std::pair<U32, int>> m_titles;  // every law's title, longest first
};

}  // namespace importer
