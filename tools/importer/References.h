// References inside one law are plain text in the pages: 第３０条, 第３０条第２項第１号,
// 第３０条の２, 前条, 次条, 同条, 附則第３条, 別表第１, and each end of a range (第３条から第５条
// まで). This finds them in text whose numerals are already full-width digits, and the phrases
// that start the reference search (政令で定める, 財務省令で定める …).
#pragma once

#include <vector>

#include "tools/importer/LawPage.h"

namespace importer {

struct TextReference {
    // SameProvision: 同項, 同号, the provision cited just before; Paragraph: 第３項, 第２号
    // without an article, which goes on from the article cited before (法第３０条第１項及び
    // 第３項). Both are linked only after another law's article.
    enum class Kind { Article, Previous, Next, Same, Supplementary, AppendedTable, SameProvision, Paragraph };
    Kind kind = Kind::Article;
    std::size_t begin = 0;  // character range in the text
    std::size_t end = 0;
    ArticleNumber number;   // Article, Supplementary; the table number in article for AppendedTable
    // The citation names another law (同法第３条, 令第５条, 所得税法（…号）第２条): not ours.
    bool otherLaw = false;
};

// afterLink: the text follows a link directly, so a number at its start continues that link's
// citation of another law.
std::vector<TextReference> findReferences(U32View text, bool afterLink);

// Whether what lies between two citations lets the second go on with the first one's law: list
// words, the sub-item letters and parts that end a citation (第１号ニ及び第２号, 第９３条ただし書及び
// 第９４条) and parentheses.
bool isListContinuation(U32View gap);

struct ScopePhrase {
    std::size_t begin = 0;
    std::size_t end = 0;
    int zeimoku = -1;  // -1 cabinet order (政令), -2 ministerial ordinance (省令)
};

// The phrases of the reference search. 政令で定める only where orderPhrases is set (an act's
// text); the ministerial ones always.
std::vector<ScopePhrase> findScopePhrases(U32View text, bool orderPhrases);

}  // namespace importer
