// The 51 index characters: law volume 0's text table carries a flag column "KEY" + n for
// each, 1 when the article text holds character n, so a keyword search can test the flag.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace store {

inline constexpr int kIndexCharacterCount = 51;

// The characters in index order, code page 932.
const std::array<std::string, kIndexCharacterCount>& IndexCharacters();

// "KEY0" … "KEY50".
std::string indexFlagFieldName(int n);

}  // namespace store
