// Numbers as law pages write them (kanji with 十/百/千, positional kanji with 〇, full-width
// digits) and the rewriting of kanji numerals into full-width Arabic digits, as tax law books
// print them: 第三十条第一項 → 第３０条第１項, 百分の四 → １００分の４.
#pragma once

#include <optional>

#include "tools/importer/Utf32.h"

namespace importer {

bool isKanjiDigit(char32_t c);        // 〇 一 … 九
bool isKanjiNumeral(char32_t c);      // the digits and 十 百 千
bool isFullWidthDigit(char32_t c);    // ０ … ９

// The value of a numeral written in kanji (traditional 三百六十 or positional 三六〇, 万 and
// 億 allowed inside), in full-width or ASCII digits; nothing when the text is anything else.
std::optional<long long> parseNumber(U32View numeral);

// The number in full-width digits: 30 → ３０.
U32 fullWidthNumber(long long value);

// The text with the kanji numerals that count articles, paragraphs, items, chapters, dates,
// fractions and amounts rewritten in full-width digits. Numerals that are words (同一, 一定,
// 第三者, 一部) and the labels that begin items (一　, 二　) stay as they are.
U32 convertNumerals(U32View text);

}  // namespace importer
