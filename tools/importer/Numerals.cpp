// The numeral rules. A numeral is rewritten only where its neighbours say it is a count: a
// rule table of what may follow and precede it, never a guess from the numeral alone.
#include "tools/importer/Numerals.h"

#include <array>

namespace importer {

namespace {

constexpr std::u32string_view kKanjiDigits = U"〇一二三四五六七八九";

int kanjiDigitValue(char32_t c)
{
    auto p = kKanjiDigits.find(c);
    return p == std::u32string_view::npos ? -1 : static_cast<int>(p);
}

int multiplierOf(char32_t c)
{
    switch (c) {
    case U'十': return 10;
    case U'百': return 100;
    case U'千': return 1000;
    default: return 0;
    }
}

bool isBigUnit(char32_t c)
{
    return c == U'万' || c == U'億';
}

// A run of 十/百/千 numerals below 万: traditional when it holds a multiplier, otherwise
// positional (一八 = 18, 五〇 = 50).
std::optional<long long> parseSmall(U32View s)
{
    if (s.empty())
        return std::nullopt;
    bool hasMultiplier = false;
    for (char32_t c : s) {
        if (multiplierOf(c))
            hasMultiplier = true;
        else if (kanjiDigitValue(c) < 0)
            return std::nullopt;
    }
    long long value = 0;
    if (!hasMultiplier) {
        for (char32_t c : s)
            value = value * 10 + kanjiDigitValue(c);
        return value;
    }
    long long digit = -1;
    for (char32_t c : s) {
        int m = multiplierOf(c);
        if (m) {
            value += (digit < 0 ? 1 : digit) * m;
            digit = -1;
        } else {
            if (digit >= 0)
                return std::nullopt;  // two digits in a row inside a traditional numeral
            digit = kanjiDigitValue(c);
        }
    }
    if (digit >= 0)
        value += digit;
    return value;
}

bool isUnitAfter(U32View text, std::size_t pos)
{
    // What may follow a numeral that counts something. Longer words first where one is the
    // beginning of another.
    static constexpr std::array<std::u32string_view, 36> kUnits{
        U"箇月",         U"か月",     U"ヶ月",     U"週間",       U"時間",     U"分の",   U"箇所",     U"年",
        U"月",           U"日",       U"円",       U"倍",         U"割",       U"歳",     U"回",       U"銭",
        U"センチメートル", U"ミリメートル", U"キロメートル", U"平方メートル", U"立方メートル", U"立方センチメートル", U"メートル",
        U"キログラム",   U"グラム",   U"トン",     U"キロリットル", U"リットル", U"キロワット", U"ワット", U"個",
        U"台",           U"株",       U"件",       U"枚",         U"パーセント"};
    for (auto u : kUnits)
        if (startsWithAt(text, pos, u))
            return true;
    return false;
}

// A kanji that makes a word of the numeral after it (同一, 唯一, 統一): no count follows.
bool formsWordWith(char32_t before)
{
    constexpr std::u32string_view kWordHeads = U"同唯統均単画逐専";
    return kWordHeads.find(before) != std::u32string_view::npos;
}

bool isCounterAfterDai(char32_t c)
{
    constexpr std::u32string_view kCounters = U"条項号編章節款目";
    return kCounters.find(c) != std::u32string_view::npos;
}

// What may follow a branch number (の二): the next part of a citation or a particle, never a
// noun that would make の + numeral a word (の一部, の一定).
bool mayFollowBranch(U32View text, std::size_t pos)
{
    if (pos >= text.size())
        return true;
    static constexpr std::u32string_view kFollowers = U"第のノ、。，（）」』・　及又若並かまにをはがとで中各項号条前";
    char32_t c = text[pos];
    if (kFollowers.find(c) != std::u32string_view::npos)
        return true;
    // an item's sub-item letter follows a branch (第五号の二イ)
    return c >= U'ア' && c <= U'ン';
}

}  // namespace

bool isKanjiDigit(char32_t c)
{
    return kanjiDigitValue(c) >= 0;
}

bool isKanjiNumeral(char32_t c)
{
    return isKanjiDigit(c) || multiplierOf(c) != 0;
}

bool isFullWidthDigit(char32_t c)
{
    return c >= U'０' && c <= U'９';
}

std::optional<long long> parseNumber(U32View s)
{
    if (s.empty())
        return std::nullopt;
    bool digits = true;
    for (char32_t c : s)
        if (!isFullWidthDigit(c) && !(c >= U'0' && c <= U'9'))
            digits = false;
    if (digits) {
        long long v = 0;
        for (char32_t c : s) {
            v = v * 10 + (c >= U'０' ? c - U'０' : c - U'0');
            if (v > 1'000'000'000'000LL)
                return std::nullopt;
        }
        return v;
    }
    long long total = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (!isBigUnit(s[i]))
            continue;
        long long unit = s[i] == U'万' ? 10'000LL : 100'000'000LL;
        auto part = i == start ? std::optional<long long>(1) : parseSmall(s.substr(start, i - start));
        if (!part)
            return std::nullopt;
        total += *part * unit;
        start = i + 1;
    }
    if (start < s.size()) {
        auto rest = parseSmall(s.substr(start));
        if (!rest)
            return std::nullopt;
        total += *rest;
    }
    return total;
}

U32 fullWidthNumber(long long value)
{
    std::string ascii = std::to_string(value);
    U32 out;
    for (char c : ascii)
        out.push_back(c == '-' ? U'－' : static_cast<char32_t>(U'０' + (c - '0')));
    return out;
}

U32 convertNumerals(U32View text)
{
    U32 out;
    out.reserve(text.size());
    // Source positions just after a counter (条, 項, 号) or after a converted branch number: a
    // の + numeral there is a branch (第十条の二の二).
    std::size_t branchAnchor = std::u32string_view::npos;
    // Source position just after a converted fraction (百分の六): a ・ + numeral there is its
    // decimal part (百分の六・三 → １００分の６．３).
    std::size_t fractionEnd = std::u32string_view::npos;

    std::size_t i = 0;
    while (i < text.size()) {
        if (!isKanjiNumeral(text[i])) {
            char32_t c = text[i];
            out.push_back(c);
            ++i;
            if (c == U'条' || c == U'項' || c == U'号')
                branchAnchor = i;
            continue;
        }
        // The numeral run, 万 and 億 included when a numeral precedes them.
        std::size_t end = i;
        while (end < text.size() && (isKanjiNumeral(text[end]) || (end > i && isBigUnit(text[end]))))
            ++end;
        U32View run = text.substr(i, end - i);
        auto at = [&](std::size_t p) { return p < text.size() ? text[p] : U'\0'; };
        char32_t before = i > 0 ? text[i - 1] : U'\0';
        char32_t after = at(end);

        enum class Rule { None, Count, Branch, Numerator, Decimal };
        Rule rule = Rule::None;
        if (before == U'第' && isCounterAfterDai(after))
            rule = Rule::Count;                               // 第三十条, 第一項, 第二章
        else if (before == U'第' && i >= 2 && (text[i - 2] == U'表' || text[i - 2] == U'式'))
            rule = Rule::Count;                               // 別表第一, 様式第二
        else if (before == U'前' && (after == U'条' || after == U'項' || after == U'号'))
            rule = Rule::Count;                               // 前二条
        else if ((before == U'の' || before == U'ノ') && i - 1 == branchAnchor && mayFollowBranch(text, end))
            rule = Rule::Branch;                              // 第十条の二
        else if (i >= 2 && text[i - 1] == U'の' && text[i - 2] == U'分')
            rule = Rule::Numerator;                           // 百分の四
        else if (before == U'・' && i - 1 == fractionEnd)
            rule = Rule::Decimal;                             // 百分の六・三
        else if (isUnitAfter(text, end) && !formsWordWith(before))
            rule = Rule::Count;                               // 二十三年, 四月, 十日, 五万円
        auto value = rule != Rule::None ? parseNumber(run) : std::nullopt;
        branchAnchor = std::u32string_view::npos;
        fractionEnd = std::u32string_view::npos;
        if (!value) {
            out.append(run);
            i = end;
            continue;
        }
        if (rule == Rule::Decimal)
            out.back() = U'．';
        // 万 and 億 stay as written: 五千万 → ５０００万.
        std::size_t partStart = 0;
        for (std::size_t k = 0; k <= run.size(); ++k) {
            if (k < run.size() && !isBigUnit(run[k]))
                continue;
            if (k > partStart)
                out += fullWidthNumber(*parseNumber(run.substr(partStart, k - partStart)));
            if (k < run.size())
                out.push_back(run[k]);
            partStart = k + 1;
        }
        if (rule == Rule::Branch)
            branchAnchor = end;
        if (rule == Rule::Numerator)
            fractionEnd = end;
        i = end;
    }
    return out;
}

}  // namespace importer
