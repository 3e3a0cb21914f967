// The user's data folder and its first filling from the installed sample volumes.
#include "store/UserDataFolder.h"

#include <cstdlib>
#include <string>

#include "store/Volumes.h"

namespace store {

namespace {

constexpr char kFolderName[] = "sorvane36lite";

std::filesystem::path environmentPath(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::filesystem::path(value) : std::filesystem::path();
}

}  // namespace

std::filesystem::path UserDataFolder()
{
    // A relative XDG_DATA_HOME is to be ignored, as the base-directory rules say.
    const std::filesystem::path xdg = environmentPath("XDG_DATA_HOME");
    if (xdg.is_absolute())
        return xdg / kFolderName;
    const std::filesystem::path home = environmentPath("HOME");
    if (home.is_absolute())
        return home / ".local" / "share" / kFolderName;
    return std::filesystem::path();
}

bool HoldsVolume(const std::filesystem::path& dir)
{
    std::error_code ec;
    for (char letter : kLawLetters)
        if (std::filesystem::is_regular_file(dir / (std::string(1, letter) + "1.db"), ec))
            return true;
    for (char letter : kBookLetters)
        if (std::filesystem::is_regular_file(dir / (std::string(1, letter) + "1.db"), ec))
            return true;
    return false;
}

std::vector<std::filesystem::path> FillFromSamples(const std::filesystem::path& dir, const std::filesystem::path& samples)
{
    std::filesystem::create_directories(dir);
    std::vector<std::filesystem::path> copied;
    std::error_code ec;
    if (HoldsVolume(dir) || !std::filesystem::is_directory(samples, ec))
        return copied;
    for (const auto& entry : std::filesystem::directory_iterator(samples)) {
        if (!entry.is_regular_file())
            continue;
        const std::filesystem::path target = dir / entry.path().filename();
        if (std::filesystem::exists(target))
            continue;
        std::filesystem::copy_file(entry.path(), target);
        copied.push_back(entry.path().filename());
    }
    return copied;
}

}  // namespace store
