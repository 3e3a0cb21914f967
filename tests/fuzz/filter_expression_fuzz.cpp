// Fuzz target: filter expressions and local SQL statements never crash the parsers, however
// deeply nested; they parse or throw TableError. A parsed filter is evaluated on a row and
// checked as a data set checks it; a translated statement is turned into the engine's SQL.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/FilterExpression.h"
#include "store/LocalSql.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    try {
        auto filter = store::FilterExpression::parse(input);
        std::vector<std::string> fields;
        filter->collectFields(fields);
        filter->matches([&](const std::string& name) {
            return name.size() % 3 == 0 ? store::Value(std::int64_t{42})
                                        : name.size() % 3 == 1 ? store::Value(std::string("17")) : store::Value(2.5);
        });
    } catch (const store::TableError&) {
    }
    try {
        (void)store::translateLocalSql(input).sqliteStatement("t");
    } catch (const store::TableError&) {
    }
    return 0;
}
