// Fuzz target: what a user types into the key edits, the article-number edit and the page edit
// (whole characters, as the edits hold them), normalised as the searches and jumps do. A
// normalised text normalises to itself (the edits show it and a second search uses it), and
// every keyword search and book search built from keywords is a statement the table engine reads.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "search/ArticleNumber.h"
#include "search/PageNumber.h"
#include "search/SearchStatements.h"
#include "store/LocalSql.h"
#include "store/RangePresets.h"
#include "store/TableError.h"
#include "text/Cp932.h"

namespace {

void fail(const std::string& what)
{
    std::fprintf(stderr, "normalisers_fuzz: %s\n", what.c_str());
    std::abort();
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string s;
    for (const auto& line : lines)
        s += line + "\n";
    return s;
}

void mustRead(const std::vector<std::string>& lines)
{
    try {
        (void)store::translateLocalSql(joined(lines));
    } catch (const store::TableError& e) {
        fail(std::string("a search statement is refused: ") + e.what() + "\n" + joined(lines));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const int volume = in.ConsumeIntegralInRange(0, 5);
    const int book = in.ConsumeIntegralInRange(0, 2);
    const auto lawItems = store::LawRangeItems(volume);
    const auto bookItems = store::BookRangeItems(book);
    const std::string range = lawItems.empty() ? std::string() : lawItems[in.ConsumeIntegralInRange<std::size_t>(0, lawItems.size() - 1)];
    const std::string bookRange =
        bookItems.empty() ? std::string() : bookItems[in.ConsumeIntegralInRange<std::size_t>(0, bookItems.size() - 1)];
    const std::string key1 = search::NormaliseKeywordText(text::fromUtf8(in.ConsumeRandomLengthString(64)).text);
    const std::string key2 = search::NormaliseKeywordText(text::fromUtf8(in.ConsumeRandomLengthString(64)).text);
    const std::string typed = text::fromUtf8(in.ConsumeRemainingBytesAsString()).text;

    if (search::NormaliseKeywordText(key1) != key1)
        fail("a normalised keyword changes when normalised again");
    if (!key1.empty() || !key2.empty()) {
        mustRead(search::BuildKeywordStatement(volume, "E2.db", key1, key2, range).lines);
        mustRead(search::BuildBookStatement(book, "B1.db", key1, key2, bookRange));
    }

    const std::string bangou = search::NormaliseArticleNumber(typed, range);
    if (search::NormaliseArticleNumber(bangou, range) != bangou)
        fail("a normalised article number changes when normalised again");
    (void)search::StoredArticleNumberForm(bangou);
    (void)search::PageNumberOfText(typed);
    return 0;
}
