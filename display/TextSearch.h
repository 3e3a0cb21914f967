// Finding text in code page 932 the way the view's find command does: whole characters only,
// letters compared without regard to case (ASCII, full-width, Greek, Cyrillic and the Roman
// numerals alike), not limited to whole words.
#pragma once

#include <string_view>

namespace display {

// The byte offset of the first match of needle that starts at or after from and ends at or
// before to (to < 0: the end of haystack), starting on a character boundary; -1 when there is
// none or needle is empty.
int findTextIgnoringCase(std::string_view haystack, std::string_view needle, int from, int to);

}  // namespace display
