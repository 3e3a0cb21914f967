// What a file on disk is at one moment: its identity (device and inode), size and time of its
// last change. Two equal states mean the name still leads to the same, unchanged file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <sys/types.h>

namespace store {

struct FileState {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileState&) const = default;
};

// None when nothing is there.
std::optional<FileState> stateOf(const std::filesystem::path& path);

}  // namespace store
