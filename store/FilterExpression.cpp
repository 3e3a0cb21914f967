// A recursive-descent parser for filter expressions and the tree it builds.
#include "store/FilterExpression.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "store/ExpressionNesting.h"
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

// Terms joined by one operator, kept side by side: a long chain of "and" makes one wide node,
// not a tree as deep as the chain, so evaluating and freeing it never recurses per term.
class Junction : public FilterExpression {
public:
    Junction(bool isAnd, std::vector<std::unique_ptr<FilterExpression>> terms) : m_and(isAnd), m_terms(std::move(terms)) {}
    bool matches(const FieldReader& read) const override
    {
        for (const auto& term : m_terms)
            if (term->matches(read) != m_and)
                return !m_and;
        return m_and;
    }
    void collectFields(std::vector<std::string>& names) const override
    {
        for (const auto& term : m_terms)
            term->collectFields(names);
    }

private:
    bool m_and;
    std::vector<std::unique_ptr<FilterExpression>> m_terms;
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
        throw FilterError("フィルタ式「" + shown() + "」が正しくありません: " + why);
    }

    // The expression as the message quotes it: a long one by its first characters only.
    std::string shown() const
    {
        constexpr std::size_t kShownBytes = 80;
        std::size_t end = 0;
        while (end < m_expr.size() && end < kShownBytes)
            end += text::charLength(m_expr, end);
        end = std::min(end, m_expr.size());
        return text::toUtf8(m_expr.substr(0, end)).text + (end < m_expr.size() ? "…" : "");
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
        return parseJunction(Tok::Or, [this] { return parseAnd(); });
    }

    std::unique_ptr<FilterExpression> parseAnd()
    {
        return parseJunction(Tok::And, [this] { return parsePrimary(); });
    }

    template <typename ParseTerm>
    std::unique_ptr<FilterExpression> parseJunction(Tok joiner, ParseTerm parseTerm)
    {
        std::vector<std::unique_ptr<FilterExpression>> terms;
        terms.push_back(parseTerm());
        while (peek().kind == joiner) {
            take();
            terms.push_back(parseTerm());
        }
        if (terms.size() == 1)
            return std::move(terms.front());
        return std::make_unique<Junction>(joiner == Tok::And, std::move(terms));
    }

    std::unique_ptr<FilterExpression> parsePrimary()
    {
        if (peek().kind == Tok::LParen) {
            take();
            if (++m_depth > kMaxExpressionNesting)
                fail(nestingTooDeepReason());
            auto inner = parseOr();
            if (peek().kind != Tok::RParen)
                fail("「)」がありません");
            take();
            --m_depth;
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
    int m_depth = 0;  // parentheses open around the term being read
};

}  // namespace

std::unique_ptr<FilterExpression> FilterExpression::parse(std::string_view expression)
{
    Parser p(expression);
    return p.parseWhole();
}

}  // namespace store
