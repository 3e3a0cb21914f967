// Where the link editor looks for the authoring tables: the per-volume directories and the
// Windows paths read through the Wine drive mapping.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "authoring/AuthoringDrive.h"

namespace {

namespace fs = std::filesystem;

TEST(AuthoringDrive, everyLawVolumeHasItsTwoDirectoriesAndTheMasterIsShared)
{
    const char* const jyobun[] = {"\\YpHoujin\\Jyobun\\Data", "\\YpSyohi\\Jyobun\\Data", "\\YpGen\\Jyobun\\Data",
                                  "\\YpToku\\Jyobun\\Data",   "\\YpZoku\\Jyobun\\Data",  "\\YpMin\\Jyobun\\Data"};
    const char* const cd[] = {"\\YpHoujin\\Cd12\\Data", "\\YpSyohi\\Cd12\\Data", "\\YpGen\\Cd12\\Data",
                              "\\YpToku\\Cd12\\Data",   "\\YpZoku\\Cd12\\Data",  "\\YpMin\\Cd12\\Data"};
    for (int v = 0; v < 6; ++v) {
        EXPECT_EQ(authoring::JyobunDirectory(v), jyobun[v]);
        EXPECT_EQ(authoring::CdDirectory(v), cd[v]);
    }
    for (int v : {-1, 6, 9}) {
        EXPECT_EQ(authoring::JyobunDirectory(v), "") << v;
        EXPECT_EQ(authoring::CdDirectory(v), "") << v;
    }
    EXPECT_EQ(authoring::MasterDirectory(), "\\YpSyohi\\Main\\Data");
}

TEST(AuthoringDrive, aDriveLetterIsReadThroughTheDriveMapping)
{
    authoring::DriveMappingScope mapping("/home/editor/.wine/dosdevices");
    const std::vector<std::pair<std::string, fs::path>> cases{
        {"C:\\YpSyohi\\Jyobun\\Data", "/home/editor/.wine/dosdevices/c:/YpSyohi/Jyobun/Data"},
        {"D:\\YpMin\\Cd12\\Data\\条文本文.db", fs::path("/home/editor/.wine/dosdevices/d:/YpMin/Cd12/Data") / fs::u8path("条文本文.db")},
        {"c:\\YpGen", "/home/editor/.wine/dosdevices/c:/YpGen"},
        {"C:", "/home/editor/.wine/dosdevices/c:"},
        {"Data\\x.db", "Data/x.db"},
    };
    for (const auto& [windows, expected] : cases)
        EXPECT_EQ(authoring::ResolveWindowsPath(windows), expected) << windows;
}

// Sets (or, for nullptr, unsets) an environment variable for as long as it lives.
class EnvironmentScope {
public:
    EnvironmentScope(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_previous = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvironmentScope()
    {
        if (m_previous)
            setenv(m_name, m_previous->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_previous;
};

TEST(AuthoringDrive, theScopePutsTheEarlierMappingBack)
{
    const fs::path before = authoring::DriveMappingDirectory();
    EXPECT_EQ(before.filename(), "dosdevices");
    {
        authoring::DriveMappingScope mapping("/elsewhere");
        EXPECT_EQ(authoring::DriveMappingDirectory(), fs::path("/elsewhere"));
    }
    EXPECT_EQ(authoring::DriveMappingDirectory(), before);
    // with the scope gone the environment decides again
    EnvironmentScope prefix("WINEPREFIX", "/srv/prefix");
    EXPECT_EQ(authoring::DriveMappingDirectory(), fs::path("/srv/prefix/dosdevices"));
}

TEST(AuthoringDrive, theWinePrefixComesFirstThenHomeThenTheUserDatabase)
{
    {
        EnvironmentScope prefix("WINEPREFIX", "/data/wine-tax");
        EnvironmentScope home("HOME", "/home/editor");
        EXPECT_EQ(authoring::WineDriveMappingDirectory(), fs::path("/data/wine-tax/dosdevices"));
        authoring::DriveMappingScope none("/elsewhere");
        EXPECT_EQ(authoring::ResolveWindowsPath("C:\\YpSyohi"), fs::path("/elsewhere/c:/YpSyohi"));
    }
    {
        EnvironmentScope prefix("WINEPREFIX", "");
        EnvironmentScope home("HOME", "/home/editor");
        EXPECT_EQ(authoring::WineDriveMappingDirectory(), fs::path("/home/editor/.wine/dosdevices"));
        EXPECT_EQ(authoring::ResolveWindowsPath("C:\\YpSyohi"), fs::path("/home/editor/.wine/dosdevices/c:/YpSyohi"));
    }
    {
        EnvironmentScope prefix("WINEPREFIX", nullptr);
        EnvironmentScope home("HOME", nullptr);
        const passwd* user = getpwuid(getuid());
        ASSERT_NE(user, nullptr);
        EXPECT_EQ(authoring::WineDriveMappingDirectory(), fs::path(user->pw_dir) / ".wine" / "dosdevices");
    }
}

}  // namespace
