// Reads a saved law page (code page 932 HTML) with libxml2's HTML parser into the page model.
// The pages are tag soup: <P> never closed, stray </DIV>, </FDATE> and </FAD>, anchors nested
// in anchors, <TR> closing rows. The parser recovers from all of that and follows the content
// by its markers (anchors, bold numbers, DIV classes), so a malformed page yields what can be
// read plus a list of problems.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tools/importer/LawPage.h"

namespace importer {

LawPage parseLawPage(std::string_view cp932Html);

// Why the bytes are not a whole law page (UTF-8), nothing when they are. A page is whole when
// it is not empty, holds no NUL byte (a binary file), decodes completely as code page 932 (a
// page saved as UTF-8 does not), and ends with its closing </HTML> (a page cut short does not:
// every page the service served closes with </BODY> and </HTML>, whatever its tag soup before).
std::optional<std::string> pageDefect(std::string_view bytes);

// Why a parsed page is no law page (UTF-8): it has no article, 附則 or 別表 at all.
std::optional<std::string> lawPageDefect(const LawPage& page);

}  // namespace importer
