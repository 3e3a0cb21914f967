// Kanji numerals in law text: which become full-width digits and which stay words.
#include <gtest/gtest.h>

#include "tools/importer/Numerals.h"

using importer::convertNumerals;
using importer::fromUtf8;
using importer::parseNumber;
using importer::toUtf8;

namespace {

TEST(Numerals, parseNumberReadsTraditionalPositionalAndDigits)
{
    struct Case {
        const char* text;
        long long value;
    } cases[] = {
        {"三十", 30},        {"百八", 108},        {"三百六十", 360},   {"千四十四", 1044}, {"十", 10},
        {"一八", 18},        {"一〇〇", 100},      {"二〇", 20},        {"五〇", 50},       {"六", 6},
        {"五千万", 50000000}, {"一億二千万", 120000000}, {"３０", 30}, {"１０", 10},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseNumber(fromUtf8(c.text)), c.value) << c.text;
    for (const char* bad : {"", "三三十", "条", "十x"})
        EXPECT_FALSE(parseNumber(fromUtf8(bad))) << bad;
}

TEST(Numerals, convertNumeralsRewritesCountsAndKeepsWords)
{
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {
        {"第三十条第一項第二号", "第３０条第１項第２号"},
        {"第十条の二の二", "第１０条の２の２"},
        {"第八百四十一条ノ二ノ規定", "第８４１条ノ２ノ規定"},
        {"第五号の二イ", "第５号の２イ"},
        {"第一章　総則", "第１章　総則"},
        {"別表第一", "別表第１"},
        {"別紙様式第二号", "別紙様式第２号"},
        {"前二条", "前２条"},
        {"百分の四", "１００分の４"},
        {"百分の六・三", "１００分の６．３"},
        {"三分の二", "３分の２"},
        {"平成二十三年四月二十七日", "平成２３年４月２７日"},
        {"平成一八年六月二日法律第五〇号", "平成１８年６月２日法律第５０号"},
        {"五千万円", "５０００万円"},
        {"十日以内", "１０日以内"},
        {"三百二十センチメートル", "３２０センチメートル"},
        // words and labels
        {"同一の者", "同一の者"},
        {"一定の", "一定の"},
        {"第三者", "第三者"},
        {"一部を改正", "一部を改正"},
        {"十分に", "十分に"},
        {"同一年", "同一年"},
        {"一　土地の譲渡", "一　土地の譲渡"},
        {"一から四まで", "一から四まで"},
        {"第三十条の一部", "第３０条の一部"},
        {"平成元年", "平成元年"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toUtf8(convertNumerals(fromUtf8(c.in))), c.out) << c.in;
}

}  // namespace
