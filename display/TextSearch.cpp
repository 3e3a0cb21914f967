// Case-insensitive matching over code page 932: every character is compared by its case-folded
// form. The fold table of the double-byte characters is built once from their Unicode case
// folding, so that a letter and its other case match whichever of the duplicate codes holds them.
#include "display/TextSearch.h"

#include <QString>

#include <algorithm>
#include <string>
#include <vector>

#include "text/Cp932.h"
#include "text/QtText.h"

namespace display {

namespace {

// The folded code of every double-byte code (lead << 8 | trail); a code without another case
// folds to itself.
const std::vector<unsigned short>& doubleByteFolds()
{
    static const std::vector<unsigned short> folds = [] {
        std::vector<unsigned short> table(0x10000);
        for (unsigned code = 0; code < table.size(); ++code)
            table[code] = static_cast<unsigned short>(code);
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!text::isLeadByte(static_cast<unsigned char>(lead)))
                continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                if (trail == 0x7F)
                    continue;
                const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                text::Conversion unicode = text::toUtf8(std::string_view(bytes, 2));
                if (!unicode.clean())
                    continue;
                QString character = QString::fromUtf8(unicode.text.data(), static_cast<qsizetype>(unicode.text.size()));
                QString folded = character.toCaseFolded();
                if (folded == character)
                    continue;
                text::Conversion back = text::fromUtf8(folded.toStdString());
                if (!back.clean() || back.text.size() != 2)
                    continue;
                table[lead << 8 | trail] = static_cast<unsigned short>(
                    static_cast<unsigned char>(back.text[0]) << 8 | static_cast<unsigned char>(back.text[1]));
            }
        }
        // A character whose duplicate code has no other case still folds with it: both codes
        // fold to the code that iconv writes for their common character.
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!text::isLeadByte(static_cast<unsigned char>(lead)))
                continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                unsigned code = lead << 8 | trail;
                if (trail == 0x7F || table[code] != code)
                    continue;
                const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                text::Conversion unicode = text::toUtf8(std::string_view(bytes, 2));
                if (!unicode.clean())
                    continue;
                text::Conversion back = text::fromUtf8(unicode.text);
                if (!back.clean() || back.text.size() != 2)
                    continue;
                unsigned canonical =
                    static_cast<unsigned char>(back.text[0]) << 8 | static_cast<unsigned char>(back.text[1]);
                table[code] = table[canonical];
            }
        }
        return table;
    }();
    return folds;
}

// The folded form of the character of length n at s[pos].
unsigned foldedCharacter(std::string_view s, std::size_t pos, std::size_t n)
{
    unsigned char first = static_cast<unsigned char>(s[pos]);
    if (n == 1)
        return (first >= 'A' && first <= 'Z') ? first + ('a' - 'A') : first;
    return doubleByteFolds()[first << 8 | static_cast<unsigned char>(s[pos + 1])] | 0x10000u;
}

}  // namespace

int findTextIgnoringCase(std::string_view haystack, std::string_view needle, int from, int to)
{
    if (needle.empty())
        return -1;
    const std::size_t end = (to < 0 || static_cast<std::size_t>(to) > haystack.size()) ? haystack.size()
                                                                                      : static_cast<std::size_t>(to);
    const std::size_t begin = from < 0 ? 0 : static_cast<std::size_t>(from);
    std::vector<unsigned> wanted;
    for (std::size_t i = 0; i < needle.size();) {
        std::size_t n = text::charLength(needle, i);
        wanted.push_back(foldedCharacter(needle, i, n));
        i += n;
    }
    for (std::size_t start = 0; start < end; start += text::charLength(haystack, start)) {
        if (start < begin)
            continue;
        std::size_t at = start;
        std::size_t matched = 0;
        while (matched < wanted.size() && at < end) {
            std::size_t n = text::charLength(haystack, at);
            if (at + n > end || foldedCharacter(haystack, at, n) != wanted[matched])
                break;
            at += n;
            ++matched;
        }
        if (matched == wanted.size())
            return static_cast<int>(start);
    }
    return -1;
}

}  // namespace display
