// The reference grammar, read left to right; a longer form is tried before a shorter one.
#include "tools/importer/References.h"

#include "tools/importer/Numerals.h"

namespace importer {

namespace {

// Full-width digits at pos: the value, pos moved past them.
std::optional<int> digitsAt(U32View s, std::size_t& pos)
{
    std::size_t p = pos;
    int v = 0;
    while (p < s.size() && isFullWidthDigit(s[p]) && v < 100000)
        v = v * 10 + static_cast<int>(s[p++] - U'０');
    if (p == pos)
        return std::nullopt;
    pos = p;
    return v;
}

// 第Ｎ条(のＮ){0,2} at pos.
std::optional<ArticleNumber> articleAt(U32View s, std::size_t& pos)
{
    std::size_t p = pos;
    if (p >= s.size() || s[p] != U'第')
        return std::nullopt;
    ++p;
    auto n = digitsAt(s, p);
    if (!n || p >= s.size() || s[p] != U'条')
        return std::nullopt;
    ++p;
    ArticleNumber number;
    number.article = *n;
    for (int level = 0; level < 2; ++level) {
        if (p + 1 >= s.size() || (s[p] != U'の' && s[p] != U'ノ') || !isFullWidthDigit(s[p + 1]))
            break;
        std::size_t q = p + 1;
        auto b = digitsAt(s, q);
        (level == 0 ? number.branch1 : number.branch2) = *b;
        p = q;
    }
    pos = p;
    return number;
}

// The paragraph and item that may follow an article: 第２項, 第３号, 第３号の２, 第２項第３号.
void skipProvisionTail(U32View s, std::size_t& pos)
{
    auto counted = [&](char32_t counter) {
        std::size_t p = pos;
        if (p >= s.size() || s[p] != U'第')
            return false;
        ++p;
        if (!digitsAt(s, p) || p >= s.size() || s[p] != counter)
            return false;
        ++p;
        while (p + 1 < s.size() && s[p] == U'の' && isFullWidthDigit(s[p + 1])) {
            ++p;
            digitsAt(s, p);
        }
        pos = p;
        return true;
    };
    counted(U'項');
    counted(U'号');
}

bool otherLawBefore(U32View s, std::size_t begin, bool afterLink)
{
    if (begin == 0)
        return afterLink;
    char32_t c = s[begin - 1];
    // …法第３条, 同令第５条, 規則第２条, 法律第…, 条例第…
    if (c == U'法' || c == U'令' || c == U'則' || c == U'律' || c == U'例')
        return true;
    // 所得税法（昭和４０年法律第３３号）第２条, 見本税法（平成２０年法律第２３号。以下「法」という。）
    // 第２条: the citation after a law's number
    if (c == U'）') {
        int depth = 0;
        for (std::size_t i = begin; i-- > 0;) {
            if (s[i] == U'）') {
                ++depth;
            } else if (s[i] == U'（' && --depth == 0) {
                U32View inside = s.substr(i, begin - i);
                std::size_t number = inside.find(U'号');
                return number != U32View::npos && inside.substr(0, number).find(U'第') != U32View::npos;
            }
        }
    }
    return false;
}

}  // namespace

std::vector<TextReference> findReferences(U32View s, bool afterLink)
{
    std::vector<TextReference> refs;
    std::size_t i = 0;
    while (i < s.size()) {
        TextReference r;
        r.begin = i;
        std::size_t p = i;
        bool found = false;
        if (startsWithAt(s, i, U"前条") || startsWithAt(s, i, U"次条") || startsWithAt(s, i, U"同条")) {
            r.kind = s[i] == U'前' ? TextReference::Kind::Previous
                     : s[i] == U'次' ? TextReference::Kind::Next
                                     : TextReference::Kind::Same;
            p = i + 2;
            skipProvisionTail(s, p);
            found = true;
        } else if (startsWithAt(s, i, U"同項") || startsWithAt(s, i, U"同号")) {
            r.kind = TextReference::Kind::SameProvision;
            p = i + 2;
            skipProvisionTail(s, p);
            found = true;
        } else if (startsWithAt(s, i, U"附則第")) {
            std::size_t q = i + 2;
            if (auto n = articleAt(s, q)) {
                r.kind = TextReference::Kind::Supplementary;
                r.number = *n;
                r.otherLaw = otherLawBefore(s, i, afterLink);
                p = q;
                skipProvisionTail(s, p);
                found = true;
            }
        } else if (startsWithAt(s, i, U"別表第")) {
            std::size_t q = i + 3;
            if (auto n = digitsAt(s, q)) {
                r.kind = TextReference::Kind::AppendedTable;
                r.number.article = *n;
                r.otherLaw = otherLawBefore(s, i, afterLink);
                p = q;
                found = true;
            }
        } else if (s[i] == U'第') {
            std::size_t q = i;
            if (auto n = articleAt(s, q)) {
                r.kind = TextReference::Kind::Article;
                r.number = *n;
                r.otherLaw = otherLawBefore(s, i, afterLink);
                p = q;
                skipProvisionTail(s, p);
                found = true;
            } else {
                skipProvisionTail(s, q);
                // not a law's number (法律第３３号) nor another law's paragraph (令第２項)
                if (q > i && !otherLawBefore(s, i, afterLink)) {
                    r.kind = TextReference::Kind::Paragraph;
                    p = q;
                    found = true;
                }
            }
        }
        if (found) {
            r.end = p;
            refs.push_back(r);
            i = p;
        } else {
            ++i;
        }
    }
    return refs;
}

bool isListContinuation(U32View gap)
{
    // list words, and the parts of a cited provision that end its citation (第９３条ただし書及び…)
    static constexpr std::u32string_view kConnectors[] = {U"、",   U"及び", U"又は",   U"若しくは", U"並びに", U"から", U"まで",
                                                          U"・",   U"ただし書", U"本文", U"各号",     U"前段",   U"後段"};
    std::size_t pos = 0;
    while (pos < gap.size()) {
        bool matched = false;
        for (auto c : kConnectors)
            if (startsWithAt(gap, pos, c)) {
                pos += c.size();
                matched = true;
                break;
            }
        if (matched)
            continue;
        if (gap[pos] >= U'ア' && gap[pos] <= U'ン') {
            ++pos;
            continue;
        }
        if (gap[pos] == U'（') {
            // a parenthesis: the cited provision's caption or a remark (第１２４条（納付の方法）、第１５１条)
            int depth = 0;
            std::size_t p = pos;
            for (; p < gap.size(); ++p) {
                if (gap[p] == U'（')
                    ++depth;
                else if (gap[p] == U'）' && --depth == 0)
                    break;
            }
            if (p < gap.size()) {
                pos = p + 1;
                continue;
            }
        }
        return false;
    }
    return true;
}

std::vector<ScopePhrase> findScopePhrases(U32View s, bool orderPhrases)
{
    struct Phrase {
        std::u32string_view text;
        int zeimoku;
        bool order;
    };
    static constexpr Phrase kPhrases[] = {
        {U"財務省令で定める", -2, false},
        {U"法務省令で定める", -2, false},
        {U"政令で定める", -1, true},
        {U"省令で定める", -2, false},
    };
    std::vector<ScopePhrase> out;
    for (std::size_t i = 0; i < s.size();) {
        bool matched = false;
        for (const auto& ph : kPhrases) {
            if (ph.order && !orderPhrases)
                continue;
            if (startsWithAt(s, i, ph.text)) {
                out.push_back({i, i + ph.text.size(), ph.zeimoku});
                i += ph.text.size();
                matched = true;
                break;
            }
        }
        if (!matched)
            ++i;
    }
    return out;
}

}  // namespace importer
