// A field value as the table engine hands it out: nothing, an integer, a floating number or a
// text in code page 932.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace store {

enum class FieldType { Integer, Text, Float, Memo };

struct FieldDef {
    std::string name;  // as written in the table file (UTF-8, e.g. "Gyo", "ＫＥＹ")
    FieldType type = FieldType::Text;
};

class Value {
public:
    Value() = default;
    Value(std::int64_t i) : m_v(i) {}
    Value(int i) : m_v(static_cast<std::int64_t>(i)) {}
    Value(double d) : m_v(d) {}
    Value(std::string s) : m_v(std::move(s)) {}
    Value(const char* s) : m_v(std::string(s)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(m_v); }
    bool isInteger() const { return std::holds_alternative<std::int64_t>(m_v); }
    bool isFloat() const { return std::holds_alternative<double>(m_v); }
    bool isText() const { return std::holds_alternative<std::string>(m_v); }

    // Conversions as a field read makes them: a null reads as 0 or an empty text; a text
    // holding a decimal number reads as that number.
    std::int64_t asInteger() const;
    double asFloat() const;
    std::string asText() const;  // code page 932; numbers in decimal

    // The integer a text spells (optional sign, ASCII digits, surrounding blanks), if any.
    static std::optional<std::int64_t> parseInteger(const std::string& s);

    bool operator==(const Value& other) const { return m_v == other.m_v; }

    // Order used by index fields: nulls first, numbers by value, texts byte for byte.
    static int compare(const Value& a, const Value& b);

private:
    std::variant<std::monostate, std::int64_t, double, std::string> m_v;
};

using Row = std::vector<Value>;

}  // namespace store
