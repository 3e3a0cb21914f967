// References written in a law's own text and the phrases that start the reference search.
#include <gtest/gtest.h>

#include "tools/importer/References.h"

using importer::findReferences;
using importer::findScopePhrases;
using importer::fromUtf8;
using importer::TextReference;
using importer::toUtf8;

namespace {

struct Found {
    std::string text;
    TextReference::Kind kind;
    int article, branch1, branch2;
    bool otherLaw;
    bool operator==(const Found&) const = default;
};

std::vector<Found> find(const char* utf8, bool afterLink = false)
{
    auto text = fromUtf8(utf8);
    std::vector<Found> out;
    for (const auto& r : findReferences(text, afterLink))
        out.push_back({toUtf8(text.substr(r.begin, r.end - r.begin)), r.kind, r.number.article, r.number.branch1,
                       r.number.branch2, r.otherLaw});
    return out;
}

using K = TextReference::Kind;

TEST(References, findReferencesReadsEveryForm)
{
    EXPECT_EQ(find("第３０条第２項第１号の規定"), (std::vector<Found>{{"第３０条第２項第１号", K::Article, 30, 0, 0, false}}));
    EXPECT_EQ(find("第３０条の２の３第１項"), (std::vector<Found>{{"第３０条の２の３第１項", K::Article, 30, 2, 3, false}}));
    EXPECT_EQ(find("第８４１条ノ２ノ規定"), (std::vector<Found>{{"第８４１条ノ２", K::Article, 841, 2, 0, false}}));
    EXPECT_EQ(find("第３条から第５条まで"),
              (std::vector<Found>{{"第３条", K::Article, 3, 0, 0, false}, {"第５条", K::Article, 5, 0, 0, false}}));
    EXPECT_EQ(find("前条第２項、次条及び同条"),
              (std::vector<Found>{{"前条第２項", K::Previous, 0, 0, 0, false},
                                  {"次条", K::Next, 0, 0, 0, false},
                                  {"同条", K::Same, 0, 0, 0, false}}));
    EXPECT_EQ(find("附則第２条第１号"), (std::vector<Found>{{"附則第２条第１号", K::Supplementary, 2, 0, 0, false}}));
    EXPECT_EQ(find("別表第１に掲げる"), (std::vector<Found>{{"別表第１", K::AppendedTable, 1, 0, 0, false}}));
}

TEST(References, findReferencesMarksCitationsOfOtherLaws)
{
    EXPECT_EQ(find("同法第２条"), (std::vector<Found>{{"第２条", K::Article, 2, 0, 0, true}}));
    EXPECT_EQ(find("令第５条"), (std::vector<Found>{{"第５条", K::Article, 5, 0, 0, true}}));
    EXPECT_EQ(find("規則第５条"), (std::vector<Found>{{"第５条", K::Article, 5, 0, 0, true}}));
    EXPECT_EQ(find("所得税法（昭和４０年法律第３３号）第２条"), (std::vector<Found>{{"第２条", K::Article, 2, 0, 0, true}}));
    EXPECT_EQ(find("見本税法（平成２０年法律第２３号。以下「法」という。）第２条"),
              (std::vector<Found>{{"第２条", K::Article, 2, 0, 0, true}}));
    EXPECT_EQ(find("（第５項に規定する者をいう。）第２条"),
              (std::vector<Found>{{"第５項", K::Paragraph, 0, 0, 0, false}, {"第２条", K::Article, 2, 0, 0, false}}));
    EXPECT_EQ(find("第２条", true), (std::vector<Found>{{"第２条", K::Article, 2, 0, 0, true}}));
    EXPECT_EQ(find("、第２条", true), (std::vector<Found>{{"第２条", K::Article, 2, 0, 0, false}}));
}

TEST(References, paragraphsAndItemsWithoutAnArticleAreFoundForListsGoingOn)
{
    EXPECT_EQ(find("及び第２項第３号"), (std::vector<Found>{{"第２項第３号", K::Paragraph, 0, 0, 0, false}}));
    EXPECT_EQ(find("同項第２号又は同号"),
              (std::vector<Found>{{"同項第２号", K::SameProvision, 0, 0, 0, false}, {"同号", K::SameProvision, 0, 0, 0, false}}));
    EXPECT_TRUE(find("法律第３３号").empty());
    EXPECT_TRUE(find("令第２項").empty());
}

TEST(References, findReferencesIgnoresWhatIsNoArticle)
{
    EXPECT_TRUE(find("第三十条").empty());  // numerals are converted before
    EXPECT_TRUE(find("前項の規定").empty());
    EXPECT_TRUE(find("第３者").empty());
}

TEST(References, scopePhrasesTakeTheLongestMinistryFirst)
{
    auto text = fromUtf8("政令で定める日、財務省令で定める書類、法務省令で定める事項及び省令で定める額");
    auto act = findScopePhrases(text, true);
    ASSERT_EQ(act.size(), 4u);
    std::vector<std::pair<std::string, int>> got;
    for (const auto& p : act)
        got.emplace_back(toUtf8(text.substr(p.begin, p.end - p.begin)), p.zeimoku);
    EXPECT_EQ(got, (std::vector<std::pair<std::string, int>>{
                       {"政令で定める", -1}, {"財務省令で定める", -2}, {"法務省令で定める", -2}, {"省令で定める", -2}}));
    auto order = findScopePhrases(text, false);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0].zeimoku, -2);
}

}  // namespace
