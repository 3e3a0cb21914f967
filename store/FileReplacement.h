// Replacing a set of files so that a writer killed at any moment leaves every file either old
// or new, never half-written: each new file is written beside its old one under a temporary
// name, flushed to disk with its folder, and renamed over the old one only once every file of
// the set is complete. The table files of one set carry one delivery stamp, so that a reader
// can tell the (short) moment between the first and the last rename by stamps that differ.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace store {

class FileReplacement {
public:
    FileReplacement() = default;
    // Removes the temporary files of a replacement that was not committed (an error on the way).
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // The temporary name to write `target`'s new content under, in target's folder (which is
    // made). A table file gets the set's stamp at commit. Leftovers of a killed writer for the
    // same target are removed first.
    std::filesystem::path stage(const std::filesystem::path& target, bool tableFile = true);

    // Stamps every staged table file with `stamp`, flushes every file and folder, then renames
    // each into place and flushes the folders again. Throws TableError naming the file that
    // failed; the old files are then untouched (unless a rename itself failed midway).
    void commit(std::uint32_t stamp);

private:
    struct Staged {
        std::filesystem::path temporary;
        std::filesystem::path target;
        bool tableFile = true;
    };
    std::vector<Staged> m_staged;
    bool m_committed = false;
};

// Flushes a file's content, or a folder's entries, to the disk. Throws TableError naming it.
void flushToDisk(const std::filesystem::path& path);

}  // namespace store
