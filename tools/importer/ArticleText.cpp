// Composition of the browsing text from an authoring row.
#include "tools/importer/ArticleText.h"

#include "text/Cp932.h"

namespace importer {

namespace {

const std::string& cp(const char* utf8)
{
    thread_local std::vector<std::pair<const char*, std::string>> cache;
    for (const auto& [k, v] : cache)
        if (k == utf8)
            return v;
    cache.emplace_back(utf8, text::cp932(utf8));
    return cache.back().second;
}

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

bool startsWithFullWidthDigit(std::string_view s)
{
    return s.size() >= 2 && static_cast<unsigned char>(s[0]) == 0x82 && static_cast<unsigned char>(s[1]) >= 0x4F &&
           static_cast<unsigned char>(s[1]) <= 0x58;
}

}  // namespace

std::string displayNumber(std::string_view number)
{
    const std::string& fusoku = cp("附則");
    if (startsWith(number, fusoku)) {
        std::size_t restAt = fusoku.size();
        if (startsWith(number.substr(restAt), cp("（"))) {
            std::size_t close = text::find(number, cp("）"), restAt);
            if (close != std::string_view::npos)
                restAt = close + cp("）").size();
        }
        std::string_view rest = number.substr(restAt);
        if (startsWithFullWidthDigit(rest))
            return std::string(number.substr(0, restAt)) + cp("第") + std::string(rest);
        return std::string(number);
    }
    if (startsWithFullWidthDigit(number))
        return cp("第") + std::string(number);
    return std::string(number);
}

std::string bangouOf(std::string_view number, int categoryCode)
{
    if (categoryCode == 910)
        return std::string(number);
    return text::replaceAll(number, cp("ノ"), cp("の"));
}

std::string normalizeLineEnds(std::string_view body)
{
    std::string out;
    out.reserve(body.size() + 16);
    for (std::size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        if (c == '\0')
            continue;
        if (c == '\r') {
            if (i + 1 < body.size() && body[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out.push_back(c);
        }
    }
    while (out.size() >= 2 && out.compare(out.size() - 2, 2, "\r\n") == 0)
        out.resize(out.size() - 2);
    return out;
}

ComposedArticle composeArticle(std::string_view lawName, std::string_view number, std::string_view caption,
                               std::string_view body)
{
    ComposedArticle a;
    a.titleLine = displayNumber(number);
    if (!caption.empty()) {
        a.titleLine += cp("（");
        a.captionOffset = lawName.size() + 2 + a.titleLine.size();
        a.titleLine += caption;
        a.titleLine += cp("）");
    } else {
        a.captionOffset = lawName.size() + 2 + a.titleLine.size();
    }
    a.honbun.reserve(lawName.size() + a.titleLine.size() + body.size() + 8);
    a.honbun += lawName;
    a.honbun += "\r\n";
    a.honbun += a.titleLine;
    std::string lines = normalizeLineEnds(body);
    a.bodyOffset = a.honbun.size() + 2;
    if (!lines.empty()) {
        a.honbun += "\r\n";
        a.honbun += lines;
    }
    return a;
}

std::vector<std::size_t> occurrences(std::string_view haystack, std::string_view needle)
{
    std::vector<std::size_t> out;
    if (needle.empty())
        return out;
    std::size_t boundary = 0;
    std::size_t from = 0;
    for (;;) {
        std::size_t hit = haystack.find(needle, from);
        if (hit == std::string_view::npos)
            break;
        while (boundary < hit)
            boundary += text::charLength(haystack, boundary);
        if (boundary == hit) {
            out.push_back(hit);
            from = hit + text::charLength(haystack, hit);
        } else {
            from = boundary;
        }
    }
    return out;
}

std::string truncateBytes(std::string_view s, std::size_t maxBytes)
{
    if (s.size() <= maxBytes)
        return std::string(s);
    std::size_t end = 0;
    while (end < s.size()) {
        std::size_t n = text::charLength(s, end);
        if (end + n > maxBytes)
            break;
        end += n;
    }
    return std::string(s.substr(0, end));
}

}  // namespace importer
