// Reads a saved law page (code page 932 HTML) with libxml2's HTML parser into the page model.
// The pages are tag soup: <P> never closed, stray </DIV>, </FDATE> and </FAD>, anchors nested
// in anchors, <TR> closing rows. The parser recovers from all of that and follows the content
// by its markers (anchors, bold numbers, DIV classes), so a malformed page yields what can be
// read plus a list of problems.
#pragma once

#include <string_view>

#include "tools/importer/LawPage.h"

namespace importer {

LawPage parseLawPage(std::string_view cp932Html);

}  // namespace importer
