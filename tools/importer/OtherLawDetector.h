// The detector of references to other laws: which law a citation in an article's text names.
// A law is named by its title (every law of the volume, and every official title of the
// law-name table, whether or not the law is in the volume), by a short name its text defines
// (（以下「法」という。）, 「令」とは消費税法施行令をいう), or by the usual short names where the
// text defines none (in a 施行令, 法 is its act; in a 施行規則, 法 the act and 令 the order).
// Both readers of a law (the pages and the standard law XML) reach it through the citation
// resolver.
#pragma once

#include <optional>
#include <vector>

#include "tools/importer/LawDraft.h"

namespace authoring {
struct LawNameEntry;
}

namespace importer {

// A law named in a text: where its name begins and ends, and which law it is.
struct NamedLaw {
    std::size_t begin = 0;
    std::size_t end = 0;
    int law = -1;  // index into the volume's laws, -1 for a law outside the volume
    LawKind kind = LawKind::Act;  // by its name or number: what 同法, 同令, 同規則 go back to
};

class OtherLawDetector {
public:
    // Learns the titles of the volume and of the law-name table, and every law's short names.
    explicit OtherLawDetector(const std::vector<LawDraft>& laws);

    // The law whose name ends at `end` of t (right before a citation such as 第３０条,
    // 附則第３条 or 別表第一), also when the law's number stands between them in parentheses
    // (消費税法（昭和６３年法律第１０８号）第３０条). A name is not the tail of a longer word
    // (旧商法 names no 商法). scope is the citing row's scope (scopeOf).
    std::optional<NamedLaw> lawNamedBefore(int citing, int scope, U32View t, std::size_t end) const;

    // The laws named in t with no citation of theirs needed: by their titles, and any law
    // followed by its number in parentheses (電気通信事業法（昭和５９年法律第８６号）), the
    // latter outside the volume unless its name is known. In text order.
    std::vector<NamedLaw> lawsNamedIn(int citing, int scope, U32View t) const;

    // Where a row's short names hold: -1 for the main provision and the law's own 附則, the
    // block for an amending act's 附則 (whose definitions are its own).
    static int scopeOf(const LawDraft& law, const RowDraft& row);

private:
    struct Name {
        U32 text;
        int law = -1;                                     // a law of the volume, or
        const authoring::LawNameEntry* entry = nullptr;  // a title of the law-name table
    };
    // The name among names (longest first) that ends at end of t and is a word of its own.
    static const Name* nameEndingAt(const std::vector<Name>& names, U32View t, std::size_t end);
    // The law a name stands for in a text of citing: the table's 商法 depends on the citing law.
    int lawOf(const Name& name, int citing) const;
    // The name (a short name of the scope or a title) that ends at end of t, longest first.
    const Name* anyNameEndingAt(int citing, int scope, U32View t, std::size_t end) const;
    // The title that begins at pos of t, longest first.
    const Name* titleAt(U32View t, std::size_t pos) const;
    void learnShortNames(int lawIndex, const LawDraft& law);
    void addUsualShortNames(int lawIndex, const LawDraft& law);

    std::vector<Name> m_titles;  // the volume's titles, then the table's, longest first
    std::vector<int> m_codes;    // each law's category code
    // per law: the short names of each scope (index 0 the main provision, b + 1 block b),
    // longest first
    std::vector<std::vector<std::vector<Name>>> m_shortNames;
};

}  // namespace importer
