// The index characters in their fixed order.
#include "store/IndexCharacters.h"

#include "text/Cp932.h"

namespace store {

const std::array<std::string, kIndexCharacterCount>& IndexCharacters()
{
    static const std::array<std::string, kIndexCharacterCount> characters = [] {
        const char* utf8[kIndexCharacterCount] = {
            "慶", "災", "寄", "役", "交", "換", "株", "与", "債", "繰", "続", "品", "配", "譲", "帳", "貸", "判",
            "証", "売", "営", "割", "約", "権", "保", "会", "社", "建", "使", "償", "費", "収", "引", "時", "利",
            "地", "設", "益", "損", "外", "準", "出", "日", "価", "産", "資", "得", "計", "年", "特", "事", "金"};
        std::array<std::string, kIndexCharacterCount> out;
        for (int i = 0; i < kIndexCharacterCount; ++i)
            out[static_cast<std::size_t>(i)] = text::cp932(utf8[i]);
        return out;
    }();
    return characters;
}

std::string indexFlagFieldName(int n)
{
    return "KEY" + std::to_string(n);
}

}  // namespace store
