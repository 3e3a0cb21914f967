// The registration checks of the link editor.
#include "authoring/LinkRegistration.h"

#include <algorithm>
#include <array>

#include "authoring/AuthoringMessages.h"
#include "text/Cp932.h"

namespace authoring {

namespace {

using namespace authoringmessages;

// One of the characters of set (code page 932) is c.
bool isOneOf(std::string_view c, const std::string& set)
{
    for (std::string_view member : text::characters(set))
        if (member == c)
            return true;
    return false;
}

std::string_view firstCharacter(std::string_view s)
{
    return s.empty() ? std::string_view() : s.substr(0, text::charLength(s, 0));
}

std::string_view lastCharacter(std::string_view s)
{
    const auto all = text::characters(s);
    return all.empty() ? std::string_view() : all.back();
}

}  // namespace

bool IsCircularCode(std::string_view codeField)
{
    static constexpr std::array<std::string_view, 11> kCodes{"40",  "50",  "80",  "140", "190", "240",
                                                             "290", "340", "350", "740", "750"};
    return std::find(kCodes.begin(), kCodes.end(), codeField) != kCodes.end();
}

const char* CheckLinkRegistration(const LinkFields& f, const EditorRow& row, const std::function<bool()>& linkExists)
{
    static const std::string jou = text::cp932("条");
    static const std::string dai = text::cp932("第");
    static const std::string beppyou = text::cp932("別表");
    static const std::string firstCharacters = text::cp932("１２３４５６７８９附別経付");
    static const std::string lastCharacters = text::cp932("０１２３４５６７８９条）");
    constexpr std::size_t kMaxBytes = 100;

    if (text::contains(f.condition, jou) && !text::contains(f.condition, dai))
        return kNoDai;
    if (text::contains(f.condition, dai) && !text::contains(f.condition, beppyou) && !text::contains(f.condition, jou))
        return kNoJou;
    if (f.condition.size() > kMaxBytes)
        return kConditionTooLong;
    if (f.targetNumber.size() > kMaxBytes)
        return kTargetNumberTooLong;
    if (f.key != std::to_string(row.key))
        return kKeyMismatch;
    if (f.key.empty() || f.condition.empty() || f.targetNumber.empty() || f.code.empty())
        return kFieldsMissing;
    if (f.code == std::to_string(row.code) && f.targetNumber == row.number)
        return kSameAsArticle;
    if (linkExists && linkExists())
        return kAlreadyRegistered;
    if (!isOneOf(firstCharacter(f.targetNumber), firstCharacters))
        return kBadFirstCharacter;
    if (!isOneOf(lastCharacter(f.targetNumber), lastCharacters))
        return kBadLastCharacter;
    if (IsCircularCode(f.code) && text::contains(f.targetNumber, jou))
        return kCircularWithJou;
    if (IsCircularCode(f.code) && text::contains(f.targetNumber, dai))
        return kCircularWithDai;
    return nullptr;
}

}  // namespace authoring
