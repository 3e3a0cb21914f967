// The folder the program runs in: started where no volume is, with XDG_DATA_HOME pointed at an
// empty folder, the installed samples (the build's) are copied into the data folder and the
// program shows 消費税 from there; a second start copies nothing; volumes in the working
// directory keep the program where it is.
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "ProgramFixture.h"
#include "app/VolumeFolder.h"
#include "display/RichTextView.h"
#include "store/UserDataFolder.h"

namespace fs = std::filesystem;

namespace {

const fs::path kBuildSamples = fs::path(SORVANE_BINARY_DIR) / "samples";

// XDG_DATA_HOME for the test's scope, then as it was.
class DataHomeScope {
public:
    explicit DataHomeScope(const fs::path& home)
    {
        if (const char* was = std::getenv("XDG_DATA_HOME"))
            m_was = was, m_had = true;
        setenv("XDG_DATA_HOME", home.c_str(), 1);
    }
    ~DataHomeScope()
    {
        if (m_had)
            setenv("XDG_DATA_HOME", m_was.c_str(), 1);
        else
            unsetenv("XDG_DATA_HOME");
    }

private:
    std::string m_was;
    bool m_had = false;
};

class VolumeFolder : public apptest::ProgramTest {
protected:
    void SetUp() override
    {
        if (!fs::exists(kBuildSamples / "E1.db"))
            GTEST_SKIP() << "the sample volumes are not built";
        fs::create_directory(dir.path() / "start");
        fs::create_directory(dir.path() / "xdg");
        fs::current_path(dir.path() / "start");
    }
    const fs::path dataFolder() const { return dir.path() / "xdg" / "sorvane36lite"; }
};

}  // namespace

TEST_F(VolumeFolder, firstStartInAnEmptyDataFolderCopiesTheSamplesAndShowsTheirTabs)
{
    DataHomeScope xdg(dir.path() / "xdg");
    EXPECT_EQ(store::UserDataFolder(), dataFolder());

    EXPECT_EQ(EnterVolumeFolder(kBuildSamples), dataFolder());
    EXPECT_EQ(fs::current_path(), dataFolder());
    for (const char* name : {"E1.db", "E6.dl_", "G1.db", "F1.db", "SorvaneHelp.html", "jyokan1.html"})
        EXPECT_TRUE(fs::is_regular_file(dataFolder() / name)) << name;
    EXPECT_TRUE(fs::is_empty(dir.path() / "start"));

    start(store::VolumeFiles::productDefault());
    showWindow();
    EXPECT_EQ(window().ActivePage(), window().SyohiTab);
    EXPECT_TRUE(window().SyohiTab->isVisible());
    EXPECT_FALSE(registry().law[1].RichEdit->plainText().empty());
    closeWindow();
    program.reset();
    // The side files are written where the volumes are.
    EXPECT_TRUE(fs::exists(dataFolder() / "C3.dl_"));

    // A second start copies nothing again: what the user changed or removed stays so.
    fs::remove(dataFolder() / "jyokan1.html");
    const auto before = fs::last_write_time(dataFolder() / "E1.db");
    fs::current_path(dir.path() / "start");
    EXPECT_EQ(EnterVolumeFolder(kBuildSamples), dataFolder());
    EXPECT_FALSE(fs::exists(dataFolder() / "jyokan1.html"));
    EXPECT_EQ(fs::last_write_time(dataFolder() / "E1.db"), before);
}

TEST_F(VolumeFolder, volumesInTheWorkingDirectoryKeepTheProgramThere)
{
    DataHomeScope xdg(dir.path() / "xdg");
    fs::copy_file(kBuildSamples / "G1.db", dir.path() / "start" / "G1.db");
    EXPECT_EQ(EnterVolumeFolder(kBuildSamples), dir.path() / "start");
    EXPECT_EQ(fs::current_path(), dir.path() / "start");
    EXPECT_FALSE(fs::exists(dataFolder()));
}

TEST_F(VolumeFolder, aDataFolderHoldingTheUsersOwnVolumeGetsNoSamples)
{
    DataHomeScope xdg(dir.path() / "xdg");
    fs::create_directories(dataFolder());
    fs::copy_file(kBuildSamples / "E1.db", dataFolder() / "E1.db");
    EXPECT_EQ(EnterVolumeFolder(kBuildSamples), dataFolder());
    EXPECT_FALSE(fs::exists(dataFolder() / "G1.db"));
}

TEST_F(VolumeFolder, theDataFolderFollowsXdgDataHomeElseHome)
{
    DataHomeScope relative("relative/path");
    const char* home = std::getenv("HOME");
    ASSERT_NE(home, nullptr);
    // A relative XDG_DATA_HOME is ignored.
    EXPECT_EQ(store::UserDataFolder(), fs::path(home) / ".local" / "share" / "sorvane36lite");
    EXPECT_EQ(InstalledSamplesFolder("/opt/x/bin"), fs::path("/opt/x/share/sorvane36lite/samples"));
}
