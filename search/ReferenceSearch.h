// The reference search: the articles of a law volume that refer to its current article, listed
// in place of the article list, with the article number and the scope's phrase coloured.
#pragma once

#include <cstdint>
#include <string>

class MainWindowInterface;

namespace store {
class Query;
}

// The run of the main window: the articles that refer to the current article of law volume v's
// list, which a new memo window may hold beside them. The caller sets the registry's
// Sansyo.PresetScope first.
void ReferenceSearch(MainWindowInterface& main, int v);

// The pieces the memo window's own run shares with it.
//
// Opens on q the statement of the articles of law volume v that refer to article gyo, within
// the registry's Sansyo.SearchScope of Sansyo.ReferredCode. When none does: "この条文を参照している条文はありません", the search
// timer stops, and the answer is false.
bool OpenReferringArticles(MainWindowInterface& main, int v, std::int64_t gyo, store::Query& q);
// Lists what q found in place of v's article list: the search text (the article number) and the
// scope's phrase are coloured and stand in the key edits, the main table is unfiltered and the
// other conditions cleared.
void ListReferringArticles(MainWindowInterface& main, int v, store::Query& q, const std::string& searchText, const std::string& phrase);
