// Table filter expressions: field names, integers, =, <, >, >=, parentheses and lower-case
// "and"/"or", parsed into a tree and evaluated per row. Nothing is pasted into SQL.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "store/TableError.h"
#include "store/Value.h"

namespace store {

class FilterExpression {
public:
    // Parses expression text (code page 932). Throws FilterError naming the expression and
    // what was wrong.
    static std::unique_ptr<FilterExpression> parse(std::string_view expression);

    virtual ~FilterExpression() = default;

    // fieldValue returns the value of a named field of the row being tested; the name is
    // given as written in the expression (UTF-8). Throws TableError for an unknown field.
    using FieldReader = std::function<Value(const std::string& fieldName)>;
    virtual bool matches(const FieldReader& fieldValue) const = 0;

    // Every field name the expression reads, so a data set can check them once.
    virtual void collectFields(std::vector<std::string>& names) const = 0;
};

}  // namespace store
