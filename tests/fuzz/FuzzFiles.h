// Scratch files for the fuzz targets whose code under test reads a file by its path, as the
// program does: one folder per process, in memory when the system offers /dev/shm.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace fuzz {

// Made on first use, removed when the run ends normally (a crash leaves it for a look).
inline const std::filesystem::path& scratchFolder()
{
    struct Folder {
        std::filesystem::path path;
        Folder()
        {
            std::filesystem::path base = std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                                  : std::filesystem::temp_directory_path();
            path = base / ("sorvane-fuzz-" + std::to_string(::getpid()));
            std::filesystem::create_directories(path);
        }
        ~Folder()
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder folder;
    return folder.path;
}

// Writes the bytes as the file name in the scratch folder and returns its path.
inline std::filesystem::path writeScratch(const std::string& name, const std::uint8_t* data, std::size_t size)
{
    std::filesystem::path file = scratchFolder() / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return file;
}

}  // namespace fuzz
