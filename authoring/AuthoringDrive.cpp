// The authoring directories and the drive mapping that finds them on this machine.
#include "authoring/AuthoringDrive.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace authoring {

namespace {

constexpr std::array<const char*, 6> kVolumeFolders{"YpHoujin", "YpSyohi", "YpGen", "YpToku", "YpZoku", "YpMin"};

std::optional<std::filesystem::path>& mappingOverride()
{
    static std::optional<std::filesystem::path> directory;
    return directory;
}

std::string volumeDirectory(int volume, const char* tail)
{
    if (volume < 0 || volume >= static_cast<int>(kVolumeFolders.size()))
        return {};
    return std::string("\\") + kVolumeFolders[static_cast<std::size_t>(volume)] + tail;
}

}  // namespace

std::string JyobunDirectory(int volume)
{
    return volumeDirectory(volume, "\\Jyobun\\Data");
}

std::string CdDirectory(int volume)
{
    return volumeDirectory(volume, "\\Cd12\\Data");
}

std::string MasterDirectory()
{
    return "\\YpSyohi\\Main\\Data";
}

std::filesystem::path WineDriveMappingDirectory()
{
#ifdef _WIN32
    return {};
#else
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return std::filesystem::path(prefix) / "dosdevices";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".wine" / "dosdevices";
    const passwd* user = getpwuid(getuid());
    if (!user || !user->pw_dir || !*user->pw_dir)
        return {};
    return std::filesystem::path(user->pw_dir) / ".wine" / "dosdevices";
#endif
}

std::filesystem::path DriveMappingDirectory()
{
    if (mappingOverride())
        return *mappingOverride();
    return WineDriveMappingDirectory();
}

void SetDriveMappingDirectory(const std::filesystem::path& directory)
{
    mappingOverride() = directory;
}

std::filesystem::path ResolveWindowsPath(const std::string& windowsPathUtf8)
{
#ifdef _WIN32
    return std::filesystem::u8path(windowsPathUtf8);
#else
    std::string path = windowsPathUtf8;
    std::replace(path.begin(), path.end(), '\\', '/');
    const bool hasDrive = path.size() >= 2 && path[1] == ':' &&
                          ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    if (!hasDrive)
        return std::filesystem::u8path(path);
    const std::filesystem::path mapping = DriveMappingDirectory();
    if (mapping.empty())
        return {};
    // Wine names its drive links in lower case.
    const char letter = static_cast<char>(path[0] >= 'A' && path[0] <= 'Z' ? path[0] - 'A' + 'a' : path[0]);
    std::string rest = path.substr(2);
    while (!rest.empty() && rest.front() == '/')
        rest.erase(rest.begin());
    std::filesystem::path drive = mapping / (std::string(1, letter) + ":");
    return rest.empty() ? drive : drive / std::filesystem::u8path(rest);
#endif
}

DriveMappingScope::DriveMappingScope(const std::filesystem::path& directory) : m_previous(mappingOverride())
{
    SetDriveMappingDirectory(directory);
}

DriveMappingScope::~DriveMappingScope()
{
    mappingOverride() = m_previous;
}

}  // namespace authoring
