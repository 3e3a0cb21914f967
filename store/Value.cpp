// Field value conversions and ordering.
#include "store/Value.h"

#include <cstdio>
#include <cstdlib>

namespace store {

std::optional<std::int64_t> Value::parseInteger(const std::string& s)
{
    std::size_t i = 0, n = s.size();
    while (i < n && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    while (n > i && (s[n - 1] == ' ' || s[n - 1] == '\t'))
        --n;
    if (i == n)
        return std::nullopt;
    bool negative = false;
    if (s[i] == '-' || s[i] == '+') {
        negative = s[i] == '-';
        ++i;
    }
    if (i == n)
        return std::nullopt;
    std::int64_t value = 0;
    for (; i < n; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return std::nullopt;
        if (value > (INT64_MAX - (s[i] - '0')) / 10)
            return std::nullopt;
        value = value * 10 + (s[i] - '0');
    }
    return negative ? -value : value;
}

std::int64_t Value::asInteger() const
{
    if (auto p = std::get_if<std::int64_t>(&m_v))
        return *p;
    if (auto p = std::get_if<double>(&m_v))
        return static_cast<std::int64_t>(*p);
    if (auto p = std::get_if<std::string>(&m_v))
        return parseInteger(*p).value_or(0);
    return 0;
}

double Value::asFloat() const
{
    if (auto p = std::get_if<std::int64_t>(&m_v))
        return static_cast<double>(*p);
    if (auto p = std::get_if<double>(&m_v))
        return *p;
    if (auto p = std::get_if<std::string>(&m_v)) {
        char* end = nullptr;
        double d = std::strtod(p->c_str(), &end);
        return end && end != p->c_str() ? d : 0.0;
    }
    return 0.0;
}

std::string Value::asText() const
{
    if (auto p = std::get_if<std::string>(&m_v))
        return *p;
    if (auto p = std::get_if<std::int64_t>(&m_v))
        return std::to_string(*p);
    if (auto p = std::get_if<double>(&m_v)) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.15g", *p);
        return buf;
    }
    return {};
}

int Value::compare(const Value& a, const Value& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (a.isText() && b.isText()) {
        const auto& x = std::get<std::string>(a.m_v);
        const auto& y = std::get<std::string>(b.m_v);
        int c = x.compare(y);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    if (a.isInteger() && b.isInteger()) {
        auto x = std::get<std::int64_t>(a.m_v), y = std::get<std::int64_t>(b.m_v);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.isText() != b.isText())
        return a.isText() ? 1 : -1;  // numbers before texts
    double x = a.asFloat(), y = b.asFloat();
    return x < y ? -1 : (x > y ? 1 : 0);
}

}  // namespace store
