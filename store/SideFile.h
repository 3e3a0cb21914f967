// Reading a small file the program keeps beside the volumes (the window state, the saved
// position, an outline): a name that leads to a folder, a FIFO or a device, a file larger than
// the reader needs, or a read error never stops or slows the program; the caller keeps its
// defaults and may show the problem, which names the file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace store {

struct SideFileRead {
    std::optional<std::string> bytes;  // none when there is no file or it could not be read
    std::string problem;               // why a file that is there was not read (Japanese); else empty
};

// Reads at most limit bytes. A longer file gives its first limit bytes when wholeNeeded is false
// (a reader that needs the first line only), else no bytes and a problem.
SideFileRead ReadSideFile(const std::filesystem::path& file, std::size_t limit, bool wholeNeeded);

// Replaces the file's contents with bytes. A name that leads to anything but a regular file is
// left alone (a FIFO without a reader would block the writer for ever). Returns the problem,
// naming the file; empty when written.
std::string WriteSideFile(const std::filesystem::path& file, const std::string& bytes);

// The first line of bytes, without its line end (CR LF, LF or CR).
std::string firstLineOf(const std::string& bytes);

}  // namespace store
