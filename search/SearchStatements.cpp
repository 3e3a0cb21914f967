// Statement lines of the keyword, book and reference searches.
#include "search/SearchStatements.h"

#include "search/ReferenceScope.h"
#include "store/IndexCharacters.h"
#include "store/RangePresets.h"
#include "text/Cp932.h"

namespace search {

namespace {

const std::string& fullWidthAsterisk()
{
    static const std::string asterisk = text::cp932("＊");
    return asterisk;
}

bool startsWithAsterisk(std::string_view keyword)
{
    // Offset 0 always starts a character, so a byte comparison there compares whole characters.
    return keyword.substr(0, fullWidthAsterisk().size()) == fullWidthAsterisk();
}

std::string likeLine(const char* conjunction, const char* field, std::string_view keyword)
{
    return std::string(conjunction) + " ( " + field + " LIKE '%" + LikeLiteral(keyword) + "%') ";
}

// The WHERE line and, for a second keyword, the AND line; an empty first keyword leaves the
// second alone on the WHERE line.
void appendLikeLines(const char* field, std::string_view keyword1, std::string_view keyword2,
                     std::vector<std::string>& lines)
{
    if (!keyword1.empty()) {
        lines.push_back(likeLine("WHERE", field, keyword1));
        if (!keyword2.empty())
            lines.push_back(likeLine("AND", field, keyword2));
    } else {
        lines.push_back(likeLine("WHERE", field, keyword2));
    }
}

}  // namespace

std::string NormaliseKeywordText(std::string_view keyword)
{
    return text::replaceAll(text::ToFullWidthDigits(keyword), text::cp932("ー"), text::cp932("－"));
}

std::string LikeLiteral(std::string_view keyword)
{
    return text::replaceAll(keyword, "'", "''");
}

void AppendIndexCharClause(std::string_view searchWord, std::vector<std::string>& SqlClauseList)
{
    const auto& characters = store::IndexCharacters();
    for (int n = 0; n < store::kIndexCharacterCount; ++n) {
        if (text::contains(searchWord, characters[static_cast<std::size_t>(n)])) {
            SqlClauseList.push_back("AND ( KEY" + std::to_string(n) + " = 1 ) ");
            return;
        }
    }
}

KeywordStatement BuildKeywordStatement(int lawVolume, const std::string& subTableFile, std::string_view keyword1,
                                       std::string_view keyword2, std::string_view selectedRange)
{
    KeywordStatement s;
    s.keyword1 = std::string(keyword1);
    s.keyword2 = std::string(keyword2);
    s.lines.push_back("SELECT DISTINCT Gyo,KubunNo ");
    s.lines.push_back("FROM " + subTableFile + " ");
    if (startsWithAsterisk(keyword1) && startsWithAsterisk(keyword2)) {
        // The special search for every "＊" in the texts; the rest of the keywords only colour.
        s.keyword1.erase(0, fullWidthAsterisk().size());
        s.keyword2.erase(0, fullWidthAsterisk().size());
        s.lines.push_back("WHERE ( Honbun LIKE '%" + fullWidthAsterisk() + "%') ");
    } else {
        appendLikeLines("Honbun", s.keyword1, s.keyword2, s.lines);
    }
    store::AppendRangeClause(lawVolume, selectedRange, s.lines);
    if (lawVolume == 0)
        AppendIndexCharClause(s.keyword1 + s.keyword2, s.lines);
    s.lines.push_back("ORDER BY Gyo ");
    return s;
}

std::vector<std::string> BuildBookStatement(int bookVolume, const std::string& bookTableFile,
                                            std::string_view keyword1, std::string_view keyword2,
                                            std::string_view selectedRange)
{
    std::vector<std::string> lines{"SELECT DISTINCT BookSeq,BookNo,BookRenban ", "FROM " + bookTableFile + " "};
    appendLikeLines("Mokuji", keyword1, keyword2, lines);
    store::AppendBookRangeClause(bookVolume, selectedRange, lines);
    lines.push_back("ORDER BY BookSeq ");
    return lines;
}

std::vector<std::string> BuildReferenceStatement(int lawVolume, const std::string& referenceFile,
                                                 std::int64_t mainGyo, int searchScope, int referredCode)
{
    std::vector<std::string> lines{"SELECT DISTINCT Gyo,KubunNo ", "FROM " + referenceFile + " ",
                                   "WHERE ( MainGyo = " + std::to_string(mainGyo) + " ) "};
    if (searchScope != kScopeAll)
        if (std::string clause = ScopeClause(lawVolume, referredCode, searchScope); !clause.empty())
            lines.push_back(clause);
    return lines;
}

}  // namespace search
