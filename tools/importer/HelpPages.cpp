// Writing the help pages into a delivered volume folder.
#include "tools/importer/HelpPages.h"

#include <fstream>
#include <stdexcept>
#include <system_error>

namespace importer {

void writeHelpPages(const std::filesystem::path& folder)
{
    for (const HelpPage& page : helpPages()) {
        const std::filesystem::path target = folder / page.name;
        std::filesystem::path scratch = target;
        scratch += ".part";
        {
            std::ofstream out(scratch, std::ios::binary | std::ios::trunc);
            out.write(page.bytes.data(), static_cast<std::streamsize>(page.bytes.size()));
            out.close();
            if (!out)
                throw std::runtime_error("ヘルプを書けません: " + target.string());
        }
        std::error_code error;
        std::filesystem::rename(scratch, target, error);
        if (error) {
            std::filesystem::remove(scratch, error);
            throw std::runtime_error("ヘルプを書けません: " + target.string());
        }
    }
}

}  // namespace importer
