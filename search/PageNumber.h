// The page jump of the book volumes: the page text as a number, and the look-up of the first
// entry on that page within the selected series.
#pragma once

#include <functional>
#include <optional>
#include <string_view>

namespace store {
class DataSet;
class DataSource;
}  // namespace store

namespace search {

// The number a page text spells: ASCII digits with at most one decimal point and at least one
// digit ("12", "12.5", ".5", "12."). Anything else, "." alone or "1.2.3" included, is no number.
std::optional<double> PageNumberOfText(std::string_view pageText);

// Moves the book list to the first entry, in table order, whose BookPage is the page text's
// number: under the list's filter when it shows the book main table; otherwise after the
// selected series' jump filter is set on the main table, binding the list to the main table
// (then fitListColumns) when the entry is there. A text that is no number names no page: it
// finds nothing and changes nothing, not even the main table's filter. Returns whether found.
bool JumpToBookPage(int bookVolume, std::string_view pageText, std::string_view selectedRange,
                    store::DataSet& bookMainTable, store::DataSource& bookMainSource,
                    const std::function<void()>& fitListColumns = {});

}  // namespace search
