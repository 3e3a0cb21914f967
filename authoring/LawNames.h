// The one table of law names: every name and abbreviation by which a reference phrase or an
// article's text names a law text, with that text's category code. The reference-name resolver
// tries the names in table order; the importer looks for the official titles among them in the
// articles it reads.
#pragma once

#include <string_view>
#include <vector>

namespace authoring {

// The code that stands for "the law cited last" (同法, 同令, 同規則, 同通達); every real code
// is positive.
constexpr int kSameLawAsLastLink = -1;

struct LawName {
    std::string_view text;  // UTF-8
    // An official title, as the laws' own texts cite it (消費税法施行令), not an editor's short
    // form (消令, 措置法令) or a circular.
    bool title = false;
};

struct LawNameEntry {
    std::vector<LawName> names;
    int code = 0;
    // Inside the old commercial code's own texts (current code 900 to 999) 商法 means the old
    // code: the code then, 0 when it is the same.
    int codeInOldCommercialCode = 0;

    int codeFor(int currentCode) const
    {
        return codeInOldCommercialCode && currentCode >= 900 && currentCode <= 999 ? codeInOldCommercialCode : code;
    }
};

// The names in the order they are tried: a longer name always comes before the names it
// contains (所得税法施行令 before 所得税法, 有限会社法 before 会社法).
const std::vector<LawNameEntry>& LawNameTable();

}  // namespace authoring
