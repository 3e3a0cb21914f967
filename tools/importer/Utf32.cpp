// UTF-8 and code page 932 to and from the importer's UTF-32 text.
#include "tools/importer/Utf32.h"

#include "text/Cp932.h"

namespace importer {

U32 fromUtf8(std::string_view s)
{
    U32 out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        bool ok = n != 0 && i + n <= s.size();
        char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
        for (std::size_t k = 1; ok && k < n; ++k) {
            unsigned char t = static_cast<unsigned char>(s[i + k]);
            if ((t >> 6) != 0x2)
                ok = false;
            else
                cp = (cp << 6) | (t & 0x3F);
        }
        if (!ok) {
            out.push_back(U'\uFFFD');
            ++i;
            continue;
        }
        out.push_back(cp);
        i += n;
    }
    return out;
}

std::string toUtf8(U32View text)
{
    std::string out;
    out.reserve(text.size() * 3);
    for (char32_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string toCp932(U32View text, std::size_t* replaced)
{
    text::Conversion c = text::fromUtf8(toUtf8(text));
    if (replaced)
        *replaced += c.replaced + c.invalid;
    return std::move(c.text);
}

U32 fromCp932(std::string_view cp932)
{
    return fromUtf8(text::toUtf8(cp932).text);
}

bool startsWithAt(U32View text, std::size_t pos, U32View run)
{
    return pos <= text.size() && text.size() - pos >= run.size() && text.compare(pos, run.size(), run) == 0;
}

U32View trimAsciiSpaces(U32View text)
{
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == U' ')
        ++b;
    while (e > b && text[e - 1] == U' ')
        --e;
    return text.substr(b, e - b);
}

U32 withoutSpaces(U32View text)
{
    U32 out;
    for (char32_t c : text)
        if (c != U' ' && c != kIdeographicSpace)
            out.push_back(c);
    return out;
}

}  // namespace importer
