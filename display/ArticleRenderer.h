// Turns the stored text of one law article into the RTF document its text view shows: one
// paragraph per line with a hanging indent chosen from the line's first characters, the two
// highlight words in red and magenta, link text underlined in blue, bracketed passages in green.
// A pure rule: text, category code, link rows and words in; code page 932 RTF bytes out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace display {

// One row of the link table (X4) of the article being rendered. A link over k bytes of text has
// k rows with consecutive sel values; rows that touch are drawn as one underlined run.
struct ArticleLinkRow {
    int sel = 0;      // 0-based byte offset into ArticleTextOf(honbun) of one byte of link text
    int goGyo = 0;    // target article
    int zeimoku = 0;  // target law volume, negative for the reference search
};

struct ArticleRenderInput {
    std::string honbun;                  // the article's Honbun as stored, code page 932
    int kubunNo = 0;                     // the article's category code
    std::vector<ArticleLinkRow> links;   // the rows of the article's Gyo, in ascending sel
    std::string highlightWord1;          // red; empty when a link is followed into a memo window
    std::string highlightWord2;          // magenta; word 1 wins where the two overlap
};

// The RTF document of the article, code page 932 bytes. Rows that are not in ascending sel are
// ordered first, so the caller may pass them in any order.
std::string RenderArticle(const ArticleRenderInput& input);

// The article text every position counts in (link rows, caret, character from point): Honbun
// split at CR LF, a lone CR or a lone LF, cut at the first NUL, each line followed by CR LF.
// An empty Honbun has no line at all; a final line end adds no empty line.
std::string ArticleTextOf(std::string_view honbun);

// The indent class 0 to 9 of a line, from its first bytes; line starts at the line's first byte
// (what follows the line does not matter). previousClass is the class of the line before: a line
// starting "また" or "なお", after up to two ideographic spaces, keeps it. The renderer never asks
// for the first line of an article, which is always class 0.
int IndentClass(std::string_view line, int previousClass);

// The 13 category codes whose texts are not indented by their numbering (classes 0 and 1).
bool IsExemptCategory(int kubunNo);

// The paragraph indent written before each run of a line of the given class, ending in "{\cf".
// numbered: the article has a line starting with "１　" after a line end (never for lines 1, 2).
std::string_view IndentPrefix(int indentClass, bool numbered, bool exempt);

}  // namespace display
