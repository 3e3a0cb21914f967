// The import of one law file as `importer import` does it, for the law page and law XML targets:
// the bytes are the manifest's only file, read, laid out, their citations resolved and encoded.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/fuzz/FuzzFiles.h"
#include "tools/importer/Manifest.h"
#include "tools/importer/VolumeImport.h"

namespace fuzz {

inline void importOne(const std::uint8_t* data, std::size_t size, const std::string& fileName)
{
    importer::ManifestEntry entry;
    entry.page = writeScratch(fileName, data, size);
    entry.lawTitle = "所得税法";
    entry.code = 10;
    entry.abbreviation = "所法";
    importer::VolumeImport imported;
    try {
        importer::ImportOptions options;
        options.asOf = 20261201;
        imported = importer::importVolume({entry}, {}, options);
    } catch (const importer::ImportError&) {
        return;
    }
    for (const auto& law : imported.laws)
        (void)importer::summaryLine(law);
    // The delivered outline file must load: each node at most one deeper than the one before,
    // the first at the top.
    int previous = -1;
    for (const auto& node : imported.volume.outline) {
        if (node.depth < 0 || node.depth > previous + 1) {
            std::fprintf(stderr, "import: outline node at depth %d after %d\n", node.depth, previous);
            std::abort();
        }
        previous = node.depth;
    }
    for (const auto& link : imported.volume.links)
        if (link.condition.empty()) {
            std::fprintf(stderr, "import: a link over no text\n");
            std::abort();
        }
}

}  // namespace fuzz
