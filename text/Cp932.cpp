// Character-aware helpers over code page 932 bytes and the iconv conversions at the edges.
#include "text/Cp932.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <stdexcept>

namespace text {

std::size_t charLength(std::string_view s, std::size_t pos)
{
    if (pos >= s.size())
        return 0;
    if (isLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size())
        return 2;
    return 1;
}

bool isCharBoundary(std::string_view s, std::size_t pos)
{
    if (pos > s.size())
        return false;
    std::size_t i = 0;
    while (i < pos)
        i += charLength(s, i);
    return i == pos;
}

std::vector<std::string_view> characters(std::string_view s)
{
    std::vector<std::string_view> out;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = charLength(s, i);
        out.push_back(s.substr(i, n));
        i += n;
    }
    return out;
}

std::size_t charCount(std::string_view s)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); i += charLength(s, i))
        ++count;
    return count;
}

namespace {

// The first match at or after boundary, which must itself be a character boundary; returns it
// and leaves boundary on it (or past the end when there is none).
std::size_t findFromBoundary(std::string_view haystack, std::string_view needle, std::size_t& boundary)
{
    while (boundary <= haystack.size()) {
        std::size_t hit = haystack.find(needle, boundary);
        if (hit == std::string_view::npos)
            return std::string_view::npos;
        while (boundary < hit)
            boundary += charLength(haystack, boundary);
        if (boundary == hit)
            return hit;
        // hit fell on a second byte: continue from the next boundary after it
    }
    return std::string_view::npos;
}

}  // namespace

std::size_t find(std::string_view haystack, std::string_view needle, std::size_t from)
{
    // Walk character by character from the start so that a match found by the byte search is
    // only accepted where a character begins.
    std::size_t boundary = 0;
    while (boundary < from && boundary < haystack.size())
        boundary += charLength(haystack, boundary);
    if (boundary > haystack.size())
        return std::string_view::npos;
    return findFromBoundary(haystack, needle, boundary);
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to)
{
    if (from.empty())
        return std::string(s);
    std::string out;
    std::size_t pos = 0;
    // One walk over the text: each search goes on from the first character boundary after the
    // previous match, so the text is never walked again from its start.
    std::size_t boundary = 0;
    for (;;) {
        std::size_t hit = findFromBoundary(s, from, boundary);
        if (hit == std::string_view::npos)
            break;
        out.append(s.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
        while (boundary < pos)
            boundary += charLength(s, boundary);
    }
    out.append(s.substr(pos));
    return out;
}

std::string ToFullWidthDigits(std::string_view s)
{
    std::string out;
    out.reserve(s.size() * 2);
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = charLength(s, i);
        unsigned char c = static_cast<unsigned char>(s[i]);
        if (n == 1 && c >= '0' && c <= '9') {
            // ０ is 82 4F; the ten digits are consecutive.
            out.push_back('\x82');
            out.push_back(static_cast<char>(0x4F + (c - '0')));
        } else {
            out.append(s.substr(i, n));
        }
        i += n;
    }
    return out;
}

std::vector<std::string> splitLines(std::string_view s)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\n') {
            std::size_t end = (i > start && s[i - 1] == '\r') ? i - 1 : i;
            lines.emplace_back(s.substr(start, end - start));
            start = i + 1;
        }
    }
    if (start < s.size())
        lines.emplace_back(s.substr(start));
    return lines;
}

std::string joinLinesCrLf(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

namespace {

// One converter per direction and thread; iconv_open is far too slow to call per field.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts input; on a sequence iconv refuses, calls onBad(offset) which appends a
    // replacement and returns how many input bytes to skip.
    template <typename OnBad>
    std::string run(std::string_view input, OnBad onBad)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.resize(input.size() * 3 / 2 + 16);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        std::size_t used = 0;
        while (inLeft > 0) {
            char* outPtr = out.data() + used;
            std::size_t outLeft = out.size() - used;
            std::size_t r = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
            used = out.size() - outLeft;
            if (r != static_cast<std::size_t>(-1))
                break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2 + 16);
                continue;
            }
            // EILSEQ or EINVAL: a sequence that cannot be converted or is cut off.
            out.resize(used);
            std::size_t offset = input.size() - inLeft;
            std::size_t skip = onBad(offset, out);
            if (skip == 0 || skip > inLeft)
                skip = inLeft < 1 ? inLeft : 1;
            in += skip;
            inLeft -= skip;
            used = out.size();
            out.resize(used + inLeft * 3 / 2 + 16);
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        out.resize(used);
        return out;
    }

private:
    iconv_t m_cd;
};

// Length of the UTF-8 sequence starting at s[pos] if it is well formed, else 0.
std::size_t utf8SequenceLength(std::string_view s, std::size_t pos)
{
    unsigned char c = static_cast<unsigned char>(s[pos]);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || pos + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[pos + k]) >> 6) != 0x2)
            return 0;
    return n;
}

}  // namespace

Conversion fromUtf8(std::string_view utf8)
{
    thread_local Converter converter("CP932", "UTF-8");
    Conversion result;
    result.text = converter.run(utf8, [&](std::size_t offset, std::string& out) {
        out.append(kReplacementChar);
        std::size_t n = utf8SequenceLength(utf8, offset);
        if (n == 0) {
            ++result.invalid;
            if (result.firstInvalidOffset == std::string::npos)
                result.firstInvalidOffset = offset;
            return std::size_t{1};
        }
        ++result.replaced;
        return n;
    });
    return result;
}

Conversion toUtf8(std::string_view cp932Text)
{
    thread_local Converter converter("UTF-8", "CP932");
    Conversion result;
    result.text = converter.run(cp932Text, [&](std::size_t offset, std::string& out) {
        out.append("\xEF\xBF\xBD");
        ++result.invalid;
        if (result.firstInvalidOffset == std::string::npos)
            result.firstInvalidOffset = offset;
        return std::size_t{1};
    });
    return result;
}

std::string cp932(std::string_view utf8Literal)
{
    Conversion c = fromUtf8(utf8Literal);
    if (!c.clean())
        throw std::logic_error("literal cannot be written in code page 932: " + std::string(utf8Literal));
    return std::move(c.text);
}

}  // namespace text
