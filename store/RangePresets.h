// The range presets of the nine range lists: which items each list holds, and how a selected
// item narrows the list, the jump and the search. One table holds them all.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace store {

class DataSet;

// One item of a range list. Texts are code page 932 (the filters and clauses are ASCII).
struct RangePreset {
    std::string label;                      // the item text, compared byte for byte
    int code = -1;                          // KubunNo or BookNo of a single-code preset, else -1
    std::string listFilter;                 // empty for 全範囲
    std::string jumpFilter;                 // empty for 全範囲
    std::vector<std::string> searchClause;  // lines appended after a search's WHERE line

    bool wholeRange() const { return listFilter.empty(); }
};

// The items of a list in list order, 全範囲 first. Empty for an index that names no volume.
const std::vector<RangePreset>& LawRangePresets(int lawVolume);
const std::vector<RangePreset>& BookRangePresets(int bookVolume);

// The item texts with which a range combo is filled, in order, and the rows its drop-down shows.
std::vector<std::string> LawRangeItems(int lawVolume);
std::vector<std::string> BookRangeItems(int bookVolume);
int LawRangeDropDownCount(int lawVolume);
int BookRangeDropDownCount(int bookVolume);

// The preset a selected item's text names: the first label equal byte for byte, or nullptr
// (an empty text, a typed text or an unknown volume names none).
const RangePreset* FindLawRangePreset(int lawVolume, std::string_view selectedText);
const RangePreset* FindBookRangePreset(int bookVolume, std::string_view selectedText);

// The abbreviation a category code has in the range lists ("法法" for 10), code page 932;
// empty for a code no list offers. And the law volumes whose list offers it, ascending.
std::string CategoryAbbreviation(int kubunNo);
std::vector<int> VolumesOfferingCategory(int kubunNo);

// The six operations. Each takes the text of the item selected in the volume's range combo
// (empty when none is selected). A text naming no preset, or a volume index outside the
// operation's range, changes nothing. A preset replaces the whole filter of its target.
//
// The data set the volume's list shows (main table or a search result): list filter, or none.
void ApplyListRange(int lawVolume, std::string_view selectedText, DataSet& shownDataSet);
// The volume's main table, whatever the list shows: jump filter, or none.
void ApplyJumpRange(int lawVolume, std::string_view selectedText, DataSet& mainTable);
// The search clause lines, at the end of the statement being built.
void AppendRangeClause(int lawVolume, std::string_view selectedText, std::vector<std::string>& SqlClauseList);
void ApplyBookListRange(int bookVolume, std::string_view selectedText, DataSet& shownDataSet);
void ApplyBookJumpRange(int bookVolume, std::string_view selectedText, DataSet& mainTable);
void AppendBookRangeClause(int bookVolume, std::string_view selectedText, std::vector<std::string>& SqlClauseList);

}  // namespace store
