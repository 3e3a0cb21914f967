// The importer reads law pages as UTF-32 so that its pattern rules (numerals, markers, references)
// compare whole characters; everything it hands on is code page 932 again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace importer {

using U32 = std::u32string;
using U32View = std::u32string_view;

U32 fromUtf8(std::string_view utf8);
std::string toUtf8(U32View text);

// Code page 932 of the text; characters it cannot hold become 〓 and are added to *replaced.
std::string toCp932(U32View text, std::size_t* replaced = nullptr);
U32 fromCp932(std::string_view cp932);

// Whether the text begins with / ends with / equals a given run at a position.
bool startsWithAt(U32View text, std::size_t pos, U32View run);

// The ASCII spaces at both ends removed (U+3000 is content and stays).
U32View trimAsciiSpaces(U32View text);

// Every U+3000 and ASCII space removed: how titles are compared whatever their spacing.
U32 withoutSpaces(U32View text);

inline constexpr char32_t kIdeographicSpace = U'\u3000';

}  // namespace importer
