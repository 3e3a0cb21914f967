// Lays a provision out as the lines the article renderer reads: paragraphs numbered "１　",
// "２　" when there are several, otherwise one paragraph opening with "　"; items "　一　…";
// sub-items "　　イ　…", "　　　（１）　…", "　　　　（ｉ）　…", whose first characters pick the
// renderer's hanging indents (classes 1, 2, 3 and 9). Numerals become full-width digits on
// the way. Links stay attached to their text.
#pragma once

#include <vector>

#include "tools/importer/LawPage.h"

namespace importer {

struct LaidOutProvision {
    U32 number;                  // ３０条の２, 別表第１, 別紙様式; empty for a 附則 block's own text
    RichText caption;            // 表題, without its parentheses
    std::vector<RichText> lines;
};

// The number is the provision's own (３０条, 別表第１); the caller puts 附則 and the act before
// the number of a 附則 article.
LaidOutProvision layOutProvision(const Provision& provision);

// A line of text given with <BR> inside a provision, placed by its marker: 一 → item, イ →
// first sub-item level, （１） → second, （ｉ） → third; other lines keep their indentation.
U32 placeBrokenLine(U32View line);

// The designation of an amending act for article numbers: （平成１８年法律第５０号）, and the
// full one for the outline: （平成１８年６月２日法律第５０号）.
U32 actShortDesignation(const ActDesignation& act);
U32 actFullDesignation(const ActDesignation& act);

// The outline caption of a 附則 block: 附則, 附則　抄, 附則（平成１８年６月２日法律第５０号）　抄.
U32 supplementaryCaption(const SupplementaryBlock& block);

}  // namespace importer
