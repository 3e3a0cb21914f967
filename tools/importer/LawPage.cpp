// The small parsers of the page model: article numbers, anchors, law codes, act designations.
#include "tools/importer/LawPage.h"

#include "tools/importer/Numerals.h"

namespace importer {

void appendText(RichText& rich, U32View text, int link)
{
    if (text.empty())
        return;
    if (!rich.empty() && rich.back().link == link)
        rich.back().text.append(text);
    else
        rich.push_back({U32(text), link});
}

U32 plainText(const RichText& rich)
{
    U32 out;
    for (const auto& s : rich)
        out += s.text;
    return out;
}

namespace {

// The numeral at pos (kanji or digits); pos moves past it.
std::optional<long long> takeNumber(U32View s, std::size_t& pos)
{
    std::size_t end = pos;
    while (end < s.size() && (isKanjiNumeral(s[end]) || isFullWidthDigit(s[end]) || s[end] == U'万'))
        ++end;
    if (end == pos)
        return std::nullopt;
    auto v = parseNumber(s.substr(pos, end - pos));
    if (v)
        pos = end;
    return v;
}

int digitsAt(std::string_view d, std::size_t from, std::size_t count)
{
    int v = 0;
    for (std::size_t i = from; i < from + count; ++i)
        v = v * 10 + (d[i] - '0');
    return v;
}

U32 positionalKanji(long long value)
{
    static constexpr std::u32string_view kDigits = U"〇一二三四五六七八九";
    U32 out;
    for (char c : std::to_string(value))
        out.push_back(kDigits[static_cast<std::size_t>(c - '0')]);
    return out;
}

}  // namespace

std::optional<ArticleNumber> parseArticleNumber(U32View s)
{
    std::size_t pos = 0;
    if (pos < s.size() && s[pos] == U'第')
        ++pos;
    auto n = takeNumber(s, pos);
    if (!n || pos >= s.size() || s[pos] != U'条' || *n <= 0 || *n > 9999)
        return std::nullopt;
    ++pos;
    ArticleNumber number;
    number.article = static_cast<int>(*n);
    for (int level = 0; level < 2 && pos < s.size() && (s[pos] == U'の' || s[pos] == U'ノ'); ++level) {
        std::size_t p = pos + 1;
        auto b = takeNumber(s, p);
        if (!b || *b <= 0 || *b > 999)
            break;
        (level == 0 ? number.branch1 : number.branch2) = static_cast<int>(*b);
        pos = p;
    }
    if (pos != s.size())
        return std::nullopt;
    return number;
}

std::optional<AnchorKey> parseAnchor(std::string_view d)
{
    if (d.size() != 79)
        return std::nullopt;
    for (char c : d)
        if (c < '0' || c > '9')
            return std::nullopt;
    AnchorKey k;
    k.part = d[0] - '0';
    if (k.part == 3 || k.part == 5 || k.part == 6)
        k.sequence = digitsAt(d, 1, 9);
    k.headingPath = {digitsAt(d, 1, 3), digitsAt(d, 10, 3), digitsAt(d, 19, 3), digitsAt(d, 28, 3), digitsAt(d, 37, 3)};
    k.article = {digitsAt(d, 46, 4), digitsAt(d, 50, 3), digitsAt(d, 53, 3)};
    k.paragraph = digitsAt(d, 56, 5);
    k.item = digitsAt(d, 64, 6);
    return k;
}

std::optional<U32> lawCodeOfPromulgation(U32View p)
{
    struct Era { std::u32string_view name; char32_t initial; };
    static constexpr Era kEras[] = {{U"明治", U'明'}, {U"大正", U'大'}, {U"昭和", U'昭'}, {U"平成", U'平'}, {U"令和", U'令'}};
    U32 code;
    std::size_t pos = std::u32string_view::npos;
    for (const auto& era : kEras)
        if (startsWithAt(p, 0, era.name)) {
            code.push_back(era.initial);
            pos = era.name.size();
        }
    if (pos == std::u32string_view::npos)
        return std::nullopt;
    long long year = 0;
    if (pos < p.size() && p[pos] == U'元') {
        year = 1;
        ++pos;
    } else if (auto y = takeNumber(p, pos)) {
        year = *y;
    } else {
        return std::nullopt;
    }
    if (pos >= p.size() || p[pos] != U'年')
        return std::nullopt;
    code += positionalKanji(year);
    // The day may be missing (a law number alone: 明治二十九年法律第八十九号).
    std::size_t day = p.find(U'日', pos);
    std::size_t kindStart = day == std::u32string_view::npos ? pos + 1 : day + 1;
    std::size_t dai = p.find(U'第', kindStart);
    if (dai == std::u32string_view::npos)
        return std::nullopt;
    U32View kind = p.substr(kindStart, dai - kindStart);
    if (kind == U"法律")
        code += U"法";
    else if (kind == U"政令")
        code += U"政";
    else if (kind == U"勅令")
        code += U"勅";
    else if (kind.size() > 1 && kind.back() == U'令')
        code += U32(kind.substr(0, kind.size() - 1)) + U"０１０００";  // 大蔵省令 → 大蔵省０１０００
    else
        code += kind;
    std::size_t numberPos = dai + 1;
    auto number = takeNumber(p, numberPos);
    if (!number || numberPos >= p.size() || p[numberPos] != U'号')
        return std::nullopt;
    code += positionalKanji(*number);
    return code;
}

std::optional<ActDesignation> parseActDesignation(U32View title)
{
    std::size_t open = title.find(U'（');
    std::size_t close = title.find(U'）', open == std::u32string_view::npos ? 0 : open);
    if (open == std::u32string_view::npos || close == std::u32string_view::npos)
        return std::nullopt;
    U32View in = title.substr(open + 1, close - open - 1);
    ActDesignation act;
    std::size_t pos = 2;
    if (in.size() < 2)
        return std::nullopt;
    act.era = U32(in.substr(0, 2));
    if (pos < in.size() && in[pos] == U'元') {
        act.year = 1;
        ++pos;
    } else if (auto y = takeNumber(in, pos)) {
        act.year = static_cast<int>(*y);
    } else {
        return std::nullopt;
    }
    auto expect = [&](char32_t c) {
        if (pos < in.size() && in[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    };
    if (!expect(U'年'))
        return std::nullopt;
    auto month = takeNumber(in, pos);
    if (!month || !expect(U'月'))
        return std::nullopt;
    auto day = takeNumber(in, pos);
    if (!day || !expect(U'日'))
        return std::nullopt;
    std::size_t dai = in.find(U'第', pos);
    if (dai == std::u32string_view::npos || dai == pos)
        return std::nullopt;
    act.month = static_cast<int>(*month);
    act.day = static_cast<int>(*day);
    act.kind = U32(in.substr(pos, dai - pos));
    pos = dai + 1;
    auto number = takeNumber(in, pos);
    if (!number || !expect(U'号'))
        return std::nullopt;
    act.number = static_cast<int>(*number);
    return act;
}

}  // namespace importer
