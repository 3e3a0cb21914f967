// Fuzz target: filter expressions and local SQL statements never crash the parsers; they
// parse or throw TableError.
#include <cstddef>
#include <cstdint>
#include <string>

#include "store/FilterExpression.h"
#include "store/LocalSql.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string input(reinterpret_cast<const char*>(data), size);
    try {
        auto filter = store::FilterExpression::parse(input);
        filter->matches([](const std::string&) { return store::Value(std::int64_t{42}); });
    } catch (const store::TableError&) {
    }
    try {
        store::translateLocalSql(input);
    } catch (const store::TableError&) {
    }
    return 0;
}
