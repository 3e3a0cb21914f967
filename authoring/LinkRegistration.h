// The checks a link must pass before the link editor stores it, in the order the editor runs
// them, and the codes of the circulars whose article numbers carry neither 条 nor 第.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace authoring {

// The registration fields as the editor holds them (code page 932): ＫＥＹ, 条件,
// リンク条文本文 and the code field リンク条文番号.
struct LinkFields {
    std::string key;
    std::string condition;
    std::string targetNumber;
    std::string code;
};

// The article row the editor is on: its ＫＥＹ, 条文連番 and 条文本文.
struct EditorRow {
    std::int64_t key = 0;
    std::int64_t code = 0;
    std::string number;
};

// The code field names a basic circular (40, 50, 80, 140, 190, 240, 290, 340, 350, 740, 750),
// whose numbers read like 「２－１－３」.
bool IsCircularCode(std::string_view codeField);

// The message (UTF-8) of the first check that fails, nullptr when the link may be stored.
// linkExists tells whether the link table already holds ＫＥＹ, リンク条文番号 and 条件; it is
// asked only when the checks before it have passed.
const char* CheckLinkRegistration(const LinkFields& fields, const EditorRow& row,
                                  const std::function<bool()>& linkExists);

}  // namespace authoring
