// The page text as a number and the page jump's look-up.
#include "search/PageNumber.h"

#include <charconv>
#include <string>

#include "store/DataSet.h"
#include "store/DataSource.h"
#include "store/RangePresets.h"

namespace search {

std::optional<double> PageNumberOfText(std::string_view pageText)
{
    int digits = 0, points = 0;
    for (char c : pageText) {
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1)
        return std::nullopt;
    // A leading or trailing point reads as a zero beside it.
    std::string number = pageText.front() == '.' ? "0" : "";
    number += pageText;
    if (number.back() == '.')
        number += '0';
    double value = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || end != number.data() + number.size())
        return std::nullopt;
    return value;
}

bool JumpToBookPage(int bookVolume, std::string_view pageText, std::string_view selectedRange,
                    store::DataSet& bookMainTable, store::DataSource& bookMainSource,
                    const std::function<void()>& fitListColumns)
{
    std::optional<double> page = PageNumberOfText(pageText);
    if (!page)
        return false;
    const std::vector<store::Value> key{store::Value(*page)};
    if (bookMainSource.dataSet() == &bookMainTable)
        return bookMainTable.Locate("BookPage", key);
    store::ApplyBookJumpRange(bookVolume, selectedRange, bookMainTable);
    if (!bookMainTable.Locate("BookPage", key))
        return false;
    bookMainSource.setDataSet(&bookMainTable);
    if (fitListColumns)
        fitListColumns();
    return bookMainTable.Locate("BookPage", key);
}

}  // namespace search
