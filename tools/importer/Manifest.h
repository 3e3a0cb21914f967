// The volume manifest: which pages make a volume, in order, with each law's category code,
// abbreviation and official name.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace importer {

// A page that cannot be read, a manifest that does not parse: the import stops.
class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ManifestEntry {
    std::filesystem::path page;
    std::string lawTitle;      // UTF-8, as in the manifest
    std::string promulgation;  // UTF-8; may be empty (the page's own is used)
    int code = 0;
    std::string abbreviation;  // UTF-8
};

// A tab-separated manifest with a header row naming the columns file, law_title,
// promulgation (optional), category_code and abbreviation (UTF-8; other columns are ignored;
// lines starting with # are comments). Page paths are relative to the manifest's folder.
std::vector<ManifestEntry> readManifest(const std::filesystem::path& manifest);

// The fields of one line of a tab-separated file (manifests, book sources), empty ones kept.
std::vector<std::string> splitTabs(const std::string& line);

}  // namespace importer
