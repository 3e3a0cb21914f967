// Resolving the citations of a volume's rows: the reference links of the pages, the references
// a law's text makes to its own provisions (第３０条, 前条, 同条, 附則第３条, 別表第１) and to other
// laws of the volume by name (民法第５２３条, 法第３０条 after （以下「法」という。）, 同法第２条),
// and the phrases that start the reference search (政令で定める). Which law a citation names is
// the OtherLawDetector's answer. A row's text comes back cut
// into pieces, each cited piece carrying the row it leads to; the import loop only encodes them.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "tools/importer/LawDraft.h"
#include "tools/importer/OtherLawDetector.h"
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
    bool pageLink = false;  // the page's own link, not one found in the text
};
using LinkedLine = std::vector<LinkedPiece>;

// A row's caption (one line) and body lines, cut at its citations.
struct ResolvedRow {
    std::vector<LinkedLine> caption;
    std::vector<LinkedLine> body;
};

class CitationResolver {
public:
    // Learns the names by which the laws' texts cite each other (OtherLawDetector). The laws
    // must stay where they are while the resolver lives. With ignorePageLinks the pages' own
    // links are read as plain text, so that every citation is one the text shows.
    explicit CitationResolver(std::vector<LawDraft>& laws, bool ignorePageLinks = false);

    // The caption and body of one row, read in that order (a 同条 in the body may go back to a
    // citation in the caption). Every citation met is counted in the citing law's summary, and
    // one that finds no row is listed among its unresolved ones.
    ResolvedRow resolveRow(int law, int row);

private:
    class RowReader;  // the reading of one row's text, citation by citation

    // The row a reference link of the page leads to, counted in s; nothing for a law outside
    // the volume, a law as a whole or an article the volume lacks. citing names the citing row.
    std::optional<LinkTarget> pageLink(const PageLink& link, LawImportSummary& s, U32View citing);
    // The law a page link cites: its index in the volume, or -1 for a law outside it.
    int lawOf(const PageLink& link) const;
    // The row of another law of the volume that a citation by name points to: an article of its
    // main provision, of its own 附則 (附則第３条) or one of its 別表.
    std::optional<int> rowOfLaw(int lawIndex, TextReference::Kind kind, const ArticleNumber& number) const;
    // The row a reference of the law's own text points to, nothing when there is none. same is
    // the article cited last in this law's text.
    std::optional<int> ownReference(int lawIndex, int rowIndex, const TextReference& ref, std::optional<int> same) const;

    std::vector<LawDraft>& m_laws;
    std::map<U32, int> m_codes;  // H_FILE → law
    OtherLawDetector m_detector;
    bool m_ignorePageLinks = false;
};

}  // namespace importer
