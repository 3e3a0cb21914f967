// The names of laws in the texts of a volume, and the law a citation names.
#include "tools/importer/OtherLawDetector.h"

#include <algorithm>
#include <map>

#include "authoring/LawNames.h"

namespace importer {

namespace {

bool isIdeograph(char32_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) || c == U'々';
}

// The opening parenthesis of the parenthesis that is open at pos, or npos.
std::size_t openParenthesisBefore(U32View t, std::size_t pos)
{
    int depth = 0;
    for (std::size_t i = pos; i-- > 0;) {
        if (t[i] == U'）')
            ++depth;
        else if (t[i] == U'（' && depth-- == 0)
            return i;
    }
    return U32View::npos;
}

// Past the parenthesis that opens at pos, or pos when none opens there or it does not close.
std::size_t pastParenthesis(U32View t, std::size_t pos)
{
    if (pos >= t.size() || t[pos] != U'（')
        return pos;
    int depth = 0;
    for (std::size_t i = pos; i < t.size(); ++i) {
        if (t[i] == U'（')
            ++depth;
        else if (t[i] == U'）' && --depth == 0)
            return i + 1;
    }
    return pos;
}

// Whether a parenthesis opening at open holds a law's number: （昭和５９年法律第８６号）,
// （平成１８年法務省令第１２号。以下「規則」という。）.
bool isLawNumberAt(U32View t, std::size_t open)
{
    static constexpr std::u32string_view kEras[] = {U"明治", U"大正", U"昭和", U"平成", U"令和"};
    if (open >= t.size() || t[open] != U'（')
        return false;
    bool era = false;
    for (auto e : kEras)
        era = era || startsWithAt(t, open + 1, e);
    if (!era)
        return false;
    std::size_t close = pastParenthesis(t, open);
    U32View inside = t.substr(open, close - open);
    return close > open && inside.find(U'号') != U32View::npos &&
           (inside.find(U"法律第") != U32View::npos || inside.find(U"令第") != U32View::npos ||
            inside.find(U"規則第") != U32View::npos);
}

template <typename T>
void longestFirst(std::vector<T>& names)
{
    std::stable_sort(names.begin(), names.end(), [](const T& a, const T& b) { return a.text.size() > b.text.size(); });
}

// A short name as the laws define them: a few characters, no punctuation.
bool isShortName(U32View name)
{
    return !name.empty() && name.size() <= 8 && name.find_first_of(U"、。（）「」") == U32View::npos;
}

}  // namespace

OtherLawDetector::OtherLawDetector(const std::vector<LawDraft>& laws)
{
    for (std::size_t i = 0; i < laws.size(); ++i) {
        m_codes.push_back(laws[i].entry.code);
        m_titles.push_back({fromUtf8(laws[i].entry.lawTitle), static_cast<int>(i), nullptr});
    }
    for (const auto& entry : authoring::LawNameTable())
        for (const auto& name : entry.names)
            if (name.title)
                m_titles.push_back({fromUtf8(name.text), -1, &entry});
    longestFirst(m_titles);
    m_shortNames.resize(laws.size());
    for (std::size_t i = 0; i < laws.size(); ++i) {
        m_shortNames[i].resize(laws[i].page.supplementary.size() + 1);
        learnShortNames(static_cast<int>(i), laws[i]);
        addUsualShortNames(static_cast<int>(i), laws[i]);
        for (auto& names : m_shortNames[i])
            longestFirst(names);
    }
}

int OtherLawDetector::scopeOf(const LawDraft& law, const RowDraft& row)
{
    if (row.place == RowPlace::Supplementary && row.block != law.originalBlock)
        return row.block;
    return -1;
}

int OtherLawDetector::lawOf(const Name& name, int citing) const
{
    if (!name.entry)
        return name.law;
    int code = name.entry->codeFor(m_codes[static_cast<std::size_t>(citing)]);
    auto it = std::find(m_codes.begin(), m_codes.end(), code);
    return it == m_codes.end() ? -1 : static_cast<int>(it - m_codes.begin());
}

const OtherLawDetector::Name* OtherLawDetector::nameEndingAt(const std::vector<Name>& names, U32View t, std::size_t end)
{
    for (const auto& name : names) {
        if (name.text.size() > end || t.compare(end - name.text.size(), name.text.size(), name.text) != 0)
            continue;
        std::size_t start = end - name.text.size();
        // a name right after another kanji is the tail of a longer word (旧商法, 新法, 施行令)
        if (start > 0 && isIdeograph(t[start - 1]) && isIdeograph(name.text.front()))
            continue;
        return &name;
    }
    return nullptr;
}

const OtherLawDetector::Name* OtherLawDetector::titleAt(U32View t, std::size_t pos) const
{
    for (const auto& name : m_titles)
        if (startsWithAt(t, pos, name.text) && !(pos > 0 && isIdeograph(t[pos - 1])))
            return &name;
    return nullptr;
}

const OtherLawDetector::Name* OtherLawDetector::anyNameEndingAt(int citing, int scope, U32View t, std::size_t end) const
{
    const auto& own = m_shortNames[static_cast<std::size_t>(citing)];
    const Name* best = nullptr;
    auto consider = [&](const std::vector<Name>& names) {
        const Name* n = nameEndingAt(names, t, end);
        if (n && (!best || n->text.size() > best->text.size()))
            best = n;
    };
    if (scope >= 0)
        consider(own[static_cast<std::size_t>(scope) + 1]);
    consider(own[0]);
    consider(m_titles);
    return best;
}

std::optional<NamedLaw> OtherLawDetector::lawNamedBefore(int citing, int scope, U32View t, std::size_t end) const
{
    if (end > 0 && t[end - 1] == U'）') {
        // 消費税法（昭和６３年法律第１０８号）第３０条: the law's number between name and
        // citation; a law whose name is not known is one outside the volume
        std::size_t open = openParenthesisBefore(t, end - 1);
        if (open == U32View::npos || !isLawNumberAt(t, open))
            return std::nullopt;
        if (const Name* n = anyNameEndingAt(citing, scope, t, open))
            return NamedLaw{open - n->text.size(), open, lawOf(*n, citing), kindOfName(n->text)};
        return NamedLaw{open, open, -1, kindOfPromulgation(t.substr(open, end - open))};
    }
    if (const Name* n = anyNameEndingAt(citing, scope, t, end))
        return NamedLaw{end - n->text.size(), end, lawOf(*n, citing), kindOfName(n->text)};
    return std::nullopt;
}

std::vector<NamedLaw> OtherLawDetector::lawsNamedIn(int citing, int scope, U32View t) const
{
    std::vector<NamedLaw> out;
    for (std::size_t pos = 0; pos < t.size();) {
        if (t[pos] == U'（' && isLawNumberAt(t, pos)) {
            if (out.empty() || out.back().end != pos) {
                const Name* n = anyNameEndingAt(citing, scope, t, pos);
                if (n)
                    out.push_back({pos - n->text.size(), pos, lawOf(*n, citing), kindOfName(n->text)});
                else
                    out.push_back({pos, pos, -1, kindOfPromulgation(t.substr(pos, pastParenthesis(t, pos) - pos))});
            }
            ++pos;
            continue;
        }
        const Name* n = isIdeograph(t[pos]) ? titleAt(t, pos) : nullptr;
        if (!n) {
            ++pos;
            continue;
        }
        out.push_back({pos, pos + n->text.size(), lawOf(*n, citing), kindOfName(n->text)});
        pos += n->text.size();
    }
    return out;
}

void OtherLawDetector::learnShortNames(int lawIndex, const LawDraft& law)
{
    // The first definition of a name in a scope holds there.
    std::vector<std::map<U32, int>> found(m_shortNames[static_cast<std::size_t>(lawIndex)].size());
    auto define = [&](int scope, const U32& name, int target) {
        found[static_cast<std::size_t>(scope + 1)].emplace(name, target);
    };
    for (const auto& row : law.rows) {
        const int scope = scopeOf(law, row);
        for (const auto& line : row.laid.lines) {
            U32 t = plainText(line);
            // 消費税法（昭和６３年法律第１０８号。以下「法」という。）
            for (std::size_t at = t.find(U"以下「"); at != U32::npos; at = t.find(U"以下「", at + 1)) {
                std::size_t close = t.find(U"」という", at);
                if (close == U32::npos || !isShortName(U32View(t).substr(at + 3, close - at - 3)))
                    continue;
                std::size_t open = openParenthesisBefore(t, at);
                if (open == U32::npos)
                    continue;
                if (const Name* n = nameEndingAt(m_titles, t, open))
                    define(scope, t.substr(at + 3, close - at - 3), lawOf(*n, lawIndex));
            }
            // 「法」とは消費税法を、「令」とは消費税法施行令をいう
            for (std::size_t at = t.find(U"」とは"); at != U32::npos; at = t.find(U"」とは", at + 1)) {
                std::size_t open = t.rfind(U'「', at);
                if (open == U32::npos || !isShortName(U32View(t).substr(open + 1, at - open - 1)))
                    continue;
                std::size_t p = at + 3;
                if (p < t.size() && t[p] == U'、')
                    ++p;
                const Name* n = titleAt(t, p);
                if (!n)
                    continue;
                std::size_t after = pastParenthesis(t, p + n->text.size());
                if (after < t.size() && t[after] == U'を')
                    define(scope, t.substr(open + 1, at - open - 1), lawOf(*n, lawIndex));
            }
        }
    }
    for (std::size_t s = 0; s < found.size(); ++s)
        for (auto& [name, target] : found[s])
            m_shortNames[static_cast<std::size_t>(lawIndex)][s].push_back({name, target, nullptr});
}

void OtherLawDetector::addUsualShortNames(int lawIndex, const LawDraft& law)
{
    // In a 施行令, 法 is its act; in a 施行規則, 法 the act and 令 the order, unless the text
    // says otherwise.
    U32 title = fromUtf8(law.entry.lawTitle);
    auto& main = m_shortNames[static_cast<std::size_t>(lawIndex)][0];
    auto defined = [&](U32View name) {
        return std::any_of(main.begin(), main.end(), [&](const Name& n) { return n.text == name; });
    };
    auto lawTitledExactly = [&](const U32& t) -> std::optional<int> {
        for (const auto& n : m_titles)
            if (n.text == t)
                return lawOf(n, lawIndex);
        return std::nullopt;
    };
    auto add = [&](U32View name, const U32& target) {
        if (defined(name))
            return;
        if (auto law = lawTitledExactly(target))
            main.push_back({U32(name), *law, nullptr});
    };
    for (U32View suffix : {U32View(U"施行令"), U32View(U"施行規則")}) {
        if (title.size() <= suffix.size() || title.compare(title.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        U32 act = title.substr(0, title.size() - suffix.size());
        add(U"法", act);
        if (suffix == U"施行規則")
            add(U"令", act + U"施行令");
    }
}

}  // namespace importer
