// The scope tables of the reference search.
#include "search/ReferenceScope.h"

#include <algorithm>
#include <initializer_list>
#include <optional>

#include "text/Cp932.h"

namespace search {

namespace {

// Codes for which the dialog offers 政令 and 省令, and those for which it starts on 全範囲
// (circulars and acts without orders of their own).
constexpr int kSeireiCodes[] = {10, 110, 160, 210, 260, 310, 360, 410, 610, 710, 810, 860, 950};
constexpr int kKisokuCodes[] = {10,  20,  70,  110, 120, 160, 170, 210, 220, 260, 270, 310, 320, 360, 370,
                                410, 420, 430, 440, 610, 620, 710, 720, 810, 820, 860, 870, 873, 910, 920};
constexpr int kWholeRangeCodes[] = {40, 80, 140, 150, 190, 240, 290, 340, 350, 390, 430, 440, 510, 740, 750, 840};

// The ministerial ordinance of each family, by referred code. 復興法 (860) is looked up per
// volume below: its ordinance differs in 法人税.
struct KisokuTarget {
    int code;
    int target;
};
constexpr KisokuTarget kKisokuTargets[] = {
    {10, 30},   {20, 30},   {110, 130}, {120, 130}, {160, 180}, {170, 180}, {210, 230}, {220, 230},
    {260, 280}, {270, 280}, {310, 330}, {320, 330}, {360, 380}, {370, 380}, {610, 630}, {620, 630},
    {710, 730}, {720, 730}, {810, 830}, {820, 830}, {870, 880}, {873, 883}, {910, 940}, {920, 940},
};

// Circulars and the like, whose numbers are written without "第".
constexpr int kNoDaiCodes[] = {40, 80, 140, 240, 340, 350};

template <std::size_t N>
bool listed(const int (&codes)[N], int code)
{
    return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}

std::string equalsLine(int code)
{
    return "AND ( KubunNo = " + std::to_string(code) + " ) ";
}

std::string lowerLine(int code)
{
    return "AND ( KubunNo > " + std::to_string(code) + " ) ";
}

std::optional<int> kisokuTarget(int lawVolume, int code)
{
    if (code == 860)
        return lawVolume == 0 ? 880 : 883;
    for (const KisokuTarget& t : kKisokuTargets)
        if (t.code == code)
            return t.target;
    return std::nullopt;
}

}  // namespace

SansyoScopeState SansyoScopeStateFor(int presetScope, int referredCode)
{
    SansyoScopeState s;
    if (presetScope == -1 || presetScope == -2) {
        s.groupEnabled = false;
        s.selected = presetScope == -1 ? kScopeSeirei : kScopeKisoku;
        return s;
    }
    s.enabled[kScopeSeirei] = listed(kSeireiCodes, referredCode);
    s.enabled[kScopeKisoku] = listed(kKisokuCodes, referredCode);
    s.selected = listed(kWholeRangeCodes, referredCode) ? kScopeAll : kScopeKai;
    return s;
}

std::string ScopeClause(int lawVolume, int referredCode, int searchScope)
{
    switch (searchScope) {
    case kScopeSeirei: {
        int target = referredCode + 10;
        if (referredCode == 410)
            target = 440;
        else if (referredCode == 860)
            target = lawVolume == 0 ? 870 : 873;
        return equalsLine(target);
    }
    case kScopeKisoku:
        // 会社法 and its family share their ordinances, which all come after 459.
        if (referredCode > 400 && referredCode < 460)
            return "AND ( KubunNo > 459 )";
        if (auto target = kisokuTarget(lawVolume, referredCode))
            return equalsLine(*target);
        return lowerLine(referredCode);
    case kScopeKai:
        return lowerLine(referredCode);
    default:
        return {};
    }
}

std::string ScopePhrase(int searchScope, int lawVolume)
{
    switch (searchScope) {
    case kScopeSeirei:
        return text::cp932("政令で定める");
    case kScopeKisoku:
        return text::cp932(lawVolume == 2 ? "法務省令で定める" : "財務省令で定める");
    case kScopeKai:
        return text::cp932("令で定める");
    default:
        return {};
    }
}

bool NeedsDaiPrefix(int kubunNo, std::string_view bangou)
{
    if (listed(kNoDaiCodes, kubunNo))
        return false;
    for (const char* word : {"別表", "附則", "付表", "経過的取扱"})
        if (text::contains(bangou, text::cp932(word)))
            return false;
    return true;
}

std::string ReferenceSearchText(int kubunNo, std::string_view bangou)
{
    return NeedsDaiPrefix(kubunNo, bangou) ? text::cp932("第") + std::string(bangou) : std::string(bangou);
}

}  // namespace search
