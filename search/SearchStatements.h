// The statements the searches hand to the table engine, built line by line as SqlClauseList
// holds them, and the keyword normalisation they share. Keywords are literal text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace search {

// The text part of NormaliseKeywordEdit: ASCII digits to full width, then every "ー" (the
// prolonged-sound mark) to "－", so katakana words match the way the texts spell them.
std::string NormaliseKeywordText(std::string_view keyword);

// A keyword as it stands between the "%" of LIKE '%…%': every "'" doubled. The engine reads the
// rest, "%" and "_" included, as the characters themselves.
std::string LikeLiteral(std::string_view keyword);

// The one index-flag line of law volume 0: "AND ( KEY" + n + " = 1 ) " for the first index
// character n that occurs in the search word; nothing when none occurs.
void AppendIndexCharClause(std::string_view searchWord, std::vector<std::string>& SqlClauseList);

// A keyword search as built for one law volume.
struct KeywordStatement {
    std::vector<std::string> lines;  // for SqlClauseList, in order
    // The key edits' texts after the "＊" rule: what the edits show and the highlight words.
    std::string keyword1, keyword2;
};

// The statement of KeywordSearch for law volume v over its sub table file (LawFileNames role 2),
// from the key edits' texts (already normalised; at least one not empty) and the text of the
// item selected in the range combo. When both keywords start with "＊", that first character is
// taken off both and the only LIKE test is for "＊" itself.
KeywordStatement BuildKeywordStatement(int lawVolume, const std::string& subTableFile, std::string_view keyword1,
                                       std::string_view keyword2, std::string_view selectedRange);

// The statement of BookSearch for book volume b over its main table file (BookFileNames role 2):
// no "＊" rule, no index-flag line.
std::vector<std::string> BuildBookStatement(int bookVolume, const std::string& bookTableFile,
                                            std::string_view keyword1, std::string_view keyword2,
                                            std::string_view selectedRange);

// The statement of ReferenceSearch over the reference index (LawFileNames role 3): the articles
// that refer to article mainGyo, within searchScope (0 政令, 1 省令, 2 下位, 3 全範囲) of the
// referred article's code. No ORDER BY line.
std::vector<std::string> BuildReferenceStatement(int lawVolume, const std::string& referenceFile,
                                                 std::int64_t mainGyo, int searchScope, int referredCode);

}  // namespace search
