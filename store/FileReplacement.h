// Replacing a set of files so that a writer killed at any moment leaves every file either old
// or new, never half-written: each new file is written beside its old one under a temporary
// name, flushed to disk with its folder, and renamed over the old one only once every file of
// the set is complete. Before the first rename, a record of the set is written into each of its
// folders: a writer killed between two renames leaves that record, and the next writer (or the
// importer reading the authoring copy) finishes the renames from it. The table files of one set
// carry one delivery stamp, so that a reader that only reads (the browsing program) tells such
// an unfinished set by stamps that differ.
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

    // Finishes the sets in `folder` whose writer was killed between its renames: every file
    // still under its temporary name is renamed into place. A record not written whole into
    // every folder of its set (the writer was killed before its first rename) is dropped.
    // Returns how many sets were finished.
    static int finishInterrupted(const std::filesystem::path& folder);

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
