// Fuzz target: any bytes as a volume manifest, read by the importer from its file; it reads or
// refuses with ImportError, and every row it reads has a path, a law title and an abbreviation
// (whether the path is a readable page is the page reader's to say).
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/FuzzFiles.h"
#include "tools/importer/Manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        for (const auto& entry : importer::readManifest(fuzz::writeScratch("manifest.tsv", data, size)))
            if (entry.page.empty() || entry.lawTitle.empty() || entry.abbreviation.empty()) {
                std::fprintf(stderr, "manifest_fuzz: a row without its file, title or abbreviation\n");
                std::abort();
            }
    } catch (const importer::ImportError&) {
    }
    return 0;
}
