// The rules of article authoring that need no window: the paste normaliser, taking a copied
// article apart into title, number and text, where a new row goes in the article order, and
// where the article text field's caret lands for a caret in the browser's text view. Texts are
// code page 932.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace authoring {

// Pasted text in the shape the tables keep: ASCII digits, brackets, blanks and punctuation as
// their full-width forms, box-drawing dashes as "－", and the OCR slip "ロ座" as "口座". Every
// replacement works on whole characters only.
std::string NormalizePastedText(std::string_view text);

// What the numeric fields (ＫＥＹ, 行, 改正, 番号のみ) take: the half-width digits "0" to "9"
// and nothing else (an empty text too).
bool OnlyHalfWidthDigits(std::string_view text);

// The article text field holds at most this many characters, a line break counting one.
inline constexpr int kArticleTextMaxCharacters = 100000;

// The characters of a text as the article text field counts them: every character one, and a
// line break (CR LF, a lone CR or a lone LF) one.
int ArticleTextCharacters(std::string_view text);

// Whether an edit that replaces `replaced` of the article text's `current` characters with
// `inserted` new ones leaves the text within kArticleTextMaxCharacters. A text that is longer
// already (a row written by other means) may still shrink, or keep its length, so that it can be
// edited back within the limit; it never grows.
bool ArticleTextEditFits(int current, int replaced, int inserted);

// The line without the full-width spaces at its start and its end.
std::string TrimFullWidthSpaces(std::string_view line);

// The line reads as an article number (「第二条」, 「第２条の２」, 「２－１－３」) rather than as a title.
bool LooksLikeArticleNumber(std::string_view line);

// What SpecialPaste takes from a copied article. Fields that stay unset are left alone.
struct PastedArticle {
    std::optional<std::string> title;    // 表題, without its parentheses
    std::optional<std::string> number;   // 条文本文, without the leading 第
    std::optional<std::string> content;  // 条文内容, lines joined with CR LF
    bool stamps = false;                 // the amendment stamp follows (when 自動入力 is on)
};
// clipboardText as the clipboard holds it (the CR LF SpecialPaste appends included).
PastedArticle ParsePastedArticle(std::string_view clipboardText);

// Where 追　加 puts a row after the one at position `current` of the article order (rows: the
// 行 of every row in that order): its 行, and the rows renumbered first to make room, as
// (position, new 行) from the last one backwards.
struct RowInsertion {
    double newRow = 0;
    std::vector<std::pair<int, double>> renumbered;
};
RowInsertion PlanRowInsertion(const std::vector<double>& rows, int current, int code);

// The article text field's caret for the text view's caret. The view's text starts with the
// law's name and the article's title line, which the article text does not hold: their length
// is estimated from the row's 表題 and 条文本文, the master's 正式名 (8 bytes when the master
// has no row) and the marks among the view's first four characters.
int ArticleCaretFromViewCaret(int viewCaret, std::string_view title, std::string_view number,
                              const std::optional<std::string>& officialName, std::string_view viewText);

// The length of the selection made at caret in a text of textLength bytes: 6, else 4, else 2
// bytes when they fit, 0 when not even 2 do.
int InitialSelectionLength(int caret, int textLength);

}  // namespace authoring
