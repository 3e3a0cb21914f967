// resolve: shows, for a reference phrase, the link proposal the link editor would make (the
// category code and the article-number text), so that content editors can check a phrase
// without opening the editor. Arguments and output are UTF-8.
#include <charconv>
#include <iostream>
#include <string>
#include <string_view>

#include "authoring/ReferenceResolver.h"
#include "text/Cp932.h"

namespace {

constexpr std::string_view kUsage =
    "usage: resolve PHRASE VOLUME CURRENT_CODE [LAST_LINK_CODE]\n"
    "  PHRASE          the reference phrase, e.g. 法人税法施行令第７２条\n"
    "  VOLUME          law volume index 0-5 (0 法人税, 1 消費税, 2 会社法民法, 3 所得税, 4 相続税,\n"
    "                  5 国通徴印紙)\n"
    "  CURRENT_CODE    category code of the article the phrase is in, e.g. 10\n"
    "  LAST_LINK_CODE  code of the link registered last (answers 同法, 同令 …); default 10\n"
    "prints the proposal for リンク条文番号 (category code) and リンク条文本文 (article number).\n";

// A whole argument as a decimal integer; nothing else may follow the digits.
bool parseInteger(std::string_view argument, int& value)
{
    if (argument.empty())
        return false;
    const char* end = argument.data() + argument.size();
    auto [stop, error] = std::from_chars(argument.data(), end, value);
    return error == std::errc() && stop == end;
}

int refuse(std::string_view reason)
{
    std::cerr << "resolve: " << reason << "\n" << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4 || argc > 5)
        return refuse("expected a phrase, a volume index and a current code");

    text::Conversion phrase = text::fromUtf8(argv[1]);
    if (phrase.text.empty())
        return refuse("the phrase is empty");
    if (!phrase.clean())
        return refuse("the phrase holds characters that code page 932 cannot represent");

    int volumeIndex = 0;
    if (!parseInteger(argv[2], volumeIndex) || volumeIndex < 0 || volumeIndex > 5)
        return refuse("the volume index must be a number from 0 to 5");

    int currentCode = 0;
    if (!parseInteger(argv[3], currentCode) || currentCode < 0)
        return refuse("the current code must be a category code such as 10 or 720");

    std::string lastLinkCode = authoring::kFirstLinkCode;
    if (argc == 5) {
        int parsed = 0;
        if (!parseInteger(argv[4], parsed) || parsed < 0)
            return refuse("the last link code must be a category code such as 10 or 720");
        lastLinkCode = std::to_string(parsed);
    }

    std::string code =
        authoring::ResolveCategoryCode(phrase.text, volumeIndex, currentCode, lastLinkCode);
    std::string article = authoring::ExtractArticleNumber(phrase.text, code);

    // The lines carry the names of the editor's fields the proposal goes into.
    std::cout << "リンク条文番号\t" << code << "\n"
              << "リンク条文本文\t" << text::toUtf8(article).text << "\n";
    return 0;
}
