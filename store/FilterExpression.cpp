// A recursive-descent parser for filter expressions and the tree it builds.
#include "store/FilterExpression.h"

#include <cctype>
#include <vector>

#include "text/Cp932.h"

namespace store {

namespace {

enum class Tok { Name, Number, Op, LParen, RParen, And, Or, End };

struct Token {
    Tok kind;
    std::string text;
};

class Comparison : public FilterExpression {
public:
    Comparison(std::string field, std::string op, std::int64_t number)
        : m_field(std::move(field)), m_op(std::move(op)), m_number(number) {}
    bool matches(const FieldReader& read) const override
    {
        Value v = read(m_field);
        int c;
        auto order = [](auto a, auto b) { return a < b ? -1 : (a > b ? 1 : 0); };
        if (v.isInteger())
            c = order(v.asInteger(), m_number);
        else if (v.isFloat())
            c = order(v.asFloat(), static_cast<double>(m_number));
        else if (auto n = v.isText() ? Value::parseInteger(v.asText()) : std::nullopt)
            c = order(*n, m_number);
        else
            return false;
        if (m_op == "=") return c == 0;
        if (m_op == "<") return c < 0;
        if (m_op == ">") return c > 0;
        return c >= 0;  // ">="
    }
    void collectFields(std::vector<std::string>& names) const override { names.push_back(m_field); }

private:
    std::string m_field, m_op;
    std::int64_t m_number;
};

class Junction : public FilterExpression {
public:
    Junction(bool isAnd, std::unique_ptr<FilterExpression> l, std::unique_ptr<FilterExpression> r)
        : m_and(isAnd), m_left(std::move(l)), m_right(std::move(r)) {}
    bool matches(const FieldReader& read) const override
    {
        return m_and ? (m_left->matches(read) && m_right->matches(read))
                     : (m_left->matches(read) || m_right->matches(read));
    }
    void collectFields(std::vector<std::string>& names) const override
    {
        m_left->collectFields(names);
        m_right->collectFields(names);
    }

private:
    bool m_and;
    std::unique_ptr<FilterExpression> m_left, m_right;
};

class Parser {
public:
    explicit Parser(std::string_view expr) : m_expr(expr) { tokenize(); }

    std::unique_ptr<FilterExpression> parseWhole()
    {
        auto e = parseOr();
        if (peek().kind != Tok::End)
            fail("余分な語「" + peek().text + "」");
        return e;
    }

private:
    [[noreturn]] void fail(const std::string& why) const
    {
        throw FilterError("フィルタ式「" + text::toUtf8(m_expr).text + "」が正しくありません: " + why);
    }

    void tokenize()
    {
        std::size_t i = 0;
        while (i < m_expr.size()) {
            unsigned char c = static_cast<unsigned char>(m_expr[i]);
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++i;
            } else if (c == '(') {
                m_tokens.push_back({Tok::LParen, "("});
                ++i;
            } else if (c == ')') {
                m_tokens.push_back({Tok::RParen, ")"});
                ++i;
            } else if (c == '=' || c == '<' || c == '>') {
                if (c == '>' && i + 1 < m_expr.size() && m_expr[i + 1] == '=') {
                    m_tokens.push_back({Tok::Op, ">="});
                    i += 2;
                } else {
                    if (i + 1 < m_expr.size() && (m_expr[i + 1] == '=' || m_expr[i + 1] == '>'))
                        fail("演算子「" + std::string(m_expr.substr(i, 2)) + "」は使えません");
                    m_tokens.push_back({Tok::Op, std::string(1, static_cast<char>(c))});
                    ++i;
                }
            } else if (std::isdigit(c) || (c == '-' && i + 1 < m_expr.size() && std::isdigit(static_cast<unsigned char>(m_expr[i + 1])))) {
                std::size_t j = i + 1;
                while (j < m_expr.size() && std::isdigit(static_cast<unsigned char>(m_expr[j])))
                    ++j;
                m_tokens.push_back({Tok::Number, std::string(m_expr.substr(i, j - i))});
                i = j;
            } else if (std::isalpha(c) || c == '_' || c >= 0x80) {
                std::size_t j = i;
                while (j < m_expr.size()) {
                    unsigned char d = static_cast<unsigned char>(m_expr[j]);
                    if (!(std::isalnum(d) || d == '_' || d >= 0x80))
                        break;
                    j += text::charLength(m_expr, j);
                }
                std::string word(m_expr.substr(i, j - i));
                if (word == "and")
                    m_tokens.push_back({Tok::And, word});
                else if (word == "or")
                    m_tokens.push_back({Tok::Or, word});
                else
                    m_tokens.push_back({Tok::Name, text::toUtf8(word).text});
                i = j;
            } else {
                fail("使えない文字「" + text::toUtf8(m_expr.substr(i, text::charLength(m_expr, i))).text + "」");
            }
        }
        m_tokens.push_back({Tok::End, "(終わり)"});
    }

    const Token& peek() const { return m_tokens[m_pos]; }
    Token take() { return m_tokens[m_pos++]; }

    std::unique_ptr<FilterExpression> parseOr()
    {
        auto left = parseAnd();
        while (peek().kind == Tok::Or) {
            take();
            left = std::make_unique<Junction>(false, std::move(left), parseAnd());
        }
        return left;
    }

    std::unique_ptr<FilterExpression> parseAnd()
    {
        auto left = parsePrimary();
        while (peek().kind == Tok::And) {
            take();
            left = std::make_unique<Junction>(true, std::move(left), parsePrimary());
        }
        return left;
    }

    std::unique_ptr<FilterExpression> parsePrimary()
    {
        if (peek().kind == Tok::LParen) {
            take();
            auto inner = parseOr();
            if (peek().kind != Tok::RParen)
                fail("「)」がありません");
            take();
            return inner;
        }
        if (peek().kind != Tok::Name)
            fail("項目名があるべき所に「" + peek().text + "」");
        Token field = take();
        if (peek().kind != Tok::Op)
            fail("比較演算子があるべき所に「" + peek().text + "」");
        Token op = take();
        if (peek().kind != Tok::Number)
            fail("整数があるべき所に「" + peek().text + "」");
        Token number = take();
        auto n = Value::parseInteger(number.text);
        if (!n)
            fail("整数「" + number.text + "」が大きすぎます");
        return std::make_unique<Comparison>(field.text, op.text, *n);
    }

    std::string_view m_expr;
    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
};

}  // namespace

std::unique_ptr<FilterExpression> FilterExpression::parse(std::string_view expression)
{
    Parser p(expression);
    return p.parseWhole();
}

}  // namespace store
