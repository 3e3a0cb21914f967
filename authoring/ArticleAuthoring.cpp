// Article authoring's pure rules: pasting, SpecialPaste's reading of a copied article, the room
// 追　加 makes in the article order, and the caret carried over from the text view.
#include "authoring/ArticleAuthoring.h"

#include <algorithm>
#include <climits>
#include <unordered_map>

#include "text/Cp932.h"

namespace authoring {

namespace {

const std::string& cp(const char* utf8)
{
    // The rules' characters, converted once each (the map's values never move).
    static std::unordered_map<const char*, std::string> cache;
    auto it = cache.find(utf8);
    if (it == cache.end())
        it = cache.emplace(utf8, text::cp932(utf8)).first;
    return it->second;
}

bool isFullWidthDigit(std::string_view c)
{
    static const std::vector<std::string_view> digits = text::characters(cp("０１２３４５６７８９"));
    return std::find(digits.begin(), digits.end(), c) != digits.end();
}

// The n-th character from the end (1: the last), empty when the line is shorter.
std::string_view fromEnd(const std::vector<std::string_view>& chars, std::size_t n)
{
    return chars.size() >= n ? chars[chars.size() - n] : std::string_view();
}

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

bool endsWithCharacter(std::string_view s, std::string_view c)
{
    const auto chars = text::characters(s);
    return !chars.empty() && chars.back() == c;
}

}  // namespace

std::string NormalizePastedText(std::string_view input)
{
    static const std::vector<std::pair<std::string, std::string>> kReplacements = [] {
        std::vector<std::pair<std::string, std::string>> r;
        for (const auto& [from, to] : std::initializer_list<std::pair<const char*, const char*>>{
                 {"(", "（"}, {")", "）"}, {" ", "　"}, {"-", "－"}, {".", "．"}, {",", "，"}, {"･", "・"},
                 {"─", "－"}, {"―", "－"}, {"┼", "＋"}, {"{", "（"}, {"}", "）"}, {"[", "〔"}, {"]", "〕"},
                 {"\\", "￥"}, {"ロ座", "口座"}})
            r.emplace_back(text::cp932(from), text::cp932(to));
        return r;
    }();
    std::string out = text::ToFullWidthDigits(input);
    for (const auto& [from, to] : kReplacements)
        out = text::replaceAll(out, from, to);
    return out;
}

std::string TrimFullWidthSpaces(std::string_view line)
{
    const std::string& space = cp("　");
    while (startsWith(line, space))
        line.remove_prefix(space.size());
    for (;;) {
        const auto chars = text::characters(line);
        if (chars.empty() || chars.back() != space)
            break;
        line.remove_suffix(space.size());
    }
    return std::string(line);
}

bool LooksLikeArticleNumber(std::string_view line)
{
    const auto chars = text::characters(line);
    const std::string_view last = fromEnd(chars, 1);
    const std::string_view secondLast = fromEnd(chars, 2);
    const std::string_view thirdLast = fromEnd(chars, 3);
    if (last == cp("条"))
        return true;
    if (thirdLast == cp("条") && (secondLast == cp("の") || secondLast == cp("ノ")))
        return true;
    if ((secondLast == cp("－") || thirdLast == cp("－")) && isFullWidthDigit(last))
        return true;
    if ((text::contains(line, cp("条の")) || text::contains(line, cp("条ノ"))) && isFullWidthDigit(last))
        return true;
    return false;
}

PastedArticle ParsePastedArticle(std::string_view clipboardText)
{
    PastedArticle out;
    std::vector<std::string> lines = text::splitLines(NormalizePastedText(clipboardText));
    auto first = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return !l.empty(); });
    lines.erase(lines.begin(), first);
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    if (lines.empty())
        return out;
    if (lines.size() == 1) {
        out.number = TrimFullWidthSpaces(lines.front());
        return out;
    }

    std::size_t from = 0;
    if (!LooksLikeArticleNumber(lines.front())) {
        const std::string title = TrimFullWidthSpaces(lines.front());
        const std::string& open = cp("（");
        const std::string& close = cp("）");
        if (startsWith(title, open) && endsWithCharacter(title, close) && title.size() >= open.size() + close.size())
            out.title = title.substr(open.size(), title.size() - open.size() - close.size());
        else
            out.title = title;
        from = 1;
    }
    std::size_t numberLine = from;
    while (numberLine < lines.size() && lines[numberLine].empty())
        ++numberLine;
    if (numberLine == lines.size())
        return out;
    const std::string number = TrimFullWidthSpaces(lines[numberLine]);
    out.number = startsWith(number, cp("第")) ? number.substr(cp("第").size()) : number;

    std::size_t body = numberLine + 1;
    while (body < lines.size() && lines[body].empty())
        ++body;
    if (body < lines.size()) {
        std::string content;
        for (std::size_t i = body; i < lines.size(); ++i) {
            if (i > body)
                content += "\r\n";
            content += lines[i];
        }
        out.content = std::move(content);
    }
    out.stamps = true;
    return out;
}

RowInsertion PlanRowInsertion(const std::vector<double>& rows, int current, int code)
{
    RowInsertion plan;
    const int count = static_cast<int>(rows.size());
    if (current < 0 || current >= count)
        return plan;
    const double r = rows[static_cast<std::size_t>(current)];
    const double kNone = static_cast<double>(INT_MAX);
    double gap = kNone;
    if (current + 1 < count)
        gap = rows[static_cast<std::size_t>(current + 1)] - r;

    if (gap < 2) {
        // The rows right after the current one are packed: the run of rows up to the first gap
        // of more than one moves up against the row after that gap (or ten past the last row).
        int walked = 1;
        int at = current + 1;
        double nxt = 0;
        for (;;) {
            if (at + 1 >= count) {
                nxt = rows[static_cast<std::size_t>(at)] + 11;
                break;
            }
            const double previous = rows[static_cast<std::size_t>(at)];
            const double next = rows[static_cast<std::size_t>(at + 1)];
            if (next - previous > 1) {
                nxt = next;
                break;
            }
            ++at;
            ++walked;
        }
        for (int k = 0; k < walked; ++k)
            plan.renumbered.emplace_back(current + walked - k, nxt - 1 - k);
    }

    if (gap < 11)
        plan.newRow = r + 1;
    else
        plan.newRow = r + (code == 510 ? 5 : 10);
    return plan;
}

bool OnlyHalfWidthDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int ArticleTextCharacters(std::string_view text)
{
    int count = 0;
    for (std::size_t i = 0; i < text.size(); i += text::charLength(text, i)) {
        if (text[i] == '\n' && i > 0 && text[i - 1] == '\r')
            continue;
        ++count;
    }
    return count;
}

bool ArticleTextEditFits(int current, int replaced, int inserted)
{
    const long long after = static_cast<long long>(current) - replaced + inserted;
    return after <= kArticleTextMaxCharacters || after <= current;
}

int ArticleCaretFromViewCaret(int viewCaret, std::string_view title, std::string_view number,
                              const std::optional<std::string>& officialName, std::string_view viewText)
{
    static const std::vector<std::string_view> marks = text::characters(cp("＊○☆×"));
    long long heading = static_cast<long long>(title.size() + number.size()) + 8 +
                        (officialName ? static_cast<long long>(officialName->size()) : 8);
    const auto chars = text::characters(viewText);
    for (std::size_t i = 0; i < chars.size() && i < 4; ++i)
        if (std::find(marks.begin(), marks.end(), chars[i]) != marks.end())
            heading += 2;
    return heading < viewCaret ? static_cast<int>(viewCaret - heading) : 0;
}

int InitialSelectionLength(int caret, int textLength)
{
    for (int length : {6, 4, 2})
        if (static_cast<long long>(caret) + length <= textLength)
            return length;
    return 0;
}

}  // namespace authoring
