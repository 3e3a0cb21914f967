// Tokenizer and recursive-descent parser for the local SQL dialect.
#include "store/LocalSql.h"

#include <cctype>

#include "store/ExpressionNesting.h"
#include "store/TableFile.h"
#include "text/Cp932.h"

namespace store {

namespace {

enum class Tok { Word, Number, String, Symbol, End };

struct Token {
    Tok kind;
    std::string text;  // words upper-cased in keyword; original kept in raw
    std::string raw;
};

std::string upper(std::string s)
{
    for (auto& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

class SqlParser {
public:
    explicit SqlParser(const std::string& sql) : m_sql(sql) { tokenize(); }

    TranslatedSql parse()
    {
        TranslatedSql out;
        expectKeyword("SELECT");
        if (isKeyword("DISTINCT")) {
            take();
            out.distinct = true;
        }
        do {
            if (peek().kind != Tok::Word)
                fail("項目名があるべき所に「" + peek().raw + "」");
            out.columns.push_back(utf8(take().raw));
        } while (acceptSymbol(","));
        expectKeyword("FROM");
        if (peek().kind != Tok::Word && peek().kind != Tok::String)
            fail("テーブル名があるべき所に「" + peek().raw + "」");
        out.tableFile = utf8(take().raw);
        if (isKeyword("WHERE")) {
            take();
            out.whereSql = parseOr(out);
        }
        if (isKeyword("ORDER")) {
            take();
            expectKeyword("BY");
            if (peek().kind != Tok::Word)
                fail("ORDER BY の後に項目名がありません");
            out.orderBy = utf8(take().raw);
            if (isKeyword("DESC")) {
                take();
                out.orderDescending = true;
            } else if (isKeyword("ASC")) {
                take();
            }
        }
        if (peek().kind != Tok::End)
            fail("余分な語「" + peek().raw + "」");
        return out;
    }

private:
    [[noreturn]] void fail(const std::string& why) const
    {
        throw TableError("SQL 文が正しくありません: " + why);
    }

    static std::string utf8(const std::string& cp932Text) { return text::toUtf8(cp932Text).text; }

    void tokenize()
    {
        std::size_t i = 0;
        const std::string& s = m_sql;
        while (i < s.size()) {
            unsigned char c = static_cast<unsigned char>(s[i]);
            if (std::isspace(c)) {
                ++i;
            } else if (c == '\'' || c == '"') {
                // A quoted text; the quote character doubled stands for itself. Walk by
                // character so a trail byte never ends it.
                char q = static_cast<char>(c);
                std::string value;
                std::size_t j = i + 1;
                bool closed = false;
                while (j < s.size()) {
                    if (s[j] == q) {
                        if (j + 1 < s.size() && s[j + 1] == q) {
                            value += q;
                            j += 2;
                            continue;
                        }
                        closed = true;
                        ++j;
                        break;
                    }
                    std::size_t n = text::charLength(s, j);
                    value.append(s, j, n);
                    j += n;
                }
                if (!closed)
                    fail("引用符が閉じていません");
                m_tokens.push_back({q == '\'' ? Tok::String : Tok::Word, value, value});
                i = j;
            } else if (std::isdigit(c)) {
                std::size_t j = i;
                while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j])))
                    ++j;
                m_tokens.push_back({Tok::Number, s.substr(i, j - i), s.substr(i, j - i)});
                i = j;
            } else if (c == '<' || c == '>' || c == '=' || c == '!') {
                std::string op(1, static_cast<char>(c));
                if (i + 1 < s.size() && (s[i + 1] == '=' || (c == '<' && s[i + 1] == '>'))) {
                    op += s[i + 1];
                }
                m_tokens.push_back({Tok::Symbol, op, op});
                i += op.size();
            } else if (c == '(' || c == ')' || c == ',' || c == '-') {
                m_tokens.push_back({Tok::Symbol, std::string(1, static_cast<char>(c)), std::string(1, static_cast<char>(c))});
                ++i;
            } else if (std::isalpha(c) || c == '_' || c >= 0x80) {
                // Names may hold Japanese characters and, for table files, a dot.
                std::size_t j = i;
                while (j < s.size()) {
                    unsigned char d = static_cast<unsigned char>(s[j]);
                    if (!(std::isalnum(d) || d == '_' || d == '.' || d >= 0x80))
                        break;
                    j += text::charLength(s, j);
                }
                std::string word = s.substr(i, j - i);
                m_tokens.push_back({Tok::Word, upper(word), word});
                i = j;
            } else {
                fail("使えない文字「" + utf8(s.substr(i, 1)) + "」");
            }
        }
        m_tokens.push_back({Tok::End, "", "(終わり)"});
    }

    const Token& peek() const { return m_tokens[m_pos]; }
    Token take() { return m_tokens[m_pos++]; }
    bool isKeyword(const char* kw) const { return peek().kind == Tok::Word && peek().text == kw; }
    void expectKeyword(const char* kw)
    {
        if (!isKeyword(kw))
            fail(std::string(kw) + " があるべき所に「" + peek().raw + "」");
        take();
    }
    bool acceptSymbol(const char* sym)
    {
        if (peek().kind == Tok::Symbol && peek().text == sym) {
            take();
            return true;
        }
        return false;
    }

    std::string parseOr(TranslatedSql& out)
    {
        std::string left = parseAnd(out);
        while (isKeyword("OR")) {
            take();
            left = left + " OR " + parseAnd(out);
        }
        return left;
    }

    std::string parseAnd(TranslatedSql& out)
    {
        std::string left = parsePrimary(out);
        while (isKeyword("AND")) {
            take();
            left = left + " AND " + parsePrimary(out);
        }
        return left;
    }

    std::string parsePrimary(TranslatedSql& out)
    {
        if (acceptSymbol("(")) {
            const Nesting level(*this);
            std::string inner = parseOr(out);
            if (!acceptSymbol(")"))
                fail("「)」がありません");
            return "(" + inner + ")";
        }
        if (isKeyword("NOT")) {
            take();
            const Nesting level(*this);
            return "NOT " + parsePrimary(out);
        }
        if (peek().kind != Tok::Word)
            fail("項目名があるべき所に「" + peek().raw + "」");
        std::string field = quoteIdentifier(utf8(take().raw));
        if (isKeyword("LIKE")) {
            take();
            if (peek().kind != Tok::String)
                fail("LIKE の後に文字列がありません");
            std::string pattern = take().raw;
            if (pattern.size() < 2 || pattern.front() != '%' || pattern.back() != '%')
                fail("LIKE の文字列は %…% の形で書いてください");
            std::string literal = pattern.substr(1, pattern.size() - 2);
            out.parameters.emplace_back(utf8(literal));
            return std::string(kContainsFunction) + "(" + field + ", ?)";
        }
        if (peek().kind != Tok::Symbol)
            fail("比較演算子があるべき所に「" + peek().raw + "」");
        std::string op = take().text;
        if (op != "=" && op != "<" && op != ">" && op != "<=" && op != ">=" && op != "<>")
            fail("比較演算子「" + op + "」は使えません");
        bool negative = acceptSymbol("-");
        if (peek().kind == Tok::Number) {
            auto n = Value::parseInteger((negative ? "-" : "") + take().text);
            if (!n)
                fail("整数が大きすぎます");
            out.parameters.emplace_back(*n);
        } else if (peek().kind == Tok::String && !negative) {
            out.parameters.emplace_back(utf8(take().raw));
        } else {
            fail("値があるべき所に「" + peek().raw + "」");
        }
        return field + " " + op + " ?";
    }

    // One more parenthesis or NOT around the term being read, for as long as it is read.
    struct Nesting {
        SqlParser& parser;
        explicit Nesting(SqlParser& p) : parser(p)
        {
            if (++parser.m_depth > kMaxExpressionNesting)
                parser.fail(nestingTooDeepReason());
        }
        ~Nesting() { --parser.m_depth; }
    };

    const std::string& m_sql;
    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
    int m_depth = 0;
};

}  // namespace

std::string TranslatedSql::sqliteStatement(const std::string& tableName) const
{
    std::string sql = distinct ? "SELECT DISTINCT " : "SELECT ";
    for (std::size_t i = 0; i < columns.size(); ++i)
        sql += (i ? ", " : "") + quoteIdentifier(columns[i]);
    sql += " FROM " + quoteIdentifier(tableName);
    if (!whereSql.empty())
        sql += " WHERE " + whereSql;
    // The answer is sorted once found ("+" keeps the field's index out of the order): walking
    // the whole table through that index instead reads every row by a seek of its own, which
    // made a text search scan half again as slow. A condition on the field still uses the index.
    if (!orderBy.empty())
        sql += " ORDER BY +" + quoteIdentifier(orderBy) + (orderDescending ? " DESC" : "");
    return sql;
}

TranslatedSql translateLocalSql(const std::string& statement)
{
    SqlParser p(statement);
    return p.parse();
}

}  // namespace store
