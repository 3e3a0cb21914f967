// How an authoring row becomes the text the browser shows, and where a phrase sits in it. The
// importer and the delivery build both measure link positions through these functions, so an
// offset computed at import is the offset the delivery finds again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace importer {

// The browsing text of an article, code page 932: line 1 the law's name, line 2 the number and
// caption ("第３０条（仕入れに係る消費税額の控除）"), then the article's own lines. Lines are
// separated by CR LF; the renderer adds one after the last line too, so offsets are the same.
struct ComposedArticle {
    std::string honbun;
    std::string titleLine;        // line 2, also the article list's 条文番号＆表題
    std::size_t captionOffset = 0;  // where the caption's text (inside its parentheses) begins
    std::size_t bodyOffset = 0;     // where line 3 begins (the size of honbun when there is none)
};

ComposedArticle composeArticle(std::string_view lawName, std::string_view number, std::string_view caption,
                               std::string_view body);

// The printed number of a row from its 条文本文: ３０条 → 第３０条; 附則３条 → 附則第３条;
// 附則（平成１８年法律第５０号）３条 → 附則（平成１８年法律第５０号）第３条; 別表第１ stays.
std::string displayNumber(std::string_view number);

// The article list's Bangou, the key of the article-number jump: the 条文本文, with the old
// commercial code's ノ written の unless the row belongs to 旧商法 (910), where the jump itself
// writes ノ.
std::string bangouOf(std::string_view number, int categoryCode);

// Lines of an article text with every line end as CR LF (a lone CR or LF ends a line too, as
// the renderer reads them), NUL bytes dropped, no line end after the last line.
std::string normalizeLineEnds(std::string_view body);

// Byte offsets where needle begins on a character boundary of haystack, overlapping matches
// included, in ascending order.
std::vector<std::size_t> occurrences(std::string_view haystack, std::string_view needle);

// The text cut to at most maxBytes without splitting a double-byte character.
std::string truncateBytes(std::string_view s, std::size_t maxBytes);

}  // namespace importer
