// How deep filter expressions and local SQL statements may nest, shared by both parsers.
#pragma once

#include <string>

namespace store {

// Parentheses (and NOT) nest at most this deep: what the program builds nests three deep. A
// deeper text is refused with an error rather than let the parsers, which recurse once per
// level, run out of stack; SQLite's own parser gives up a little beyond 90 levels, so what
// passes here it reads.
inline constexpr int kMaxExpressionNesting = 32;

// Why such a text is refused, UTF-8.
inline std::string nestingTooDeepReason()
{
    return "括弧の入れ子が深すぎます（" + std::to_string(kMaxExpressionNesting) + " 段まで）";
}

}  // namespace store
