// References to other laws found in the text: a 施行規則 written for the tests (rule.html, no
// page links) cites its act and order in every form, laws outside the volume, quotations; the
// order's page links are replaced by the links found in its text under --ignore-page-links.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "TestVolume.h"
#include "tools/importer/Command.h"

using importertest::cp;
using importertest::u8;

namespace {

using Links = std::vector<std::pair<std::string, std::string>>;

// 見本税法 (110), its 施行令 (120) and 施行規則 (130), imported in memory.
importertest::BuiltVolume buildRuleVolume(bool ignorePageLinks)
{
    importertest::TempDir dir;
    for (const char* name : {"act.html", "order.html", "rule.html"}) {
        std::ofstream out(dir.path() / name, std::ios::binary);
        out << importertest::testPage(name);
    }
    std::ofstream(dir.path() / "manifest.tsv", std::ios::binary)
        << "file\tlaw_title\tpromulgation\tcategory_code\tabbreviation\n"
           "act.html\t見本税法\t平成二十年三月三十一日法律第二十三号\t110\t見法\n"
           "order.html\t見本税法施行令\t平成二十年三月三十一日政令第百五号\t120\t見令\n"
           "rule.html\t見本税法施行規則\t平成二十年三月三十一日財務省令第二十号\t130\t見規\n";
    importertest::BuiltVolume v;
    v.imported = importer::importVolume(importer::readManifest(dir.path() / "manifest.tsv"), {}, {.ignorePageLinks = ignorePageLinks});
    v.delivery = importer::buildDelivery(v.imported.volume, 1);
    return v;
}

const importertest::BuiltVolume& ruleVolume()
{
    static const importertest::BuiltVolume v = buildRuleVolume(false);
    return v;
}

TEST(OtherLawDetector, namesShortNamesListsAndRangesLeadToTheCitedArticles)
{
    const auto& v = ruleVolume();
    // 法 is the act where the rule defines no 法: the usual short name of a 施行規則
    EXPECT_EQ(v.links(130, "２条"), (Links{{"法第３条", "110 ３条"},
                                          {"第５条", "110 ５条"},
                                          {"第７条", "110 ７条"},
                                          {"法第６条第１項", "110 ６条"},
                                          {"第２項", "110 ６条"},
                                          {"法第５条", "110 ５条"},
                                          {"第７条", "110 ７条"}}));
    // 本法 by the rule's own definition; 令 and 同令 the order
    EXPECT_EQ(v.links(130, "３条"), (Links{{"本法第１０条の２の２第１項", "110 １０条の２の２"},
                                          {"令第２条", "120 ２条"},
                                          {"同令第３条", "120 ３条"}}));
}

TEST(OtherLawDetector, anotherLawsSupplementaryProvisionsAndTablesAreLinkedWithExactBytes)
{
    const auto& v = ruleVolume();
    // 表 (0x95 0x5C) inside 法別表第１ and right after 法第８条第１項; the act's title broken over
    // a line of the page source (CR LF) still names it
    EXPECT_EQ(v.links(130, "４条"), (Links{{"法附則第２条", "110 附則２条"},
                                          {"法別表第１", "110 別表第１"},
                                          {"見本税法第１１条", "110 １１条"},
                                          {"同条第１項", "110 １１条"},
                                          {"法第８条第１項", "110 ８条"}}));
}

TEST(OtherLawDetector, lawsOutsideTheVolumeAreCountedNotLinkedAndTurnSameLawAway)
{
    const auto& v = ruleVolume();
    // 同法第３条 goes back to 外国見本法, outside; 同法第２条 at the end to 見本税法, named bare
    EXPECT_EQ(v.links(130, "５条"), (Links{{"同法第２条", "110 ２条"}}));
    const auto& rule = v.imported.laws[2];
    // 外国見本法…第２条, 同法第３条, 所得税法第２条, and ８条's 同法第５条
    EXPECT_EQ(rule.referencesOutside, 4);
}

TEST(OtherLawDetector, quotationsOfAReadingAreLinkedButNotThoseOfAnAmendment)
{
    const auto& v = ruleVolume();
    // 「第３条」 quotes wording of the act, 「法第６条」 names the act inside the replacement
    EXPECT_EQ(v.links(130, "６条"),
              (Links{{"法第５条", "110 ５条"}, {"同条", "110 ５条"}, {"法第６条", "110 ６条"}}));
    EXPECT_TRUE(v.links(130, "附則").empty());
    // 「第３条」, 「法第２条」, 「法第３条」 and ８条's 「同条第２項」
    EXPECT_EQ(v.imported.laws[2].referencesQuoted, 4);
}

TEST(OtherLawDetector, sameParagraphAndSameItemGoBackToTheCitationThatNamedOne)
{
    const auto& v = ruleVolume();
    // 同号 is 法第８条第２項第１号's item although 法第５条第１項 was cited after it; 同項 is
    // 法第５条第１項's paragraph
    EXPECT_EQ(v.links(130, "７条"), (Links{{"法第８条第２項第１号", "110 ８条"},
                                          {"法第５条第１項", "110 ５条"},
                                          {"同号", "110 ８条"},
                                          {"同項", "110 ５条"}}));
}

TEST(OtherLawDetector, listsNarrowingParenthesesOwnProvisionsAndQuotationsKeepEachCitationsLaw)
{
    const auto& v = ruleVolume();
    // the parenthesis narrows 法第２条第１項 and the list goes on after it; 前項第１号 is the rule's
    // own, so 第２号 after it is too; ただし書 ends 法第６条's citation and 第８条 goes on with the act.
    // 同法第５条 is the law named without a number before it (outside the volume); quoted wording
    // has its own 同条 and 同項, and neither it nor the order it names changes what 同項 is after it.
    EXPECT_EQ(v.links(130, "８条"), (Links{{"法第２条第１項", "110 ２条"},
                                          {"第２項", "110 ２条"},
                                          {"第３項", "110 ２条"},
                                          {"法第６条", "110 ６条"},
                                          {"第８条", "110 ８条"},
                                          {"法第１１条", "110 １１条"},
                                          {"同条", "110 １１条"},
                                          {"見本税法施行令第２条第１項", "120 ２条"},
                                          {"同令第１条", "120 １条"}}));
}

TEST(OtherLawDetector, theReferenceIndexTakesTheActsTablesAndSupplementaryProvisions)
{
    const auto& v = ruleVolume();
    const int citing = v.article(130, "４条").gyo;
    std::vector<std::string> cited;
    for (const auto& r : v.delivery.content.references)
        if (r.gyo == citing) {
            EXPECT_EQ(r.kubunNo, 130);
            for (const auto& a : v.delivery.content.articles)
                if (a.gyo == r.mainGyo)
                    cited.push_back(std::to_string(a.kubunNo) + " " + u8(a.bangou));
        }
    std::vector<std::string> expected{"110 １１条", "110 ８条", "110 別表第１", "110 附則２条"};
    std::sort(cited.begin(), cited.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(cited, expected);
}

TEST(OtherLawDetector, withoutThePageLinksTheOrdersTextFindsTheSameTargets)
{
    static const importertest::BuiltVolume detected = buildRuleVolume(true);
    // the page links 法第９９条 (no such article), 法第２章, 法附則 and 法別表第１ too; the text
    // finds the articles the page links lead to, and the act's 別表 the page leaves unlinked
    EXPECT_EQ(detected.links(120, "１条"), (Links{{"第２条第１項第１号", "110 ２条"}}));
    EXPECT_EQ(detected.links(120, "２条"), (Links{{"法第８条第１項", "110 ８条"},
                                                 {"法第５条第１項", "110 ５条"},
                                                 {"第６条", "110 ６条"},
                                                 {"同条第２項", "110 ６条"},
                                                 {"財務省令で定める", "-2"},
                                                 {"法別表第１", "110 別表第１"}}));
    EXPECT_EQ(detected.imported.laws[1].pageLinksMade, 0);
}

TEST(OtherLawDetector, theCommandLineTakesIgnorePageLinks)
{
    importertest::TempDir dir;
    importertest::fs::path manifest = importertest::writeTestVolume(dir.path() / "pages");
    std::ostringstream out, err;
    int rc = importer::runCommand({"build", "--ignore-page-links", manifest.string(), (dir.path() / "root").string(), "E",
                                   (dir.path() / "out").string()},
                                  out, err);
    ASSERT_EQ(rc, 0) << err.str();
    EXPECT_NE(out.str().find("見本税法施行令 (120): 条文 3 (削除 0), 附則 1 行 (1 件), 別表等 0; ページのリンク 0 件中 0 件"),
              std::string::npos)
        << out.str();
}

}  // namespace
