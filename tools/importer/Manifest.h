// The volume manifest: which pages make a volume, in order, with each law's category code,
// abbreviation and official name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
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
    std::optional<std::uintmax_t> bytes;  // the file's size, when the manifest gives it
    std::string sha256;                   // its SHA-256, 64 lower-case hex digits, or empty
};

// A tab-separated manifest with a header row naming the columns file, law_title,
// promulgation (optional), category_code and abbreviation, and optionally bytes and sha256,
// which the file read must match (UTF-8; other columns are ignored; lines starting with # are
// comments). Page paths are relative to the manifest's folder.
std::vector<ManifestEntry> readManifest(const std::filesystem::path& manifest);

// The file's bytes, checked against the size and SHA-256 its manifest row gives. Throws
// ImportError naming the file when it cannot be read or does not match.
std::string readListedFile(const ManifestEntry& entry);

// The fields of one line of a tab-separated file (manifests, book sources), empty ones kept.
std::vector<std::string> splitTabs(const std::string& line);

}  // namespace importer
