// Fuzz target: a reference phrase as the link editor hands it to the resolver (text the user
// selected, so whole characters of code page 932), with any volume, current and last codes; the
// proposals are a category code in decimal and an article-number text.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "authoring/ReferenceResolver.h"
#include "text/Cp932.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const int volume = in.ConsumeIntegralInRange(0, 5);
    const int currentCode = in.ConsumeIntegralInRange(0, 99999);
    const std::string lastLinkCode =
        in.ConsumeBool() ? std::string(authoring::kFirstLinkCode) : std::to_string(in.ConsumeIntegralInRange(0, 99999));
    const std::string phrase = text::fromUtf8(in.ConsumeRemainingBytesAsString()).text;

    const std::string code = authoring::ResolveCategoryCode(phrase, volume, currentCode, lastLinkCode);
    if (code.empty() || code.find_first_not_of("0123456789") != std::string::npos) {
        std::fprintf(stderr, "reference_resolver_fuzz: the proposed code is no number: %s\n", code.c_str());
        std::abort();
    }
    const std::string article = authoring::ExtractArticleNumber(phrase, code);
    if (!text::toUtf8(article).clean()) {
        std::fprintf(stderr, "reference_resolver_fuzz: the proposed article number is not whole characters\n");
        std::abort();
    }
    return 0;
}
