// A temporary working directory for a test: created empty, made the process's working
// directory (tables are opened by bare file name), removed afterwards.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

namespace testsupport {

// The whole content of a file, or nothing when it cannot be read.
inline std::string fileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class TempWorkingDir {
public:
    TempWorkingDir()
    {
        std::random_device rd;
        m_previous = std::filesystem::current_path();
        m_path = std::filesystem::temp_directory_path() / ("sorvane-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(m_path);
        std::filesystem::current_path(m_path);
    }
    ~TempWorkingDir()
    {
        std::error_code ec;
        std::filesystem::current_path(m_previous, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempWorkingDir(const TempWorkingDir&) = delete;
    TempWorkingDir& operator=(const TempWorkingDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }

    void writeFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(m_path / std::filesystem::u8path(name), std::ios::binary | std::ios::trunc);
        out << bytes;
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};

}  // namespace testsupport
