// Provision layout: blocks to lines, and the numbers and captions of rows.
#include "tools/importer/ArticleLayout.h"

#include "tools/importer/Numerals.h"

namespace importer {

namespace {

constexpr std::u32string_view kIroha = U"イロハニホヘトチリヌルヲワカヨタレソツネナラムウヰノオクヤマケフコエテアサキユメミシヱヒモセスン";

RichText convertedText(const RichText& rich)
{
    RichText out;
    for (const auto& s : rich)
        appendText(out, convertNumerals(s.text), s.link);
    return out;
}

// The rich text split at its line breaks.
std::vector<RichText> splitLines(const RichText& rich)
{
    std::vector<RichText> lines(1);
    for (const auto& s : rich) {
        std::size_t start = 0;
        for (;;) {
            std::size_t nl = s.text.find(U'\n', start);
            appendText(lines.back(), U32View(s.text).substr(start, nl == U32::npos ? U32::npos : nl - start), s.link);
            if (nl == U32::npos)
                break;
            lines.emplace_back();
            start = nl + 1;
        }
    }
    return lines;
}

void dropLeading(RichText& line, std::size_t count)
{
    while (count > 0 && !line.empty()) {
        U32& t = line.front().text;
        std::size_t n = std::min(count, t.size());
        t.erase(0, n);
        count -= n;
        if (t.empty())
            line.erase(line.begin());
    }
}

std::size_t leadingSpaces(const RichText& line)
{
    std::size_t n = 0;
    for (const auto& s : line) {
        for (char32_t c : s.text) {
            if (c != kIdeographicSpace)
                return n;
            ++n;
        }
    }
    return n;
}

void prepend(RichText& line, U32View prefix)
{
    if (prefix.empty())
        return;
    if (!line.empty() && line.front().link == -1)
        line.front().text.insert(0, prefix);
    else
        line.insert(line.begin(), Segment{U32(prefix), -1});
}

bool isBlank(const RichText& line)
{
    for (const auto& s : line)
        for (char32_t c : s.text)
            if (c != kIdeographicSpace && c != U' ')
                return false;
    return true;
}

// The marker a broken line starts with, as the number of ideographic spaces it is placed at,
// or -1 when the line has no marker.
int markerIndent(U32View s)
{
    std::size_t i = 0;
    if (i < s.size() && (isKanjiNumeral(s[i]))) {
        while (i < s.size() && (isKanjiNumeral(s[i]) || s[i] == U'の'))
            ++i;
        return i < s.size() && s[i] == kIdeographicSpace ? 1 : -1;
    }
    if (i < s.size() && kIroha.find(s[i]) != std::u32string_view::npos)
        return s.size() > 1 && s[1] == kIdeographicSpace ? 2 : -1;
    if (i < s.size() && s[i] == U'（') {
        std::size_t j = 1;
        bool digits = true, roman = true;
        while (j < s.size() && s[j] != U'）') {
            if (!isFullWidthDigit(s[j]))
                digits = false;
            if (s[j] != U'ｉ' && s[j] != U'ｖ' && s[j] != U'ｘ')
                roman = false;
            ++j;
        }
        if (j == 1 || j >= s.size())
            return -1;
        if (digits)
            return 3;
        if (roman)
            return 4;
    }
    return -1;
}

void placeLine(RichText& line)
{
    U32 plain = plainText(line);
    std::size_t lead = 0;
    while (lead < plain.size() && plain[lead] == kIdeographicSpace)
        ++lead;
    int indent = markerIndent(U32View(plain).substr(lead));
    if (indent < 0)
        return;
    dropLeading(line, lead);
    prepend(line, U32(static_cast<std::size_t>(indent), kIdeographicSpace));
}

U32 yearText(const ActDesignation& act)
{
    return act.year == 1 ? U32(U"元") : fullWidthNumber(act.year);
}

U32 articleNumberText(const Provision& p)
{
    const ArticleNumber& n = p.number;
    bool katakana = p.printedNumber.find(U'ノ') != U32::npos;
    char32_t separator = katakana ? U'ノ' : U'の';
    U32 out = fullWidthNumber(n.article) + U"条";
    if (n.branch1)
        out += separator + fullWidthNumber(n.branch1);
    if (n.branch2)
        out += separator + fullWidthNumber(n.branch2);
    return out;
}

RichText innerCaption(const RichText& caption)
{
    RichText c = convertedText(caption);
    // strip the line breaks and the parentheses
    RichText out;
    for (const auto& s : c) {
        U32 t;
        for (char32_t ch : s.text)
            if (ch != U'\n')
                t.push_back(ch);
        appendText(out, t, s.link);
    }
    while (!out.empty() && leadingSpaces(out) > 0)
        dropLeading(out, leadingSpaces(out));
    if (!out.empty() && !out.front().text.empty() && out.front().text.front() == U'（' && !out.back().text.empty() &&
        out.back().text.back() == U'）') {
        out.front().text.erase(0, 1);
        if (out.front().text.empty())
            out.erase(out.begin());
        if (!out.empty()) {
            out.back().text.pop_back();
            if (out.back().text.empty())
                out.pop_back();
        }
    }
    return out;
}

}  // namespace

U32 placeBrokenLine(U32View line)
{
    RichText r;
    appendText(r, line);
    placeLine(r);
    return plainText(r);
}

U32 actShortDesignation(const ActDesignation& act)
{
    return U"（" + act.era + yearText(act) + U"年" + act.kind + U"第" + fullWidthNumber(act.number) + U"号）";
}

U32 actFullDesignation(const ActDesignation& act)
{
    return U"（" + act.era + yearText(act) + U"年" + fullWidthNumber(act.month) + U"月" + fullWidthNumber(act.day) +
           U"日" + act.kind + U"第" + fullWidthNumber(act.number) + U"号）";
}

U32 supplementaryCaption(const SupplementaryBlock& block)
{
    U32 caption = U"附則";
    if (block.act)
        caption += actFullDesignation(*block.act);
    else if (block.title.size() > 2 && block.title.find(U'（') != U32::npos)
        caption += convertNumerals(block.title.substr(2, block.title.rfind(U'）') + 1 - 2));
    if (block.excerpt)
        caption += U"　抄";
    return caption;
}

LaidOutProvision layOutProvision(const Provision& p)
{
    LaidOutProvision out;
    switch (p.kind) {
    case ProvisionKind::Article:
        out.number = p.number.article ? articleNumberText(p) : convertNumerals(p.printedNumber);
        break;
    case ProvisionKind::SupplementaryWhole:
        break;
    case ProvisionKind::AppendedTable:
        out.number = U"別表第" + fullWidthNumber(p.number.article);
        if (p.number.branch1)  // 別表第一の二 of the standard law XML
            out.number += U"の" + fullWidthNumber(p.number.branch1);
        break;
    case ProvisionKind::Forms:
        out.number = U"別紙様式";
        break;
    }
    out.caption = innerCaption(p.caption);

    std::size_t paragraphs = 0;
    for (const auto& b : p.blocks)
        if (b.kind == BlockKind::Paragraph)
            ++paragraphs;
    const bool numbered = paragraphs > 1;
    std::size_t paragraphIndex = 0;
    const bool freeLines = p.kind == ProvisionKind::AppendedTable || p.kind == ProvisionKind::Forms;

    for (const auto& block : p.blocks) {
        std::vector<RichText> lines = splitLines(convertedText(block.text));
        if (freeLines) {
            for (auto& l : lines) {
                placeLine(l);
                if (!isBlank(l))
                    out.lines.push_back(std::move(l));
            }
            continue;
        }
        if (block.kind == BlockKind::Caption) {
            RichText caption;
            for (auto& l : lines)
                for (auto& s : l)
                    appendText(caption, withoutSpaces(s.text), s.link);
            if (!isBlank(caption))
                out.lines.push_back(std::move(caption));
            continue;
        }
        // The first line carries the label; the page's own indentation of it is dropped.
        RichText& first = lines.front();
        dropLeading(first, leadingSpaces(first));
        U32 prefix;
        switch (block.kind) {
        case BlockKind::Paragraph:
            ++paragraphIndex;
            if (numbered)
                prefix = (block.label.empty() ? fullWidthNumber(static_cast<long long>(paragraphIndex)) : block.label) + U"　";
            else
                prefix = U"　";
            break;
        case BlockKind::Item:
            prefix = U"　" + block.label + U"　";
            break;
        case BlockKind::SubItem:
            prefix = U32(static_cast<std::size_t>(std::min(block.level, 3) + 1), kIdeographicSpace) + block.label + U"　";
            break;
        case BlockKind::Continuation:
            prefix = U32(static_cast<std::size_t>(block.level + 1), kIdeographicSpace);
            break;
        case BlockKind::Caption:
            break;
        }
        if (block.kind == BlockKind::Item && isBlank(first) && lines.size() == 1) {
            // an item that is its number alone (一から四まで with no text)
            while (!prefix.empty() && prefix.back() == kIdeographicSpace)
                prefix.pop_back();
        }
        prepend(first, prefix);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0)
                placeLine(lines[i]);
            if (!isBlank(lines[i]))
                out.lines.push_back(std::move(lines[i]));
        }
    }
    return out;
}

}  // namespace importer
