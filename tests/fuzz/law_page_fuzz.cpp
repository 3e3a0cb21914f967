// Fuzz target: any bytes as a law page, read and laid out as the importer does; it must neither
// crash nor read outside its input, whatever the markup.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tools/importer/ArticleLayout.h"
#include "tools/importer/PageParser.h"
#include "tools/importer/References.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    importer::LawPage page = importer::parseLawPage(std::string_view(reinterpret_cast<const char*>(data), size));
    auto visit = [](const importer::Provision& p) {
        importer::LaidOutProvision laid = importer::layOutProvision(p);
        for (const auto& line : laid.lines) {
            importer::U32 text = importer::plainText(line);
            importer::findReferences(text, false);
            importer::findScopePhrases(text, true);
        }
    };
    for (const auto& a : page.articles)
        visit(a);
    for (const auto& b : page.supplementary)
        for (const auto& p : b.provisions)
            visit(p);
    for (const auto& t : page.appendedTables)
        visit(t);
    return 0;
}
