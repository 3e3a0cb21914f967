// The reference-name resolver: proposes where a reference phrase of an article points, as the
// category code of the law text and the article-number text of the target. The link editor
// shows both as editable proposals; nothing here reads or writes a table.
#pragma once

#include <string>
#include <string_view>

namespace authoring {

// The code of the link registered last before any registration. The link editor keeps the code
// it registered last (the registry's LastLinkCode); it answers phrases such as 「同法第５条」
// and the editor's 同 button.
inline constexpr const char* kFirstLinkCode = "10";

// The category code (`KubunNo`, decimal text without leading zeros) of the law text that a
// phrase refers to. phrase is code page 932; volumeIndex is the law volume (0 to 5) of the tab
// the editor was opened from; currentCode is the category code of the article being edited.
// Law names are tried first, then the relative references that hold in every volume, then
// the volume's own relative references; when nothing applies the answer is currentCode.
// lastLinkCode is the code of the link registered last.
std::string ResolveCategoryCode(std::string_view phrase, int volumeIndex, int currentCode,
                                std::string_view lastLinkCode);

// The article-number text of the target (「３９条の１３」, 「２－１－３」, 「別表第１」), code
// page 932. codeField is the text the editor's code field holds, which is the answer of
// ResolveCategoryCode for the same phrase. Empty when the phrase holds no digit to start from.
std::string ExtractArticleNumber(std::string_view phrase, std::string_view codeField);

}  // namespace authoring
