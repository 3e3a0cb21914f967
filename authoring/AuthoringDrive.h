// Where the authoring tables live: a drive prefix ("C:" or "D:") and the per-volume directories
// beneath it, written as Windows paths, and the file-system folder such a path means here. On
// Windows the path is used as it stands; elsewhere a drive letter is looked up in the user's
// Wine drive mapping (the prefix's dosdevices/c: and d:, links to folders such as drive_c), so
// that data kept for a Windows installation is found where Wine users keep it.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace authoring {

// The drive prefixes the link editor tries, in order.
inline constexpr char kFirstDrive[] = "C:";
inline constexpr char kSecondDrive[] = "D:";

// The directories under the drive, with their leading backslash (UTF-8): the article and link
// tables of law volume v ("\YpSyohi\Jyobun\Data" for 1), its CD article table ("\YpSyohi\Cd12\Data"),
// and the category master, which lies under the 消費税 volume's directory whatever the volume.
// An index outside 0 to 5 gives an empty name.
std::string JyobunDirectory(int volume);
std::string CdDirectory(int volume);
std::string MasterDirectory();

// The table file names (UTF-8).
inline constexpr char kArticleTableFile[] = "条文本文.db";
inline constexpr char kLinkTableFile[] = "リンク条文.DB";
inline constexpr char kMasterTableFile[] = "マスタ条文.DB";

// The folder or file a Windows path ("C:\YpSyohi\Jyobun\Data") names on this machine: the
// drive letter through the drive mapping, backslashes as slashes. A path without a drive letter
// is taken as it stands (backslashes still become slashes). An empty drive mapping (no home
// folder) leaves a drive path unresolved, so that nothing is found there.
std::filesystem::path ResolveWindowsPath(const std::string& windowsPathUtf8);

// The drive mapping's folder: the dosdevices folder of the Wine prefix, found as Wine finds
// it: $WINEPREFIX when set, else $HOME/.wine, else .wine in the home folder of the user
// database. Tests point it elsewhere with SetDriveMappingDirectory.
std::filesystem::path DriveMappingDirectory();
void SetDriveMappingDirectory(const std::filesystem::path& directory);
// The folder the environment names, whatever a test has set.
std::filesystem::path WineDriveMappingDirectory();

// Points the drive mapping at a folder for as long as the scope lives.
class DriveMappingScope {
public:
    explicit DriveMappingScope(const std::filesystem::path& directory);
    ~DriveMappingScope();
    DriveMappingScope(const DriveMappingScope&) = delete;
    DriveMappingScope& operator=(const DriveMappingScope&) = delete;

private:
    std::optional<std::filesystem::path> m_previous;
};

}  // namespace authoring
