// The reference-name resolver: the category code and article number proposed for a phrase,
// rule by rule, and the resolve command that shows the same proposal on a terminal.
#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

#include "authoring/ReferenceResolver.h"
#include "text/Cp932.h"

using authoring::ExtractArticleNumber;
using authoring::ResolveCategoryCode;
using text::cp932;

namespace {

struct CodeCase {
    const char* phrase;  // UTF-8 here, code page 932 for the resolver
    int volume;
    int currentCode;
    const char* expected;
};

void expectCodes(const std::vector<CodeCase>& cases, const char* lastLinkCode = "10")
{
    for (const CodeCase& c : cases) {
        EXPECT_EQ(ResolveCategoryCode(cp932(c.phrase), c.volume, c.currentCode, lastLinkCode), c.expected)
            << c.phrase << " volume " << c.volume << " current " << c.currentCode;
    }
}

TEST(ResolveCategoryCode, lawNamesGiveTheirCodeWhateverTheVolume)
{
    expectCodes({
        {"法人税法施行令第７２条", 0, 10, "20"},
        {"法人税法施行令第７２条", 4, 310, "20"},
        {"法人税法第２２条", 1, 120, "10"},
        {"法人税法施行規則第３条", 3, 210, "30"},
        {"法人税基本通達２－１－３", 5, 160, "40"},
        {"復興特別所得税に関する省令第２条", 3, 210, "883"},
        {"復興特別法人税に関する省令第２条", 0, 10, "880"},
        {"復興特別所得税に関する政令第３条", 3, 210, "873"},
        {"復興特別法人税に関する政令第３条", 0, 10, "870"},
        {"東日本大震災から復興のための施策を実施するために必要な財源を確保する特別措置法第９条", 0, 10, "860"},
        {"東日本大震災の被災者等に係る国税関係法律の臨時特例に関する法律施行規則第１条", 0, 10, "830"},
        {"東日本大震災の被災者等に係る国税関係法律の臨時特例に関する法律施行令第１条", 0, 10, "820"},
        {"東日本大震災の被災者等に係る国税関係法律の臨時特例に関する法律第１条", 0, 10, "810"},
        {"震災特例法規則第１条", 0, 10, "830"},
        {"震災特例法施行令第１条", 0, 10, "820"},
        {"震災特例法第１条", 0, 10, "810"},
        {"株式会社の監査等に関する商法の特例に関する法律施行令第１条", 2, 410, "960"},
        {"商法特例法第２条", 2, 410, "950"},
        {"会社法施行規則第２条", 2, 410, "460"},
        {"会社法の施行に伴う関係法律の整備等に関する法律の施行に伴う経過措置を定める政令第１条", 2, 410, "450"},
        {"会社法整備法第６４条", 2, 410, "430"},
        {"会社計算規則第５条", 2, 410, "480"},
        {"電子公告規則第１条", 2, 410, "490"},
        {"民法第９０条", 2, 410, "510"},
        {"所得税基本通達３６－１", 3, 210, "240"},
        {"相続税法施行令第１条", 4, 310, "320"},
        {"相続税法施行規則第１条", 4, 310, "330"},
        {"相続税法基本通達１－３", 4, 310, "340"},
        {"評基通１１", 4, 310, "350"},
        {"相続税法第３条", 0, 10, "310"},
        {"減価償却資産の耐用年数等に関する省令別表第一", 0, 10, "70"},
        {"耐用年数の適用等に関する取扱通達１－１－１", 0, 10, "80"},
        {"連結納税基本通達１－１－１", 0, 10, "50"},
        {"負担軽減措置法第６条", 0, 10, "810"},
        {"負担軽減措置令第２条", 0, 10, "820"},
        {"負担軽減措置規則第１条", 0, 10, "830"},
        {"措規第２２条", 0, 10, "730"},
        {"措置法第４１条", 3, 210, "710"},
        {"措法第４１条", 3, 210, "710"},
        {"消費税法施行令第４５条", 1, 110, "120"},
        {"消費税法施行規則第１５条", 1, 110, "130"},
        {"消費税法第３０条", 0, 10, "110"},
        {"消基通１１－１－１", 0, 10, "140"},
        {"所基通３６－１", 0, 10, "240"},
        {"相基通１－３", 0, 10, "340"},
        {"付表１", 4, 310, "350"},
        {"通則法基通第１条", 5, 160, "190"},
        {"徴収法基通第２条", 5, 160, "290"},
        {"印紙法基通第３条", 5, 160, "390"},
        {"法基通９－２－３", 1, 110, "40"},
        {"法法規則第３条", 0, 10, "30"},
        {"所法令第１条", 0, 10, "220"},
        {"所法規則第１条", 0, 10, "230"},
        {"所法第２条", 0, 10, "210"},
        {"租特法令第１条", 0, 10, "720"},
        {"租特法規則第１条", 0, 10, "730"},
        {"租法第４２条", 0, 10, "710"},
        {"租令第２条", 0, 10, "720"},
        {"租規第２条", 0, 10, "730"},
        {"国税通則法施行令第１条", 5, 160, "170"},
        {"国税通則法施行規則第１条", 5, 160, "180"},
        {"国税通則法基本通達第１条", 5, 160, "190"},
        {"国税通則法第６５条", 0, 10, "160"},
        {"国税徴収法施行令第１条", 5, 160, "270"},
        {"国税徴収法施行規則第１条", 5, 160, "280"},
        {"国税徴収法基本通達第１条", 5, 160, "290"},
        {"国税徴収法第２条", 5, 160, "260"},
        {"印紙税法施行令第１条", 5, 160, "370"},
        {"印紙税法施行規則第１条", 5, 160, "380"},
        {"印紙税法基本通達第１条", 5, 160, "390"},
        {"印紙税法第２条", 5, 160, "360"},
        {"地方税法施行令第１条", 1, 110, "620"},
        {"地方税法施行規則第１条", 1, 110, "630"},
        {"地方税法第７２条", 1, 110, "610"},
        {"通則法第１条", 5, 260, "160"},
        {"徴収法第１条", 5, 160, "260"},
        {"通則令第１条", 5, 160, "170"},
        {"徴収令第１条", 5, 160, "270"},
        {"通則規則第１条", 5, 160, "180"},
        {"徴収規則第１条", 5, 160, "280"},
        {"課税物件表", 5, 160, "360"},
        {"通則１", 5, 160, "360"},
        {"通則６", 0, 10, "360"},
    });
}

// Every text of every law-name rule, alone and followed by an article number, in every volume
// and whatever the current code: the rule's code (the commercial code's two rules by whether the
// current code lies in 900 to 999; the 同 rule the last link's code). The relative references of
// the later stages never come into it, not even for the disaster texts' codes 820 and 830.
TEST(ResolveCategoryCode, everyLawNameRuleGivesItsCodeInEveryVolume)
{
    struct Rule {
        int number;
        const char* text;
        const char* code;                // nullptr: the last link's code
        const char* codeInOldCodeTexts;  // while the current code is 900 to 999
    };
    const std::vector<Rule> rules{
        {1, "同法", nullptr, nullptr},
        {1, "同令", nullptr, nullptr},
        {1, "同規則", nullptr, nullptr},
        {1, "同通達", nullptr, nullptr},
        {2, "復興特別所得税に関する省令", "883", "883"},
        {3, "復興特別法人税に関する省令", "880", "880"},
        {4, "復興特別所得税に関する政令", "873", "873"},
        {5, "復興特別法人税に関する政令", "870", "870"},
        {6, "東日本大震災から復興のための施策を実施するために必要な財源を確保する特別措置法", "860", "860"},
        {7, "東日本大震災の被災者等に係る国税関係法律の臨時特例に関する法律施行規則", "830", "830"},
        {8, "東日本大震災の被災者等に係る国税関係法律の臨時特例に関する法律施行令", "820", "820"},
        {9, "東日本大震災の被災者等に係る国税関係法律の臨時特例に関する法律", "810", "810"},
        {10, "震災特例法施行規則", "830", "830"},
        {10, "震災特例法規則", "830", "830"},
        {11, "震災特例法施行令", "820", "820"},
        {11, "震災特例法令", "820", "820"},
        {12, "震災特例法", "810", "810"},
        {13, "株式会社の監査等に関する商法の特例に関する法律施行令", "960", "960"},
        {14, "株式会社の監査等に関する商法の特例に関する法律", "950", "950"},
        {14, "商法特例法", "950", "950"},
        {15, "有限会社法", "920", "920"},
        {16, "会社法施行令", "440", "440"},
        {17, "会社法の施行に伴う関係法律の整備等に関する法律の施行に伴う経過措置を定める政令", "450", "450"},
        {18, "会社法施行規則", "460", "460"},
        {19, "旧商法施行規則", "940", "940"},
        {20, "会社計算規則", "480", "480"},
        {21, "電子公告規則", "490", "490"},
        {22, "会社法の施行に伴う関係法律の整備等に関する法律", "430", "430"},
        {22, "会社法整備法", "430", "430"},
        {23, "会社法", "410", "410"},
        {24, "旧商法", "910", "910"},
        {25, "商法施行規則", "470", "940"},
        {26, "商法", "420", "910"},
        {27, "民法", "510", "510"},
        {28, "所得税法施行令", "220", "220"},
        {29, "所得税法施行規則", "230", "230"},
        {30, "所得税基本通達", "240", "240"},
        {31, "所得税法", "210", "210"},
        {32, "相続税法施行令", "320", "320"},
        {33, "相続税法施行規則", "330", "330"},
        {34, "相続税法基本通達", "340", "340"},
        {35, "財産評価基本通達", "350", "350"},
        {35, "評基通", "350", "350"},
        {36, "相続税法", "310", "310"},
        {37, "耐用年数省令", "70", "70"},
        {37, "減価償却資産の耐用年数等に関する省令", "70", "70"},
        {38, "耐用年数通達", "80", "80"},
        {38, "耐用年数の適用等に関する取扱通達", "80", "80"},
        {39, "法人税法施行令", "20", "20"},
        {40, "法人税法施行規則", "30", "30"},
        {41, "法人税基本通達", "40", "40"},
        {42, "法人税法", "10", "10"},
        {43, "負担軽減措置法", "810", "810"},
        {44, "負担軽減措置令", "820", "820"},
        {45, "負担軽減措置規則", "830", "830"},
        {46, "措置法施行令", "720", "720"},
        {46, "措令", "720", "720"},
        {46, "措置法令", "720", "720"},
        {47, "措置法施行規則", "730", "730"},
        {47, "措規", "730", "730"},
        {47, "措置法規則", "730", "730"},
        {48, "租税特別措置法通達", "740", "740"},
        {48, "措置法通達", "740", "740"},
        {49, "租税特別措置法", "710", "710"},
        {50, "特別措置法", "860", "860"},
        {51, "措置法", "710", "710"},
        {51, "措法", "710", "710"},
        {52, "消費税法施行令", "120", "120"},
        {53, "消費税法施行規則", "130", "130"},
        {54, "消費税法基本通達", "140", "140"},
        {55, "消費税法", "110", "110"},
        {56, "消基通", "140", "140"},
        {57, "所基通", "240", "240"},
        {58, "相基通", "340", "340"},
        {59, "付表", "350", "350"},
        {60, "通則法基通", "190", "190"},
        {61, "徴収法基通", "290", "290"},
        {62, "印紙法基通", "390", "390"},
        {63, "法基通", "40", "40"},
        {64, "法法令", "20", "20"},
        {65, "法法規則", "30", "30"},
        {66, "法法", "10", "10"},
        {67, "所法令", "220", "220"},
        {68, "所法規則", "230", "230"},
        {69, "所法", "210", "210"},
        {70, "租特法令", "720", "720"},
        {71, "租特法規則", "730", "730"},
        {72, "租特法", "710", "710"},
        {72, "租法", "710", "710"},
        {73, "租令", "720", "720"},
        {74, "租規", "730", "730"},
        {75, "連結基本通達", "50", "50"},
        {75, "連結納税基本通達", "50", "50"},
        {76, "国税通則法施行令", "170", "170"},
        {77, "国税通則法施行規則", "180", "180"},
        {78, "国税通則法基本通達", "190", "190"},
        {79, "国税通則法", "160", "160"},
        {80, "国税徴収法施行令", "270", "270"},
        {81, "国税徴収法施行規則", "280", "280"},
        {82, "国税徴収法基本通達", "290", "290"},
        {83, "国税徴収法", "260", "260"},
        {84, "印紙税法施行令", "370", "370"},
        {85, "印紙税法施行規則", "380", "380"},
        {86, "印紙税法基本通達", "390", "390"},
        {87, "印紙税法", "360", "360"},
        {88, "地方税法施行令", "620", "620"},
        {89, "地方税法施行規則", "630", "630"},
        {90, "地方税法", "610", "610"},
        {91, "通則法", "160", "160"},
        {92, "徴収法", "260", "260"},
        {93, "通則令", "170", "170"},
        {94, "徴収令", "270", "270"},
        {95, "通則規則", "180", "180"},
        {96, "徴収規則", "280", "280"},
        {97, "課税物件表", "360", "360"},
        {97, "通則１", "360", "360"},
        {97, "通則２", "360", "360"},
        {97, "通則３", "360", "360"},
        {97, "通則４", "360", "360"},
        {97, "通則５", "360", "360"},
        {97, "通則６", "360", "360"},
    };
    for (const Rule& r : rules) {
        for (int volume : {0, 1, 2, 3, 4, 5, 7}) {
            for (int current : {10, 120, 830, 899, 900, 950, 999, 1000}) {
                const bool oldCode = current >= 900 && current <= 999;
                const char* expected = r.code ? (oldCode ? r.codeInOldCodeTexts : r.code) : "730";
                for (const std::string& phrase : {std::string(r.text), std::string(r.text) + "第１条"})
                    EXPECT_EQ(ResolveCategoryCode(cp932(phrase), volume, current, "730"), expected)
                        << "rule " << r.number << " " << phrase << " volume " << volume << " current " << current;
            }
        }
    }
}

TEST(ResolveCategoryCode, longerNameWinsOverTheNameItContains)
{
    expectCodes({
        {"所得税法施行令第３条", 3, 210, "220"},
        {"所得税法施行規則第３条", 3, 210, "230"},
        {"所得税法第３条", 3, 220, "210"},
        {"租税特別措置法施行令第３９条の１３", 0, 10, "720"},
        {"租税特別措置法第４２条の４", 0, 10, "710"},
        {"租税特別措置法通達６１の４（１）－１", 0, 10, "740"},
        {"措置法施行規則第２２条", 0, 10, "730"},
        {"措置法令第２５条", 0, 10, "720"},
        {"有限会社法第１条", 2, 410, "920"},
        {"会社法施行令第１条", 2, 410, "440"},
        {"会社法第２条", 2, 420, "410"},
        {"旧商法施行規則第１条", 2, 410, "940"},
        {"旧商法第２条", 2, 410, "910"},
        {"株式会社の監査等に関する商法の特例に関する法律第２条", 2, 410, "950"},
        {"法法令第２条", 0, 10, "20"},
        {"法法第２条", 0, 20, "10"},
        {"財産評価基本通達１１", 0, 10, "350"},
        {"耐用年数省令第１条", 0, 10, "70"},
        {"耐用年数通達１－１－１", 0, 10, "80"},
        {"連結基本通達１－１－１", 0, 10, "50"},
        // 特別措置法 alone is the reconstruction act, 措置法 alone the special measures act.
        {"特別措置法第９条", 0, 10, "860"},
        {"措置法通達３７の１０－１", 3, 210, "740"},
        {"消費税法基本通達５－１－１", 1, 110, "140"},
    });
}

TEST(ResolveCategoryCode, commercialCodeMeansTheOldCodeInsideTheOldCodesTexts)
{
    expectCodes({
        {"商法施行規則第３条", 2, 900, "940"},
        {"商法施行規則第３条", 2, 950, "940"},
        {"商法施行規則第３条", 2, 999, "940"},
        {"商法施行規則第３条", 2, 899, "470"},
        {"商法施行規則第３条", 2, 1000, "470"},
        {"商法施行規則第３条", 2, 410, "470"},
        {"商法第５２条", 2, 910, "910"},
        {"商法第５２条", 2, 920, "910"},
        {"商法第５２条", 2, 410, "420"},
        {"商法第５２条", 0, 10, "420"},
    });
}

TEST(ResolveCategoryCode, sameLawPhrasesGiveTheLastLinkCodeBeforeAnyName)
{
    expectCodes(
        {
            {"同法第５条", 0, 10, "720"},
            {"同令第３条", 3, 210, "720"},
            {"同規則第１条", 1, 110, "720"},
            {"同通達２－１", 4, 310, "720"},
            // A law named elsewhere in the phrase does not matter: 同 comes first.
            {"法人税法施行令及び同令第３条", 0, 10, "720"},
            {"所得税法（同法第２条）", 3, 210, "720"},
        },
        "720");
}

TEST(ResolveCategoryCode, lastLinkCodeStartsAtTheFirstCodeAndFollowsTheGivenOne)
{
    ASSERT_EQ(std::string(authoring::kFirstLinkCode), "10");
    EXPECT_EQ(ResolveCategoryCode(cp932("同法第５条"), 3, 210, authoring::kFirstLinkCode), "10");
    EXPECT_EQ(ResolveCategoryCode(cp932("同法第５条"), 3, 210, "840"), "840");
}

TEST(ResolveCategoryCode, disasterTextsReferToTheirOwnActAndOrderInEveryVolume)
{
    expectCodes({
        {"法第３条", 0, 820, "810"},
        {"法第３条", 0, 830, "810"},
        {"法第３条", 3, 820, "810"},
        {"法第３条", 5, 830, "810"},
        {"法第３条", 9, 820, "810"},
        {"令第３条", 0, 830, "820"},
        {"令第３条", 1, 830, "820"},
        // Only the rules (830) refer to the disaster order; in the order itself 令第 falls to
        // the volume's own rules.
        {"令第３条", 0, 820, "720"},
        {"令第３条", 4, 820, "720"},
        {"法第３条", 0, 810, "710"},
        {"規則第３条", 0, 830, "730"},
    });
}

TEST(ResolveCategoryCode, corporationTaxVolumeRelativeReferences)
{
    expectCodes({
        {"基本通達９－２－３", 0, 750, "40"},
        {"基本通達９－２－３", 0, 50, "50"},
        {"２－１－３", 0, 40, "40"},
        {"２－１－３", 0, 50, "50"},
        {"２－１－３", 0, 80, "80"},
        {"２－１－３", 0, 740, "740"},
        {"２－１－３", 0, 750, "750"},
        {"２－１－３", 0, 840, "840"},
        {"２－１－３", 0, 20, "40"},
        {"２－１－３", 0, 710, "40"},
        {"法第２条", 0, 860, "860"},
        {"法第２条", 0, 870, "860"},
        {"法第２条", 0, 20, "10"},
        {"法第２条", 0, 699, "10"},
        {"法第２条", 0, 740, "10"},
        {"法第２条", 0, 750, "10"},
        {"法第２条", 0, 700, "710"},
        {"法第２条", 0, 720, "710"},
        {"法第２条", 0, 880, "710"},
        {"法附則第２条", 0, 20, "10"},
        {"法附則第２条", 0, 730, "710"},
        {"省令第１条", 0, 10, "70"},
        {"令第２２条", 0, 10, "20"},
        {"令第２２条", 0, 740, "20"},
        {"令第２２条", 0, 710, "720"},
        {"令附則第３条", 0, 10, "20"},
        {"令附則第３条", 0, 730, "720"},
        {"規則第３条", 0, 20, "30"},
        {"規則第３条", 0, 720, "730"},
        {"前条", 0, 20, "20"},
        {"別表第一", 0, 10, "10"},
    });
}

TEST(ResolveCategoryCode, consumptionTaxVolumeRelativeReferences)
{
    expectCodes({
        {"別表第一", 1, 120, "110"},
        {"取扱い", 1, 110, "150"},
        {"５－１－１", 1, 120, "140"},
        {"法第２条", 1, 120, "110"},
        {"法第２条", 1, 599, "110"},
        {"法第２条", 1, 600, "610"},
        {"法第２条", 1, 699, "610"},
        {"法第２条", 1, 700, "710"},
        {"法第２条", 1, 840, "710"},
        {"法附則第２条", 1, 620, "610"},
        {"令第２条", 1, 110, "120"},
        {"令第２条", 1, 610, "620"},
        {"令附則第２条", 1, 710, "720"},
        {"規則第２条", 1, 110, "130"},
        {"規則第２条", 1, 630, "630"},
        {"規則第２条", 1, 730, "730"},
        {"前条", 1, 130, "130"},
    });
}

TEST(ResolveCategoryCode, companyLawVolumeRelativeReferences)
{
    expectCodes({
        {"原則第三", 2, 410, "930"},
        {"注解１", 2, 920, "930"},
        {"法第２条", 2, 960, "950"},
        {"法第２条", 2, 411, "410"},
        {"法第２条", 2, 460, "410"},
        {"法第２条", 2, 499, "410"},
        {"法第２条", 2, 410, "410"},
        {"法第２条", 2, 510, "510"},
        {"法第２条", 2, 910, "910"},
        {"令第２条", 2, 460, "460"},
    });
}

TEST(ResolveCategoryCode, incomeTaxVolumeRelativeReferences)
{
    expectCodes({
        {"３６－１", 3, 740, "740"},
        {"３６－１", 3, 840, "840"},
        {"３６－１", 3, 220, "240"},
        {"３６－１", 3, 750, "240"},
        {"法第２条", 3, 863, "860"},
        {"法第２条", 3, 873, "860"},
        {"法第２条", 3, 220, "210"},
        {"法第２条", 3, 740, "210"},
        {"法第２条", 3, 750, "710"},
        {"法第２条", 3, 720, "710"},
        {"法附則第２条", 3, 230, "210"},
        {"令第２条", 3, 210, "220"},
        {"令第２条", 3, 710, "720"},
        {"令附則第２条", 3, 240, "220"},
        {"規則第２条", 3, 210, "230"},
        {"規則第２条", 3, 700, "730"},
    });
}

TEST(ResolveCategoryCode, inheritanceTaxVolumeRelativeReferences)
{
    expectCodes({
        {"法第２条", 4, 320, "310"},
        {"法第２条", 4, 740, "710"},
        {"法第２条", 4, 710, "710"},
        {"法附則第２条", 4, 340, "310"},
        {"令第２条", 4, 310, "320"},
        {"令第２条", 4, 720, "720"},
        {"令附則第２条", 4, 699, "320"},
        {"規則第２条", 4, 310, "330"},
        {"規則第２条", 4, 750, "730"},
        {"１－３", 4, 340, "340"},
    });
}

TEST(ResolveCategoryCode, nationalTaxesVolumeRelativeReferences)
{
    expectCodes({
        {"別表第一", 5, 370, "360"},
        {"法第２条", 5, 160, "160"},
        {"法第２条", 5, 190, "160"},
        {"法第２条", 5, 270, "260"},
        {"法第２条", 5, 290, "260"},
        {"法第２条", 5, 380, "360"},
        {"法第２条", 5, 730, "710"},
        {"法第２条", 5, 810, "160"},
        {"令第２条", 5, 160, "170"},
        {"令第２条", 5, 180, "170"},
        {"令第２条", 5, 280, "270"},
        {"令第２条", 5, 390, "370"},
        {"令第２条", 5, 730, "720"},
        {"令第２条", 5, 710, "170"},
        {"規則第２条", 5, 190, "180"},
        {"規則第２条", 5, 260, "180"},
        {"規則第２条", 5, 290, "280"},
        {"規則第２条", 5, 380, "380"},
        {"規則第２条", 5, 730, "730"},
        {"規則第２条", 5, 720, "180"},
        {"前条", 5, 260, "260"},
    });
}

TEST(ResolveCategoryCode, earlierRuleOfAVolumeWinsOverALaterOne)
{
    expectCodes({
        // "省令第" before "令第".
        {"省令第１条", 0, 710, "70"},
        // The limited "法第" before the general one.
        {"法第２条", 0, 860, "860"},
        {"法第２条", 2, 960, "950"},
        {"法第２条", 3, 873, "860"},
        // "基本通達" before "－", "－" before "法第".
        {"基本通達２－１", 0, 750, "40"},
        {"法第２条の２－１", 0, 20, "40"},
        // "取扱い" before "－", "別表" before "法第".
        {"取扱い２－１", 1, 110, "150"},
        {"法第２条及び別表第一", 5, 170, "360"},
        {"３６－１と法第２条", 3, 210, "240"},
        // "令第" before "規則第".
        {"令第３条及び規則第４条", 4, 310, "320"},
    });
}

TEST(ResolveCategoryCode, volumeOutsideTheLawVolumesGivesTheCurrentCode)
{
    expectCodes({
        {"法第２条", 6, 20, "20"},
        {"法第２条", -1, 20, "20"},
        {"令第２条", 8, 110, "110"},
        // Names and the disaster texts' references still apply.
        {"法人税法第２条", 7, 20, "10"},
        {"法第２条", 6, 830, "810"},
    });
}

// In 「＊@第３条」 the bytes of 法第 (96 40 91 E6) start on the second byte of ＊ (81 96), and in
// 「￠[令第」 those of 措令 (91 5B 97 DF) on the second byte of ￠ (81 91); in 「￠d法」 those of
// 租法. None of them is a reference to those laws.
TEST(ResolveCategoryCode, ruleTextsMatchOnlyWhereACharacterBegins)
{
    ASSERT_NE(cp932("＊@第３条").find(cp932("法第")), std::string::npos);
    ASSERT_NE(cp932("￠[令第５条").find(cp932("措令")), std::string::npos);
    ASSERT_NE(cp932("￠d法").find(cp932("租法")), std::string::npos);
    expectCodes({
        {"＊@第３条", 0, 20, "20"},
        {"＊@第３条", 3, 220, "220"},
        {"￠[令第５条", 0, 10, "20"},
        {"￠d法", 0, 40, "40"},
    });
}

struct ArticleCase {
    const char* phrase;
    const char* codeField;
    const char* expected;
};

void expectArticles(const std::vector<ArticleCase>& cases)
{
    for (const ArticleCase& c : cases) {
        EXPECT_EQ(text::toUtf8(ExtractArticleNumber(cp932(c.phrase), c.codeField)).text, c.expected)
            << c.phrase << " code " << c.codeField;
    }
}

TEST(ExtractArticleNumber, wholeScheduleNamesGiveTheFirstSchedule)
{
    expectArticles({
        {"課税物件表", "360", "別表第１"},
        {"通則１", "360", "別表第１"},
        {"通則６", "360", "別表第１"},
        // Only the exact phrase: with more text the number is read as usual.
        {"課税物件表第１号", "360", "１号"},
        {"通則７", "360", "７"},
    });
}

TEST(ExtractArticleNumber, textUpToTheLastClosingParenthesisIsDropped)
{
    expectArticles({
        {"消費税法基本通達（平成１８年改正）５－１－１", "140", "５－１－１"},
        {"租税特別措置法通達６１の４（１）－１", "10", "１"},
        // The special-measures circulars keep their parentheses.
        {"租税特別措置法通達６１の４（１）－１", "740", "６１の４（１）－１"},
        {"措置法通達（連結）６８の１（２）", "750", "６８の１（２）"},
    });
}

TEST(ExtractArticleNumber, textUpToTheLastDaiIsDropped)
{
    expectArticles({
        {"法人税法施行令第７２条", "20", "７２条"},
        {"令第２２条", "20", "２２条"},
        {"同法第５条", "10", "５条"},
        {"租税特別措置法施行令第３９条の１３", "720", "３９条の１３"},
        {"法人税法（昭和４０年法律第３４号）第２２条", "10", "２２条"},
        {"措法第４１条の５第１項", "710", "１項"},
        // The stamp tax and consumption tax acts keep 第, and 別 may then start the number.
        {"印紙税法別表第１", "360", "別表第１"},
        {"消費税法別表第１", "110", "別表第１"},
        {"消費税法別表第１", "10", "１"},
    });
}

TEST(ExtractArticleNumber, numberStartsAtTheFirstDigitOrScheduleCharacter)
{
    expectArticles({
        {"２－１－３", "40", "２－１－３"},
        {"基本通達９－２－３", "40", "９－２－３"},
        {"財産評価基本通達付表１", "350", "付表１"},
        {"財産評価基本通達別表１", "350", "別表１"},
        // Without 別表 or 付表 in the text, 別 and 付 are ordinary characters.
        {"別紙付記１", "350", "１"},
        // ≠ is 81 82 and O is 4F: the bytes of ０ (82 4F) across a character boundary.
        {"第≠O５条", "10", "５条"},
    });
}

TEST(ExtractArticleNumber, halfWidthCharactersAreDroppedWhole)
{
    expectArticles({
        {"令3第１２条", "20", "１２条"},
        {"A第５条", "10", "５条"},
        {"(注)第５条", "10", "５条"},
    });
}

TEST(ExtractArticleNumber, phraseWithoutADigitGivesAnEmptyNumber)
{
    expectArticles({
        {"前条", "20", ""},
        {"第一項", "10", ""},
        {"同条", "10", ""},
        {"第", "10", ""},
        {"", "10", ""},
    });
}

TEST(ResolveAndExtract, proposalsForTheUsualPhrases)
{
    struct Case {
        const char* phrase;
        int volume;
        int currentCode;
        const char* lastLinkCode;
        const char* code;
        const char* article;
    };
    const Case cases[] = {
        {"法人税法施行令第７２条", 0, 10, "10", "20", "７２条"},
        {"令第２２条", 0, 10, "10", "20", "２２条"},
        {"同法第５条", 3, 210, "720", "720", "５条"},
        {"課税物件表", 5, 160, "10", "360", "別表第１"},
        {"２－１－３", 3, 240, "10", "240", "２－１－３"},
        {"措置法通達６１の４（１）－１", 0, 10, "10", "740", "６１の４（１）－１"},
        {"財産評価基本通達付表１", 4, 340, "10", "350", "付表１"},
    };
    for (const Case& c : cases) {
        std::string code = ResolveCategoryCode(cp932(c.phrase), c.volume, c.currentCode, c.lastLinkCode);
        EXPECT_EQ(code, c.code) << c.phrase;
        EXPECT_EQ(text::toUtf8(ExtractArticleNumber(cp932(c.phrase), code)).text, c.article) << c.phrase;
    }
}

struct CommandResult {
    int exitCode;
    QString out;
    QString err;
};

CommandResult runResolve(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(SORVANE_BINARY_DIR "/tools/resolve"), arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << "resolve did not run";
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(ResolveCommand, printsTheCodeAndTheArticleNumber)
{
    struct Case {
        QStringList arguments;
        const char* output;
    };
    const Case cases[] = {
        {{"法人税法施行令第７２条", "0", "10"}, "リンク条文番号\t20\nリンク条文本文\t７２条\n"},
        {{"令第２２条", "0", "710"}, "リンク条文番号\t720\nリンク条文本文\t２２条\n"},
        {{"同法第５条", "3", "210"}, "リンク条文番号\t10\nリンク条文本文\t５条\n"},
        {{"同法第５条", "3", "210", "720"}, "リンク条文番号\t720\nリンク条文本文\t５条\n"},
        {{"課税物件表", "5", "160"}, "リンク条文番号\t360\nリンク条文本文\t別表第１\n"},
        {{"前条", "1", "120"}, "リンク条文番号\t120\nリンク条文本文\t\n"},
    };
    for (const Case& c : cases) {
        CommandResult result = runResolve(c.arguments);
        EXPECT_EQ(result.exitCode, 0) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(result.out.toStdString(), c.output) << c.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.isEmpty());
    }
}

TEST(ResolveCommand, badArgumentsShowTheUsageAndFail)
{
    struct Case {
        QStringList arguments;
        const char* reason;
    };
    const Case cases[] = {
        {{}, "expected a phrase, a volume index and a current code"},
        {{"令第２２条", "0"}, "expected a phrase, a volume index and a current code"},
        {{"令第２２条", "0", "10", "20", "30"}, "expected a phrase, a volume index and a current code"},
        {{"", "0", "10"}, "the phrase is empty"},
        {{"令第２２条", "6", "10"}, "the volume index must be a number from 0 to 5"},
        {{"令第２２条", "x", "10"}, "the volume index must be a number from 0 to 5"},
        {{"令第２２条", "0", "10a"}, "the current code must be a category code such as 10 or 720"},
        {{"令第２２条", "0", "-5"}, "the current code must be a category code such as 10 or 720"},
        {{"同法第５条", "0", "10", "同"}, "the last link code must be a category code such as 10 or 720"},
        {{"令第２２条😀", "0", "10"}, "the phrase holds characters that code page 932 cannot represent"},
    };
    for (const Case& c : cases) {
        CommandResult result = runResolve(c.arguments);
        EXPECT_EQ(result.exitCode, 2) << c.reason;
        EXPECT_TRUE(result.out.isEmpty()) << c.reason;
        EXPECT_TRUE(result.err.startsWith(QString::fromUtf8("resolve: ") + QString::fromUtf8(c.reason) + "\n"))
            << result.err.toStdString();
        EXPECT_TRUE(result.err.contains("usage: resolve PHRASE VOLUME CURRENT_CODE [LAST_LINK_CODE]"))
            << c.reason;
    }
}

}  // namespace
