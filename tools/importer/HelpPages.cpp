// Writing the help pages into a delivered volume folder.
#include "tools/importer/HelpPages.h"

#include <fstream>
#include <stdexcept>

#include "store/FileReplacement.h"

namespace importer {

void writeHelpPages(const std::filesystem::path& folder)
{
    store::FileReplacement replacement;
    for (const HelpPage& page : helpPages()) {
        const std::filesystem::path target = folder / page.name;
        std::ofstream out(replacement.stage(target, false), std::ios::binary | std::ios::trunc);
        out.write(page.bytes.data(), static_cast<std::streamsize>(page.bytes.size()));
        out.close();
        if (!out)
            throw std::runtime_error("ヘルプを書けません: " + target.string());
    }
    replacement.commit(0);
}

}  // namespace importer
