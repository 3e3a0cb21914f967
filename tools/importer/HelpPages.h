// The help pages that lie beside every delivered volume, where the program opens them by bare
// name (HTMLヘルプ, the reference search dialog's ヘルプ).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace importer {

struct HelpPage {
    std::string name;   // the bare file name
    std::string bytes;  // the page as the program's help folder holds it
};

// The pages, carried in the importer from the program's help folder at build time.
const std::vector<HelpPage>& helpPages();

// Writes every help page into folder as one replacement set, so each page is whole or as it was.
// Throws std::runtime_error (UTF-8, naming the file) when one cannot be written.
void writeHelpPages(const std::filesystem::path& folder);

}  // namespace importer
