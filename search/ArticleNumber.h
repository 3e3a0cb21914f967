// The article-number jump's two rules: a typed number rewritten into the form the main table
// stores in Bangou, and the look-up of that number in the volume's list.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace store {
class DataSet;
class DataSource;
}  // namespace store

namespace search {

// The typed text (code page 932) in Bangou form: full-width digits, "条" after the article
// number, "の" (or "ノ" under 旧商法) before a branch number, "－" inside a circular's number,
// and "第" only after "附則" or "別表". selectedRange is the text of the range combo's selected
// item, which decides the old commercial code's "ノ" and the numbers that take no "条".
std::string NormaliseArticleNumber(std::string_view typed, std::string_view selectedRange);

// The form the volumes store a 附則 or 別表 number in, for a rewritten number that keeps what
// users type there: kanji numerals as full-width digits, no "第" after "附則", "第" after
// "別表" (附則第３条 and 附則第三条 → 附則３条; 別表第一 and 別表１ → 別表第１). Any other
// number comes back as it is.
std::string StoredArticleNumberForm(std::string_view bangou);

// Moves the volume's list to the first article, in table order, whose Bangou equals bangou
// exactly, or else equals its StoredArticleNumberForm. When the list shows the main table, it is searched under its current filter and
// nothing else changes. When the list shows a search result, the selected preset's jump
// filter is set on the main table first; if the article is there, the list is bound to the
// main table, fitListColumns runs, and the article becomes the current row; if not, the list
// keeps the result (and the main table keeps the jump filter). Returns whether it was found.
bool JumpToArticleNumber(int lawVolume, const std::string& bangou, std::string_view selectedRange,
                         store::DataSet& mainTable, store::DataSource& mainSource,
                         const std::function<void()>& fitListColumns = {});

}  // namespace search
