// Code page 932 (Shift-JIS as Windows writes it) as the system's text type: every article
// text, link offset and caret is a byte offset into such a string. std::string holds the bytes;
// conversion to other encodings happens only at the edges, through iconv "CP932".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// The lead byte of a double-byte character: 81-9F and E0-FC.
constexpr bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Length in bytes of the character that starts at pos: 2 for a lead byte followed by any
// byte, else 1 (a lead byte at the very end counts as one character of its own).
std::size_t charLength(std::string_view s, std::size_t pos);

// True when pos is where a character begins (or the end of s). Walks from the start,
// since a trail byte can look like a lead byte.
bool isCharBoundary(std::string_view s, std::size_t pos);

// The characters of s in order, each a view of one or two bytes.
std::vector<std::string_view> characters(std::string_view s);

// Number of characters in s.
std::size_t charCount(std::string_view s);

// First byte offset >= from where needle occurs starting on a character boundary of
// haystack, or npos. An empty needle matches at from when from is a boundary.
std::size_t find(std::string_view haystack, std::string_view needle, std::size_t from = 0);

inline bool contains(std::string_view haystack, std::string_view needle)
{
    return find(haystack, needle) != std::string_view::npos;
}

// Every occurrence of from (on character boundaries) replaced by to.
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);

// Each ASCII digit 0-9 becomes its full-width form ０-９; everything else is kept.
std::string ToFullWidthDigits(std::string_view s);

// The text split at CR LF (a lone LF also ends a line); no trailing empty line for a text
// that ends with a line end.
std::vector<std::string> splitLines(std::string_view s);

// Lines joined with CR LF after each line, the shape in which article texts are measured.
std::string joinLinesCrLf(const std::vector<std::string>& lines);

// The outcome of a conversion: the converted text and what could not be carried over.
struct Conversion {
    std::string text;
    std::size_t replaced = 0;            // characters code page 932 cannot hold, written as 〓
    std::size_t invalid = 0;             // input bytes that were not valid in the source encoding
    std::size_t firstInvalidOffset = std::string::npos;
    bool clean() const { return replaced == 0 && invalid == 0; }
};

// UTF-8 to code page 932. A character code page 932 cannot hold becomes 〓 (81 AC) and is
// counted in replaced; a byte that is not valid UTF-8 becomes 〓 and is counted in invalid.
Conversion fromUtf8(std::string_view utf8);

// Code page 932 to UTF-8. A byte sequence that is not valid code page 932 becomes U+FFFD and
// is counted in invalid.
Conversion toUtf8(std::string_view cp932);

// The code page 932 bytes of a UTF-8 literal of the program's own (messages, captions, the
// characters rules test for). Throws std::logic_error when the literal cannot be held, which is
// a fault in the program, not in the data.
std::string cp932(std::string_view utf8Literal);

// The replacement character 〓 in code page 932.
inline constexpr std::string_view kReplacementChar = "\x81\xAC";

}  // namespace text
