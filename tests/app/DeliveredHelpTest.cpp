// The help pages in a folder of delivered volumes: the importer's delivery puts them beside the
// volumes, and the program started there opens pages that exist, as the build's help folder
// holds them.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ProgramFixture.h"
#include "tools/importer/Command.h"

using namespace apptest;

namespace {

namespace fs = std::filesystem;

std::string bytesOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

int runImporter(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = importer::runCommand(args, out, err);
    EXPECT_EQ(status, 0) << err.str();
    return status;
}

using DeliveredHelp = ProgramTest;

}  // namespace

TEST_F(DeliveredHelp, aFolderOfDeliveredVolumesHasTheHelpPagesThatTheWindowOpens)
{
    const fs::path samples = fs::path(SORVANE_SOURCE_DIR) / "samples";
    const fs::path help = fs::path(SORVANE_SOURCE_DIR) / "app" / "help";
    const fs::path authoring = dir.path() / "authoring";
    // An older page in the folder is replaced.
    dir.writeFile("SorvaneHelp.html", "old");
    ASSERT_EQ(runImporter({"build", (samples / "E.tsv").string(), authoring.string(), "E", "."}), 0);
    ASSERT_EQ(runImporter({"deliver", authoring.string(), "E", (dir.path() / "again").string()}), 0);
    for (const fs::path& folder : {dir.path(), dir.path() / "again"})
        for (const char* page : {"SorvaneHelp.html", "jyokan1.html"}) {
            EXPECT_EQ(bytesOf(folder / page), bytesOf(help / page)) << folder << " " << page;
            EXPECT_FALSE(fs::exists(folder / (std::string(page) + ".part"))) << folder;
        }
    // A book volume delivered into a folder brings them too.
    fs::remove(dir.path() / "SorvaneHelp.html");
    fs::remove(dir.path() / "jyokan1.html");
    ASSERT_EQ(runImporter({"book", (samples / "books" / "F.tsv").string(), "F", "."}), 0);
    for (const char* page : {"SorvaneHelp.html", "jyokan1.html"})
        EXPECT_EQ(bytesOf(dir.path() / page), bytesOf(help / page)) << page;

    start(store::VolumeFiles::presentIn("."));
    showWindow();
    window().HTML1->trigger();
    ASSERT_EQ(platform.shellTargets(), (std::vector<std::string>{"SorvaneHelp.html"}));
    EXPECT_TRUE(fs::exists(platform.shellTargets().front()));
}
